// LocalAlloc and LocalFree as real allocations, tracked so that tests see leaks.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sim/Process.h"

namespace sim {
namespace detail {
namespace {

const UINT kMovable = 0x0002;  // LMEM_MOVEABLE
// Larger requests fail as out of memory rather than reach the host's allocator, which
// under the sanitizers would abort the run instead of returning nothing.
const SIZE_T kLargestBlock = SIZE_T(64) << 20;
// Blocks not asked to be zeroed are filled with this, so code that relies on zeroes it
// did not ask for shows up.
const unsigned char kUninitialised = 0xCD;

// Blocks still allocated at a Reset stay reachable here: the program's run is over, but a
// thread of it may still hold one, so they are neither freed nor reported as leaks.
std::vector<void*>& Abandoned()
{
    static std::vector<void*>& blocks = *new std::vector<void*>;
    return blocks;
}

}  // namespace

HLOCAL Allocate(Machine* m, UINT flags, SIZE_T bytes)
{
    // A movable block would need LocalLock, which the program has no reason to use.
    if (flags & kMovable) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* p = bytes <= kLargestBlock ? std::malloc(bytes ? bytes : 1) : nullptr;
    if (!p) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memset(p, (flags & LMEM_ZEROINIT) ? 0 : kUninitialised, bytes ? bytes : 1);
    m->allocations[p] = bytes;
    return p;
}

HLOCAL Free(Machine* m, HLOCAL block)
{
    if (!block) return nullptr;
    auto it = m->allocations.find(block);
    if (it == m->allocations.end()) {
        Fail(ERROR_INVALID_HANDLE);
        return block;
    }
    m->allocations.erase(it);
    std::free(block);
    return nullptr;
}

void AbandonAllocations(Machine* m)
{
    for (const auto& a : m->allocations) Abandoned().push_back(const_cast<void*>(a.first));
    m->allocations.clear();
}

}  // namespace detail
}  // namespace sim
