// Makes operator new fail on demand on the calling thread, as it does when memory runs out.
#pragma once

#include <cstddef>

namespace failing_allocator {

// Every allocation fails from now on.
void FailAll();
// The next allocation of exactly `size` bytes fails; all others succeed.
void FailNextOfSize(std::size_t size);
void Stop();

// Fails allocations while it lives.
class Scope {
public:
    Scope() { FailAll(); }
    explicit Scope(std::size_t size) { FailNextOfSize(size); }
    ~Scope() { Stop(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace failing_allocator
