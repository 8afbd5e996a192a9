// The host's headless window system: just enough of the Windows window manager and dialog
// manager for the program's dialogs to behave as they do on Windows, with nothing drawn.
//
// What it keeps faithful, because the program relies on it:
//   - each window belongs to the thread that created it, and only that thread runs its
//     procedure; SendMessageA from another thread waits while the owning thread handles
//     the message in its message loop; a message sent to a destroyed window fails at once;
//   - DialogBoxParamA runs a modal loop on the calling thread, disables the owner for its
//     duration, and ends on EndDialog; nested loops (a dialog opened from a handler) keep
//     dispatching every message of the thread;
//   - the default dialog processing: WM_CLOSE posts IDCANCEL, SC_CLOSE sends WM_CLOSE,
//     SC_MINIMIZE minimises, Esc and Enter become IDCANCEL and IDOK;
//   - message boxes are windows of the calling thread, owned by and disabling their owner.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/host/HostUi.h"
#include "platform/sim/Trace.h"
#include "platform/win.h"

namespace {

enum class Kind { Dialog, MessageBox, Static, Progress, Button, Other };

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
};

struct Window {
    HWND hWnd = nullptr;
    Kind kind = Kind::Other;
    std::string className;
    std::string text;
    DWORD style = 0;
    int id = 0;
    HWND parent = nullptr;  // controls: their dialog
    HWND owner = nullptr;   // top-level windows: their owner
    DWORD thread = 0;
    bool alive = true;
    bool enabled = true;
    bool visible = false;
    bool iconic = false;
    // Dialogs.
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool ended = false;
    INT_PTR endResult = 0;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    RECT client{0, 0, 0, 0};
    RECT rect{0, 0, 0, 0};  // on the screen, frame included
    HMENU sysMenu = nullptr;
    std::vector<MenuItem> sysMenuItems;
    // Progress bars.
    int rangeLow = 0, rangeHigh = 100, pos = 0;
    std::vector<int> history;
    // Message boxes.
    UINT mbType = 0;
    int mbAnswer = 0;
};

struct Sent {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool done = false;
    LRESULT result = 0;
};

