// The global allocation functions of the benchmark program, replaced to count every allocation:
// the solving path must run in the fixed tables alone. Kept apart from the benchmarks so the
// compiler does not inline these into the code it checks.
#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

long allocation_count() {
    return allocations.load(std::memory_order_relaxed);
}

void *operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size == 0 ? 1 : size))
        return p;
    std::abort(); // the program has no way on without memory
}

void *operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void *p) noexcept {
    std::free(p);
}
void operator delete[](void *p) noexcept {
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept {
    std::free(p);
}
