// Message maps: per-class tables that bind window messages and commands to handlers, in
// the framework's familiar macro form. A handler entry holds a small type-safe thunk (a
// captureless lambda written by the macro inside the class's own scope), so no member-
// function pointers are cast and the compiler checks every handler's signature.
#ifndef VFLASH_FW_MESSAGEMAP_H
#define VFLASH_FW_MESSAGEMAP_H

#include "platform/win32.h"

class CCmdTarget;

typedef LRESULT (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // the window message; WM_COMMAND for command entries
    UINT nCode;     // command entries: the notification code (0 for menus and buttons)
    UINT nID;       // command entries: the command id
    AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Anything that can receive messages or commands through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap();

    // Finds the handler for the message in this class's map and its bases' maps and runs
    // it. FALSE when no entry matches.
    BOOL DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                    \
public:                                                          \
    static const AFX_MSGMAP* GetThisMessageMap();                \
    const AFX_MSGMAP* GetMessageMap() const override;            \
                                                                 \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                   \
        { 0, 0, 0, nullptr }                                                \
        };                                                                  \
        static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                        \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)

#define ON_COMMAND(id, memberFxn)                                                  \
    { WM_COMMAND, 0, static_cast<UINT>(id),                                        \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; } },

#define ON_MESSAGE(message, memberFxn)                                             \
    { static_cast<UINT>(message), 0, 0,                                            \
      [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { return AFX_THIS(p)->memberFxn(w, l); } },

#define ON_WM_SYSCOMMAND()                                                         \
    { WM_SYSCOMMAND, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {      \
          AFX_THIS(p)->OnSysCommand(static_cast<UINT>(w), l); return 0; } },

#define ON_WM_PAINT()                                                              \
    { WM_PAINT, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {               \
          AFX_THIS(p)->OnPaint(); return 0; } },

#define ON_WM_QUERYDRAGICON()                                                      \
    { WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {       \
          return reinterpret_cast<LRESULT>(AFX_THIS(p)->OnQueryDragIcon()); } },

#endif