struct Posted {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct Queue {
    std::deque<Sent*> sent;
    std::deque<Posted> posted;
};

std::mutex g_mu;
std::condition_variable g_cv;
std::map<HWND, std::unique_ptr<Window>> g_windows;
std::map<DWORD, Queue> g_queues;
std::uintptr_t g_nextHwnd = 0x20000;
const std::map<int, int> kDefaultMetrics = {
    {SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768}, {SM_CXICON, 32}, {SM_CYICON, 32}};
std::map<int, int> g_metrics = kDefaultMetrics;
std::function<int(const host::MessageBoxInfo&)> g_responder;
std::function<void(HWND)> g_idleHook;
host::Observer g_observer;
std::vector<host::MessageBoxInfo> g_boxes;
long g_activity = 0;  // bumped on every message handled, so the idle hook runs once per lull

DWORD Me() { return win::GetCurrentThreadId(); }

Window* Find(HWND h)  // g_mu held
{
    auto it = g_windows.find(h);
    return it == g_windows.end() ? nullptr : it->second.get();
}

Window* FindAlive(HWND h)  // g_mu held
{
    Window* w = Find(h);
    return w && w->alive ? w : nullptr;
}

Window* NewWindow(Kind kind, const std::string& cls)  // g_mu held
{
    auto w = std::make_unique<Window>();
    w->hWnd = reinterpret_cast<HWND>(g_nextHwnd += 0x10);
    w->kind = kind;
    w->className = cls;
    w->thread = Me();
    Window* raw = w.get();
    g_windows[raw->hWnd] = std::move(w);
    return raw;
}

void Trace(const char* fn, HWND h, std::uint32_t code, std::uint64_t a1, std::uint64_t a2,
           std::int64_t result, const std::string& text = std::string())
{
    sim::Call c;
    c.fn = fn;
    c.handle = reinterpret_cast<std::uintptr_t>(h);
    c.code = code;
    c.arg1 = a1;
    c.arg2 = a2;
    c.result = result;
    c.text = text;
    sim::Record(c);
}

LRESULT Dispatch(HWND h, UINT m, WPARAM w, LPARAM l);

// ---- Window procedures of the predefined classes -----------------------------------------

LRESULT TextMessages(Window* win, UINT m, WPARAM w, LPARAM l, bool* handled)  // g_mu held
{
    *handled = true;
    switch (m) {
    case WM_SETTEXT:
        win->text = l ? reinterpret_cast<const char*>(l) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(win->text.size());
    case WM_GETTEXT: {
        if (w == 0) return 0;
        std::size_t n = std::min<std::size_t>(w - 1, win->text.size());
        std::memcpy(reinterpret_cast<char*>(l), win->text.data(), n);
        reinterpret_cast<char*>(l)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    default:
        *handled = false;
        return 0;
    }
}

LRESULT ControlProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    int newPos = -1;
    LRESULT result = 0;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        Window* win = FindAlive(h);
        if (!win) return 0;
        bool handled;
        result = TextMessages(win, m, w, l, &handled);
        if (handled) return result;
        if (win->kind != Kind::Progress) return 0;
        switch (m) {
        case PBM_SETRANGE:
            result = MAKELPARAM(win->rangeLow, win->rangeHigh);
            win->rangeLow = static_cast<short>(LOWORD(l));
            win->rangeHigh = static_cast<short>(HIWORD(l));
            return result;
        case PBM_SETPOS: {
            result = win->pos;
            int p = static_cast<int>(w);
            win->pos = std::max(win->rangeLow, std::min(win->rangeHigh, p));
            win->history.push_back(win->pos);
            if (win->pos != result) newPos = win->pos;
            break;
        }
        case PBM_GETPOS:
            return win->pos;
        default:
            return 0;
        }
    }
    if (newPos >= 0) {
        std::function<void(HWND, int)> notify;
        {
            std::lock_guard<std::mutex> lock(g_mu);
            notify = g_observer.progressChanged;
        }
        if (notify) notify(h, newPos);
    }
    return result;
}

// What the dialog manager does with a message that the dialog procedure left alone.
LRESULT DefDlgProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    std::unique_lock<std::mutex> lock(g_mu);
    Window* win = FindAlive(h);
    if (!win) return 0;
    bool handled;
    LRESULT result = TextMessages(win, m, w, l, &handled);
    if (handled) return result;
    switch (m) {
    case WM_CLOSE:
        g_queues[win->thread].posted.push_back({h, WM_COMMAND, IDCANCEL, 0});
        g_cv.notify_all();
        return 0;
    case WM_SETICON: {
        HICON old = w == ICON_BIG ? win->bigIcon : win->smallIcon;
        (w == ICON_BIG ? win->bigIcon : win->smallIcon) = reinterpret_cast<HICON>(l);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_SYSCOMMAND:
        lock.unlock();
        Trace("DefDlgProc", h, m, w, static_cast<std::uint64_t>(l), 0);
        switch (w & 0xFFF0) {
        case SC_CLOSE:
            return Dispatch(h, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
            lock.lock();
            win->iconic = true;
            return 0;
        case SC_RESTORE:
            lock.lock();
            win->iconic = false;
            return 0;
        default:
            return 0;
        }
    case WM_PAINT:
        lock.unlock();
        Trace("DefDlgProc", h, m, w, static_cast<std::uint64_t>(l), 0);
        return 0;
    default:
        return 0;
    }
}

LRESULT DialogProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    DLGPROC proc;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        Window* win = FindAlive(h);
        if (!win) return 0;
        proc = win->dlgProc;
        win->msgResult = 0;
    }
    INT_PTR handled = proc ? proc(h, m, w, l) : FALSE;
    if (!handled) return DefDlgProc(h, m, w, l);
    if (m == WM_QUERYDRAGICON || m == WM_INITDIALOG) return handled;
    std::lock_guard<std::mutex> lock(g_mu);
    Window* win = Find(h);
    return win ? win->msgResult : 0;
}

