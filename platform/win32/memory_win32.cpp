// The program's operator new and delete on Windows: straight to the C runtime's heap.
//
// The C++ library's own operator new throws std::bad_alloc, and linking it brings in the
// whole exception machinery, which a program built without exceptions cannot use anyway.
// The program allocates a handful of small blocks; if even those cannot be had, there is
// no sound way on, and it ends at once rather than run on a null pointer.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p) std::abort();
    return p;
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
