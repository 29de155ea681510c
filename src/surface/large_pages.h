#pragma once

#include <QImage>

namespace lumetra::surface {

// Asks the system to back a fresh image's memory with large pages, before
// anything is written to it. Dots stamped along a curve land on a new row of
// a large image at nearly every pixel, and with small pages nearly every row
// costs an address-translation miss: half the time of a plot on a 1080p
// window on some machines. Only advice: where the system has no such pages,
// nothing changes.
void adviseLargePages(QImage& image);

} // namespace lumetra::surface