LRESULT Dispatch(HWND h, UINT m, WPARAM w, LPARAM l)
{
    Kind kind;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        Window* win = FindAlive(h);
        if (!win) return 0;
        kind = win->kind;
        ++g_activity;
    }
    switch (kind) {
    case Kind::Dialog:
        return DialogProc(h, m, w, l);
    case Kind::MessageBox:
        return 0;  // handled by the box's own loop
    default:
        return ControlProc(h, m, w, l);
    }
}

// The dialog that keyboard input to `h` goes to: `h` itself or its parent.
HWND DialogOf(HWND h)  // g_mu held
{
    Window* win = Find(h);
    if (win && win->parent) return win->parent;
    return h;
}

// Handles one posted message as the dialog manager's message loop would.
void HandlePosted(const Posted& p)
{
    if (p.message == WM_KEYDOWN) {
        HWND dlg;
        {
            std::lock_guard<std::mutex> lock(g_mu);
            dlg = DialogOf(p.hWnd);
            Window* win = FindAlive(dlg);
            if (!win || !win->enabled || win->kind != Kind::Dialog) return;  // no input to a disabled window
        }
        if (p.wParam == VK_ESCAPE) Dispatch(dlg, WM_COMMAND, IDCANCEL, 0);
        else if (p.wParam == VK_RETURN) Dispatch(dlg, WM_COMMAND, IDOK, 0);
        return;
    }
    Dispatch(p.hWnd, p.message, p.wParam, p.lParam);
}

// Handles the oldest message another thread sent to this one and wakes the sender. False
// when none waits. Called with g_mu held; releases it while the message is handled.
bool ServeOneSent(std::unique_lock<std::mutex>& lock, Queue& q)
{
    if (q.sent.empty()) return false;
    Sent* s = q.sent.front();
    q.sent.pop_front();
    lock.unlock();
    LRESULT r = Dispatch(s->hWnd, s->message, s->wParam, s->lParam);
    lock.lock();
    s->result = r;
    s->done = true;
    g_cv.notify_all();
    return true;
}

// Runs this thread's messages until `done()` holds (checked with g_mu held). Calls the
// idle hook with `idleDlg` when the queue runs dry.
template <class Done>
void MessageLoop(std::unique_lock<std::mutex>& lock, Done done, HWND idleDlg)
{
    long idleSeen = -1;
    while (!done()) {
        Queue& q = g_queues[Me()];
        if (ServeOneSent(lock, q)) continue;
        if (!q.posted.empty()) {
            Posted p = q.posted.front();
            q.posted.pop_front();
            lock.unlock();
            HandlePosted(p);
            lock.lock();
            continue;
        }
        if (idleDlg && g_idleHook && idleSeen != g_activity) {
            idleSeen = g_activity;
            auto hook = g_idleHook;
            lock.unlock();
            hook(idleDlg);
            lock.lock();
            continue;
        }
        g_cv.wait(lock);
    }
}

// Answers every message still waiting to be sent to a window that is now gone.
void FailSentToDeadWindows(Queue& q)  // g_mu held
{
    for (auto it = q.sent.begin(); it != q.sent.end();) {
        if (!FindAlive((*it)->hWnd)) {
            (*it)->done = true;
            it = q.sent.erase(it);
        } else {
            ++it;
        }
    }
    g_cv.notify_all();
}

void Destroy(Window* win)  // g_mu held
{
    win->alive = false;
    for (auto& entry : g_windows)
        if (entry.second->parent == win->hWnd) entry.second->alive = false;
    for (auto& entry : g_queues) FailSentToDeadWindows(entry.second);
}

