#include "surface/large_pages.h"

#include <cstdlib>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace lumetra::surface {

QImage imageOnLargePages(QSize pixels) {
#ifdef MADV_HUGEPAGE
    constexpr qsizetype kLargePage = qsizetype{2} * 1024 * 1024;
    const qsizetype bytesPerLine = qsizetype{pixels.width()} * 4;
    const qsizetype bytes = bytesPerLine * pixels.height();
    if (!pixels.isEmpty() && bytes >= kLargePage) {
        // Whole large pages, aligned to one: the advice covers only those.
        const qsizetype rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
        void* memory = std::aligned_alloc(kLargePage, static_cast<std::size_t>(rounded));
        if (memory == nullptr) {
            return {};
        }
        madvise(memory, static_cast<std::size_t>(rounded), MADV_HUGEPAGE);
        return {static_cast<uchar*>(memory),
                pixels.width(),
                pixels.height(),
                bytesPerLine,
                QImage::Format_RGB32,
                [](void* image) { std::free(image); },
                memory};
    }
#endif
    return {pixels, QImage::Format_RGB32};
}

} // namespace lumetra::surface
