#include "kit/base/PageAdvice.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace tessellar::pages {
namespace {

// Below this a huge page cannot fit inside the buffer at all.
constexpr std::size_t worthAdvising = std::size_t(2) << 20;

#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23; // Linux 5.14; older kernels answer EINVAL, which is fine
#endif

struct Span {
    void* start = nullptr;
    std::size_t length = 0;
};

// The whole pages inside [data, data + size).
Span wholePages(const void* data, std::size_t size) {
    static const auto pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (from + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (from + size) & ~(pageSize - 1);
    if (size < worthAdvising || last <= first)
        return {};
    return {reinterpret_cast<void*>(first), last - first};
}

} // namespace

void preferHuge(const void* data, std::size_t size) {
    if (const Span span = wholePages(data, size); span.length > 0)
        ::madvise(span.start, span.length, MADV_HUGEPAGE);
}

void prepareForWriting(void* data, std::size_t size) {
    if (const Span span = wholePages(data, size); span.length > 0) {
        ::madvise(span.start, span.length, MADV_HUGEPAGE);
        ::madvise(span.start, span.length, MADV_POPULATE_WRITE);
    }
}

} // namespace tessellar::pages