bool CreateFromTemplate(Window* dlg, const host::DialogTemplate& t)  // g_mu held
{
    dlg->text = t.caption;
    dlg->style = t.style;
    dlg->client = RECT{0, 0, t.cx * 3 / 2, t.cy * 13 / 8};  // dialog units at 8-point
    dlg->rect = RECT{t.x, t.y, t.x + dlg->client.right + 6, t.y + dlg->client.bottom + 25};
    for (const host::DialogItemTemplate& item : t.items) {
        Kind kind = item.className == "static"              ? Kind::Static
                    : item.className == "msctls_progress32" ? Kind::Progress
                    : item.className == "button"            ? Kind::Button
                                                            : Kind::Other;
        Window* c = NewWindow(kind, item.className);
        c->parent = dlg->hWnd;
        c->id = item.id;
        c->style = item.style;
        c->text = item.text;
        c->visible = (item.style & WS_VISIBLE) != 0;
    }
    return true;
}

}  // namespace

// ---- The win:: calls ----------------------------------------------------------------------

namespace win {

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam)
{
    int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(lpTemplateName));
    host::DialogTemplate t;
    if (!host::LoadDialogTemplate(id, &t)) {
        Trace("DialogBoxParamA", hWndParent, static_cast<std::uint32_t>(id), 0, 0, -1);
        return -1;
    }
    HWND h;
    bool disabledOwner = false;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        Window* dlg = NewWindow(Kind::Dialog, "#32770");
        dlg->owner = hWndParent;
        dlg->dlgProc = lpDialogFunc;
        CreateFromTemplate(dlg, t);
        h = dlg->hWnd;
        if (Window* owner = FindAlive(hWndParent); owner && owner->enabled) {
            owner->enabled = false;
            disabledOwner = true;
        }
    }
    Trace("DialogBoxParamA", hWndParent, static_cast<std::uint32_t>(id), 0, 0,
          reinterpret_cast<std::intptr_t>(h));

    Dispatch(h, WM_INITDIALOG, 0, dwInitParam);
    {
        std::lock_guard<std::mutex> lock(g_mu);
        if (Window* dlg = FindAlive(h)) dlg->visible = true;
    }
    std::function<void(HWND)> shown, ended;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        shown = g_observer.dialogShown;
        ended = g_observer.dialogEnded;
    }
    if (shown) shown(h);

    INT_PTR result;
    {
        std::unique_lock<std::mutex> lock(g_mu);
        MessageLoop(lock, [h] { Window* w = Find(h); return !w || w->ended; }, h);
        Window* dlg = Find(h);
        result = dlg->endResult;
        Destroy(dlg);
        if (disabledOwner)
            if (Window* owner = FindAlive(hWndParent)) owner->enabled = true;
    }
    if (ended) ended(h);
    return result;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    Trace("EndDialog", hDlg, 0, static_cast<std::uint64_t>(nResult), 0, 0);
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hDlg);
    if (!w || w->kind != Kind::Dialog) return FALSE;
    w->ended = true;
    w->endResult = nResult;
    g_cv.notify_all();
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Sent s{hWnd, Msg, wParam, lParam};
    {
        std::unique_lock<std::mutex> lock(g_mu);
        Window* w = FindAlive(hWnd);
        if (!w) {
            lock.unlock();
            Trace("SendMessageA", hWnd, Msg, wParam, static_cast<std::uint64_t>(lParam), 0);
            return 0;
        }
        if (w->thread != Me()) {
            g_queues[w->thread].sent.push_back(&s);
            g_cv.notify_all();
            // Go on handling what other threads send to this one meanwhile, as Windows
            // does, so two threads sending to each other cannot block.
            MessageLoop(lock, [&s] { return s.done; }, nullptr);
        }
    }
    LRESULT result = s.done ? s.result : Dispatch(hWnd, Msg, wParam, lParam);
    Trace("SendMessageA", hWnd, Msg, wParam, static_cast<std::uint64_t>(lParam), result);
    return result;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    BOOL ok = FALSE;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        if (Window* w = FindAlive(hWnd)) {
            g_queues[w->thread].posted.push_back({hWnd, Msg, wParam, lParam});
            g_cv.notify_all();
            ok = TRUE;
        }
    }
    Trace("PostMessageA", hWnd, Msg, wParam, static_cast<std::uint64_t>(lParam), ok);
    return ok;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    std::lock_guard<std::mutex> lock(g_mu);
    for (auto& entry : g_windows) {
        Window* w = entry.second.get();
        if (w->alive && w->parent == hDlg && w->id == nIDDlgItem) return w->hWnd;
    }
    return nullptr;
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    if (!w) return 0;
    LONG_PTR& slot = nIndex == DWLP_MSGRESULT ? w->msgResult : w->user;
    LONG_PTR old = slot;
    slot = dwNewLong;
    return old;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    if (!w) return 0;
    if (nIndex == GWL_STYLE)
        return static_cast<LONG_PTR>((w->style & ~static_cast<DWORD>(WS_VISIBLE)) |
                                     (w->visible ? WS_VISIBLE : 0));
    return nIndex == DWLP_MSGRESULT ? w->msgResult : w->user;
}

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    return w && uCmd == GW_OWNER ? w->owner : nullptr;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    if (!w) return FALSE;
    *lpRect = w->rect;
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    if (!w) return FALSE;
    LONG width = (uFlags & SWP_NOSIZE) ? w->rect.right - w->rect.left : cx;
    LONG height = (uFlags & SWP_NOSIZE) ? w->rect.bottom - w->rect.top : cy;
    w->rect = RECT{X, Y, X + width, Y + height};
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(g_mu);
    return FindAlive(hWnd) != nullptr;
}

