#include "surface/large_pages.h"

#include <cstdint>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace lumetra::surface {

#ifdef MADV_HUGEPAGE
namespace {

constexpr std::size_t kLargePage = std::size_t{2} * 1024 * 1024;
// Where the pixels start in their mapping. A repaint copies the image into a
// window's backing store, whose memory starts at or just after a page
// boundary; with the image there too, each row is read at the same offset
// within a page as the row just written, and the processor holds every read
// back for the write before it: a repaint three times as slow. Half a page
// apart, reads and writes do not meet.
constexpr std::size_t kPixelsOffset = 2048;

// Memory of its own, fresh from the system: memory the allocator hands back
// after a free is already backed by small pages, and advice cannot change them.
struct Mapping {
    void* start;
    std::size_t bytes;
};

// `bytes` (whole large pages) aligned to a large page, or a null start.
Mapping mapLargePages(std::size_t bytes) {
    const std::size_t span = bytes + kLargePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        return {nullptr, 0};
    }
    const auto first = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (first + kLargePage - 1) / kLargePage * kLargePage;
    const std::size_t head = aligned - first;
    if (head > 0) {
        munmap(raw, head);
    }
    if (span - head > bytes) {
        munmap(reinterpret_cast<void*>(aligned + bytes), span - head - bytes);
    }
    auto* start = reinterpret_cast<void*>(aligned);
    madvise(start, bytes, MADV_HUGEPAGE);
    return {start, bytes};
}

void unmap(void* mapping) {
    auto* m = static_cast<Mapping*>(mapping);
    munmap(m->start, m->bytes);
    delete m;
}

} // namespace
#endif

QImage imageOnLargePages(QSize pixels) {
#ifdef MADV_HUGEPAGE
    const qsizetype bytesPerLine = qsizetype{pixels.width()} * 4;
    const auto bytes = static_cast<std::size_t>(bytesPerLine * pixels.height());
    if (!pixels.isEmpty() && bytes >= kLargePage) {
        const std::size_t mapped =
            (kPixelsOffset + bytes + kLargePage - 1) / kLargePage * kLargePage;
        const Mapping mapping = mapLargePages(mapped);
        if (mapping.start == nullptr) {
            return {};
        }
        return {static_cast<uchar*>(mapping.start) + kPixelsOffset,
                pixels.width(),
                pixels.height(),
                bytesPerLine,
                QImage::Format_RGB32,
                unmap,
                new Mapping(mapping)};
    }
#endif
    return {pixels, QImage::Format_RGB32};
}

} // namespace lumetra::surface
