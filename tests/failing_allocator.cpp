// Replaces the global operator new and delete of the test program with ones that can be
// told to fail, so tests can run the program out of memory at a chosen point.
#include "failing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kAll = 0;
thread_local bool t_failing = false;
thread_local std::size_t t_failingSize = kAll;
thread_local bool t_once = false;

bool ShouldFail(std::size_t size)
{
    if (!t_failing || (t_failingSize != kAll && t_failingSize != size))
        return false;
    if (t_once)
        t_failing = false;
    return true;
}

void* Allocate(std::size_t size, std::size_t alignment = alignof(std::max_align_t))
{
    if (ShouldFail(size))
        return nullptr;
    if (size == 0)
        size = 1;
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment = alignof(std::max_align_t))
{
    void* memory = Allocate(size, alignment);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}

} // namespace

namespace failing_allocator {
void FailAll()
{
    t_failingSize = kAll;
    t_once = false;
    t_failing = true;
}
void FailNextOfSize(std::size_t size)
{
    t_failingSize = size;
    t_once = true;
    t_failing = true;
}
void Stop() { t_failing = false; }
} // namespace failing_allocator

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