HMENU GetSystemMenu(HWND hWnd, BOOL)
{
    HMENU menu = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        Window* w = FindAlive(hWnd);
        if (w && (w->style & WS_SYSMENU)) {
            if (!w->sysMenu) w->sysMenu = reinterpret_cast<HMENU>(reinterpret_cast<std::uintptr_t>(hWnd) + 1);
            menu = w->sysMenu;
        }
    }
    Trace("GetSystemMenu", hWnd, 0, 0, 0, reinterpret_cast<std::intptr_t>(menu));
    return menu;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    BOOL ok = FALSE;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        for (auto& entry : g_windows) {
            Window* w = entry.second.get();
            if (w->alive && w->sysMenu == hMenu && hMenu) {
                w->sysMenuItems.push_back({uFlags, uIDNewItem, lpNewItem ? lpNewItem : ""});
                ok = TRUE;
            }
        }
    }
    Trace("AppendMenuA", nullptr, uFlags, uIDNewItem, 0, ok, lpNewItem ? lpNewItem : "");
    return ok;
}

BOOL IsIconic(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    return w && w->iconic;
}

int GetSystemMetrics(int nIndex)
{
    std::lock_guard<std::mutex> lock(g_mu);
    auto it = g_metrics.find(nIndex);
    return it == g_metrics.end() ? 0 : it->second;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = FindAlive(hWnd);
    if (!w) return FALSE;
    *lpRect = w->client;
    return TRUE;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint)
{
    HDC dc = reinterpret_cast<HDC>(reinterpret_cast<std::uintptr_t>(hWnd) + 2);
    std::memset(lpPaint, 0, sizeof *lpPaint);
    lpPaint->hdc = dc;
    Trace("BeginPaint", hWnd, 0, 0, 0, reinterpret_cast<std::intptr_t>(dc));
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT*)
{
    Trace("EndPaint", hWnd, 0, 0, 0, TRUE);
    return TRUE;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    sim::Call c;
    c.fn = "DrawIcon";
    c.handle = reinterpret_cast<std::uintptr_t>(hDC);
    c.arg1 = static_cast<std::uint64_t>(static_cast<std::int64_t>(X));
    c.arg2 = static_cast<std::uint64_t>(static_cast<std::int64_t>(Y));
    c.code = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hIcon));
    c.result = TRUE;
    sim::Record(c);
    return TRUE;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    host::MessageBoxInfo info;
    bool disabledOwner = false;
    std::function<int(const host::MessageBoxInfo&)> responder;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        responder = g_responder;
        Window* owner = hWnd ? FindAlive(hWnd) : nullptr;
        if (hWnd && !owner) {
            // An owner that is gone: Windows refuses to show the box.
            info.text = lpText ? lpText : "";
            Trace("MessageBoxA", hWnd, uType, 0, 0, 0, info.text);
            return 0;
        }
        Window* box = NewWindow(Kind::MessageBox, "#32770");
        box->owner = hWnd;
        box->text = lpCaption ? lpCaption : "Error";
        box->mbType = uType;
        box->visible = true;
        if (owner && owner->enabled) {
            owner->enabled = false;
            disabledOwner = true;
        }
        info.hWnd = box->hWnd;
        info.owner = hWnd;
        info.text = lpText ? lpText : "";
        info.caption = box->text;
        info.type = uType;
        info.thread = Me();
    }
    const bool hasCancel = (uType & MB_TYPEMASK) == MB_OKCANCEL;
    int answer = responder ? responder(info) : (hasCancel ? IDCANCEL : IDOK);
    {
        std::unique_lock<std::mutex> lock(g_mu);
        if (answer == host::kKeepOpen) {
            // Wait for a message to the box: its close box, a button, Esc or Enter.
            HWND hBox = info.hWnd;
            Queue& q = g_queues[Me()];
            while (answer == host::kKeepOpen) {
                auto it = std::find_if(q.posted.begin(), q.posted.end(),
                                       [hBox](const Posted& p) { return p.hWnd == hBox; });
                if (it != q.posted.end()) {
                    Posted p = *it;
                    q.posted.erase(it);
                    if (p.message == WM_CLOSE || (p.message == WM_KEYDOWN && p.wParam == VK_ESCAPE))
                        answer = hasCancel ? IDCANCEL : IDOK;
                    else if (p.message == WM_KEYDOWN && p.wParam == VK_RETURN)
                        answer = IDOK;
                    else if (p.message == WM_COMMAND)
                        answer = LOWORD(p.wParam);
                    continue;
                }
                if (ServeOneSent(lock, q)) continue;
                g_cv.wait(lock);
            }
        }
        Window* box = Find(info.hWnd);
        box->mbAnswer = answer;
        Destroy(box);
        if (disabledOwner)
            if (Window* owner = FindAlive(hWnd)) owner->enabled = true;
        info.answer = answer;
        g_boxes.push_back(info);
    }
    Trace("MessageBoxA", hWnd, uType, 0, 0, answer, info.text);
    return answer;
}

BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam)
{
    std::vector<HWND> list;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        for (auto& entry : g_windows) {
            Window* w = entry.second.get();
            if (w->alive && !w->parent && w->thread == dwThreadId) list.push_back(w->hWnd);
        }
    }
    for (HWND h : list)
        if (!lpfn(h, lParam)) break;
    return TRUE;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = Find(hWnd);
    if (!w || nMaxCount <= 0) return 0;
    int n = std::min<int>(nMaxCount - 1, static_cast<int>(w->className.size()));
    std::memcpy(lpClassName, w->className.data(), static_cast<std::size_t>(n));
    lpClassName[n] = '\0';
    return n;
}

}  // namespace win

// ---- The host:: view for tests and the terminal front end --------------------------------

namespace host {

void ResetWindows()
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_windows.clear();
    g_queues.clear();
    g_responder = nullptr;
    g_idleHook = nullptr;
    g_observer = Observer();
    g_boxes.clear();
    g_metrics = kDefaultMetrics;
}

HWND FindWindowByTitle(const std::string& title)
{
    std::lock_guard<std::mutex> lock(g_mu);
    for (auto& entry : g_windows) {
        Window* w = entry.second.get();
        if (w->alive && !w->parent && w->text == title) return w->hWnd;
    }
    return nullptr;
}

