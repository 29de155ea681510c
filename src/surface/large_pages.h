#pragma once

#include <QImage>
#include <QSize>

namespace lumetra::surface {

// A 32-bit image of `pixels`, not yet filled, in memory the system may back
// with large pages; a null image when there is no memory for it. Dots
// stamped along a curve land on a new row of a large image at nearly every
// pixel, and with small pages nearly every row costs an address-translation
// miss: on some machines that doubles the time of a plot on a 1080p window.
// Where the system has no such pages, it is an ordinary image.
QImage imageOnLargePages(QSize pixels);

} // namespace lumetra::surface
