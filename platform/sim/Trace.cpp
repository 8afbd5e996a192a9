#include "platform/sim/Trace.h"

#include <utility>

#include "platform/sim/SpinLock.h"

namespace sim {
namespace {

SpinLock g_lock;
std::vector<Call> g_calls;

// Threads keep their number in thread-local storage, which ClearTrace cannot reach on
// other threads; a number from an older generation is simply stale and gets replaced.
unsigned g_generation = 1;
unsigned g_nextThread = 0;

struct ThreadNumber {
    unsigned generation = 0;
    unsigned number = 0;
};
thread_local ThreadNumber t_thread;

}  // namespace

std::size_t Record(Call call)
{
    SpinGuard guard(g_lock);
    if (t_thread.generation != g_generation) {
        t_thread.generation = g_generation;
        t_thread.number = g_nextThread++;
    }
    call.thread = t_thread.number;
    g_calls.push_back(std::move(call));
    return g_calls.size() - 1;
}

std::vector<Call> Calls()
{
    SpinGuard guard(g_lock);
    return g_calls;
}

void ClearTrace()
{
    SpinGuard guard(g_lock);
    g_calls.clear();
    ++g_generation;
    g_nextThread = 0;
}

}  // namespace sim