#define HOST_WINDOW_GETTER(Type, Name, Expr, Default) \
    Type Name(HWND hWnd)                              \
    {                                                 \
        std::lock_guard<std::mutex> lock(g_mu);       \
        Window* w = Find(hWnd);                        \
        return w ? (Expr) : (Default);                \
    }

HOST_WINDOW_GETTER(std::string, WindowText, w->text, std::string())
HOST_WINDOW_GETTER(std::string, WindowClass, w->className, std::string())
HOST_WINDOW_GETTER(bool, IsAlive, w->alive, false)
HOST_WINDOW_GETTER(bool, IsEnabled, w->enabled, false)
HOST_WINDOW_GETTER(bool, IsIconicWindow, w->iconic, false)
HOST_WINDOW_GETTER(HWND, OwnerOf, w->owner, nullptr)
HOST_WINDOW_GETTER(int, ProgressPos, w->pos, -1)
HOST_WINDOW_GETTER(int, ProgressMax, w->rangeHigh, -1)
HOST_WINDOW_GETTER(std::vector<int>, ProgressHistory, w->history, std::vector<int>())
HOST_WINDOW_GETTER(DWORD, WindowThread, w->thread, 0)
HOST_WINDOW_GETTER(RECT, WindowRect, w->rect, (RECT{0, 0, 0, 0}))

HWND DialogItem(HWND hDlg, int nID) { return win::GetDlgItem(hDlg, nID); }

HICON WindowIcon(HWND hWnd, bool big)
{
    std::lock_guard<std::mutex> lock(g_mu);
    Window* w = Find(hWnd);
    return w ? (big ? w->bigIcon : w->smallIcon) : nullptr;
}

std::vector<std::string> SystemMenuItems(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(g_mu);
    std::vector<std::string> items;
    if (Window* w = Find(hWnd))
        for (const MenuItem& m : w->sysMenuItems)
            items.push_back((m.flags & MF_SEPARATOR) ? "-" : std::to_string(m.id) + ":" + m.text);
    return items;
}

void PressKey(HWND hWnd, int vk)
{
    std::lock_guard<std::mutex> lock(g_mu);
    if (Window* w = FindAlive(hWnd)) {
        g_queues[w->thread].posted.push_back({hWnd, WM_KEYDOWN, static_cast<WPARAM>(vk), 0});
        g_cv.notify_all();
    }
}

void Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(g_mu);
    if (Window* w = FindAlive(hWnd)) {
        g_queues[w->thread].posted.push_back({hWnd, message, wParam, lParam});
        g_cv.notify_all();
    }
}

void SetClientSize(HWND hWnd, int width, int height)
{
    std::lock_guard<std::mutex> lock(g_mu);
    if (Window* w = Find(hWnd)) w->client = RECT{0, 0, width, height};
}

void SetSystemMetric(int nIndex, int value)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_metrics[nIndex] = value;
}

void SetIconic(HWND hWnd, bool iconic)
{
    std::lock_guard<std::mutex> lock(g_mu);
    if (Window* w = Find(hWnd)) w->iconic = iconic;
}

void SetMessageBoxResponder(std::function<int(const MessageBoxInfo&)> responder)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_responder = std::move(responder);
}

std::vector<MessageBoxInfo> MessageBoxesShown()
{
    std::lock_guard<std::mutex> lock(g_mu);
    return g_boxes;
}

void SetIdleHook(std::function<void(HWND)> hook)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_idleHook = std::move(hook);
}

void SetObserver(Observer observer)
{
    std::lock_guard<std::mutex> lock(g_mu);
    g_observer = std::move(observer);
}

bool LoadDialogTemplate(int id, DialogTemplate* out)
{
    const std::uint8_t* data;
    std::size_t size;
    return FindResourceBytes(5, id, &data, &size) && ParseDialogTemplate(data, size, out);
}

}  // namespace host
