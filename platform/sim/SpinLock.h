// The lock that guards the simulated PC and the trace.
//
// The simulated PC also links into the mingw-w64 test build, whose win32 thread model
// (GCC 12) has no std::mutex. Every section it guards is a short copy or lookup, so
// spinning costs less than anything the platform would offer.
#ifndef VFLASH_PLATFORM_SIM_SPINLOCK_H
#define VFLASH_PLATFORM_SIM_SPINLOCK_H

#include <atomic>
#include <thread>

namespace sim {

class SpinLock {
public:
    void lock()
    {
        while (flag_.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

class SpinGuard {
public:
    explicit SpinGuard(SpinLock& lock) : lock_(lock) { lock_.lock(); }
    ~SpinGuard() { lock_.unlock(); }
    SpinGuard(const SpinGuard&) = delete;
    SpinGuard& operator=(const SpinGuard&) = delete;

private:
    SpinLock& lock_;
};

}  // namespace sim

#endif
