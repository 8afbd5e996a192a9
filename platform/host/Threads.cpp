// Threads and events on the host, with Win32 wait semantics: a thread's handle is
// signalled when the thread ends, an event when it is set.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/host/HostUi.h"
#include "platform/win.h"

namespace {

struct WaitObject {
    bool signalled = false;
    bool manualReset = true;
};

std::mutex g_mu;
std::condition_variable g_cv;
std::map<HANDLE, std::shared_ptr<WaitObject>> g_objects;
std::uintptr_t g_nextHandle = 0x10000;
int g_liveThreads = 0;
std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD t_threadId = 0;

HANDLE NewObject(bool manualReset, bool initial)
{
    auto obj = std::make_shared<WaitObject>();
    obj->manualReset = manualReset;
    obj->signalled = initial;
    HANDLE h = reinterpret_cast<HANDLE>(g_nextHandle += 4);
    g_objects[h] = obj;
    return h;
}

}  // namespace

namespace host {

int LiveThreadCount()
{
    std::lock_guard<std::mutex> lock(g_mu);
    return g_liveThreads;
}

}  // namespace host

namespace win {

DWORD GetCurrentThreadId()
{
    if (t_threadId == 0) t_threadId = g_nextThreadId.fetch_add(1);
    return t_threadId;
}

HANDLE BeginThread(THREAD_PROC proc, void* param, int /*nPriority*/, DWORD* pThreadId)
{
    std::shared_ptr<WaitObject> done;
    HANDLE h;
    {
        std::lock_guard<std::mutex> lock(g_mu);
        h = NewObject(true, false);
        done = g_objects[h];
        ++g_liveThreads;
    }
    // The id is known before the thread runs, as Windows gives it with the handle.
    DWORD id = g_nextThreadId.fetch_add(1);
    if (pThreadId) *pThreadId = id;
    std::thread([proc, param, done, id] {
        t_threadId = id;  // the id promised with the handle
        proc(param);
        std::lock_guard<std::mutex> lock(g_mu);
        done->signalled = true;
        --g_liveThreads;
        g_cv.notify_all();
    }).detach();
    return h;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR)
{
    std::lock_guard<std::mutex> lock(g_mu);
    return NewObject(bManualReset != FALSE, bInitialState != FALSE);
}

BOOL SetEvent(HANDLE hEvent)
{
    std::lock_guard<std::mutex> lock(g_mu);
    auto it = g_objects.find(hEvent);
    if (it == g_objects.end()) return FALSE;
    it->second->signalled = true;
    g_cv.notify_all();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    std::unique_lock<std::mutex> lock(g_mu);
    auto it = g_objects.find(hHandle);
    if (it == g_objects.end()) return WAIT_FAILED;
    std::shared_ptr<WaitObject> obj = it->second;
    auto ready = [&] { return obj->signalled; };
    if (dwMilliseconds == INFINITE) {
        g_cv.wait(lock, ready);
    } else if (!g_cv.wait_for(lock, std::chrono::milliseconds(dwMilliseconds), ready)) {
        return WAIT_TIMEOUT;
    }
    if (!obj->manualReset) obj->signalled = false;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE hObject)
{
    std::lock_guard<std::mutex> lock(g_mu);
    return g_objects.erase(hObject) ? TRUE : FALSE;
}

}  // namespace win
