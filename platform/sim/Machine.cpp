#include "platform/sim/Machine.h"

#include <atomic>
#include <utility>

namespace sim {
namespace detail {
namespace {

thread_local DWORD t_lastError = 0;
// Set while the OnCall hook runs on this thread, so that calls it makes do not recurse.
thread_local bool t_inHook = false;

// Continues across Resets: a handle left over from an earlier state can never come to name
// a new device by accident.
std::atomic<std::uint64_t> g_nextHandle{0x100};

}  // namespace

Machine& TheMachine()
{
    // Never destroyed: threads of the program may still call in while the process exits,
    // and the blocks it tracks stay reachable instead of showing up as leaks.
    static Machine& machine = *new Machine;
    return machine;
}

SpinLock& Lock()
{
    static SpinLock lock;
    return lock;
}

std::uint64_t Key(const void* handle)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

std::int64_t AsResult(const void* handle)
{
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(handle));
}

std::uint64_t NewHandle()
{
    // Steps of four, as Windows hands out handles: the low bits stay clear.
    return g_nextHandle.fetch_add(4);
}

Handle* FindOpen(std::uint64_t key)
{
    auto it = TheMachine().handles.find(key);
    return it != TheMachine().handles.end() && it->second.open ? &it->second : nullptr;
}

std::string DeviceOf(const void* handle, std::uint64_t* position)
{
    SpinGuard guard(Lock());
    auto it = TheMachine().handles.find(Key(handle));
    if (it == TheMachine().handles.end()) return std::string();
    if (position) *position = it->second.position;
    return it->second.device;
}

void SetLastError(DWORD error) { t_lastError = error; }
DWORD LastError() { return t_lastError; }

BOOL Fail(DWORD error)
{
    t_lastError = error;
    return FALSE;
}

bool Admit(const Call& call)
{
    std::function<void(const Call&)> hook;
    bool injected = false;
    {
        SpinGuard guard(Lock());
        Machine& m = TheMachine();
        ++m.calls;
        injected = m.calls == m.failCall;
        if (!t_inHook) hook = m.hook;
    }
    if (hook) {
        // The program must not see errors left by whatever the test's hook did.
        struct InHook {
            DWORD saved = t_lastError;
            InHook() { t_inHook = true; }
            ~InHook() { t_inHook = false; t_lastError = saved; }
        } inHook;
        hook(call);
    }
    return injected;
}

void Finish(Call* call)
{
    call->lastError = t_lastError;
    Record(std::move(*call));
}

}  // namespace detail

using detail::Lock;
using detail::TheMachine;

void Reset(const Scenario& scenario)
{
    {
        SpinGuard guard(Lock());
        detail::Machine& m = TheMachine();
        detail::AbandonAllocations(&m);
        m.scenario = scenario;
        m.handles.clear();
        m.lockHolder = 0;
        m.calls = 0;
        m.failCall = -1;
        m.hook = nullptr;
        m.shutdownEnabled = false;
        m.restartRequests = 0;
        m.lastRestartFlags = 0;
        detail::LoadDiskette(&m);
    }
    // Other threads keep theirs; Reset is made between runs, on the test's own thread.
    detail::SetLastError(ERROR_SUCCESS);
    ClearTrace();
}

const Scenario& Current() { return TheMachine().scenario; }

int OpenHandleCount()
{
    SpinGuard guard(Lock());
    int n = 0;
    for (const auto& h : TheMachine().handles) n += h.second.open ? 1 : 0;
    return n;
}

int OpenTokenCount()
{
    SpinGuard guard(Lock());
    int n = 0;
    for (const auto& h : TheMachine().handles)
        n += h.second.open && h.second.kind == detail::Kind::Token ? 1 : 0;
    return n;
}

bool DisketteLocked()
{
    SpinGuard guard(Lock());
    return TheMachine().lockHolder != 0;
}

std::size_t LiveLocalAllocs()
{
    SpinGuard guard(Lock());
    return TheMachine().allocations.size();
}

int RestartRequests()
{
    SpinGuard guard(Lock());
    return TheMachine().restartRequests;
}

UINT LastRestartFlags()
{
    SpinGuard guard(Lock());
    return TheMachine().lastRestartFlags;
}

bool ShutdownPrivilegeEnabled()
{
    SpinGuard guard(Lock());
    return TheMachine().shutdownEnabled;
}

void FailCall(long n)
{
    SpinGuard guard(Lock());
    TheMachine().failCall = n >= 1 ? n : -1;
}

void OnCall(std::function<void(const Call& call)> hook)
{
    SpinGuard guard(Lock());
    TheMachine().hook = std::move(hook);
}

}  // namespace sim
