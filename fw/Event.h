// CEvent: a manual-reset event that one thread sets and another waits for.
#ifndef VFLASH_FW_EVENT_H
#define VFLASH_FW_EVENT_H

#include "platform/win.h"

class CEvent {
public:
    CEvent() : m_hObject(win::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CEvent()
    {
        if (m_hObject) win::CloseHandle(m_hObject);
    }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    BOOL SetEvent() { return win::SetEvent(m_hObject); }
    // TRUE once the event is set, FALSE when `dwTimeout` milliseconds passed first.
    BOOL Lock(DWORD dwTimeout = INFINITE)
    {
        return win::WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_hObject;
};

#endif
