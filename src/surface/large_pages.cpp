#include "surface/large_pages.h"

#include <cstdint>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace lumetra::surface {

void adviseLargePages(QImage& image) {
#ifdef MADV_HUGEPAGE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(image.bits());
    // The advice takes whole pages: those wholly inside the image.
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end =
        (start + static_cast<std::uintptr_t>(image.sizeInBytes())) / page * page;
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
#else
    (void)image;
#endif
}

} // namespace lumetra::surface
