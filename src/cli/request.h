#pragma once

#include "output/picture_file.h"

#include <QSize>

#include <vector>

namespace lumetra::cli {

// How the command line ends.
enum ExitStatus : int {
    kWritten = 0,
    kNotWritten = 1,       // the file could not be written
    kBadUsage = 2,         // nothing was drawn or written
    kWrittenWithError = 3, // written, but a curve stopped on a run-time error
};

// One curve: the parameter window's three values, its defaults to start with.
struct Curve {
    double VALa = 86.0;
    double VALb = 55.0;
    double VALe = 1.0;
};

// A picture the command line asks for: the curves in the order they are
// plotted, the check boxes and the chord command for all of them, the
// drawing area and its calibration factor, and the file.
struct Request {
    std::vector<Curve> curves;
    bool xCosine = false; // Risposta1 = 7
    bool yCosine = false; // Risposta2 = 7
    bool chords = false;
    QSize size;
    double Incr = 0.0;
    bool legend = false;
    output::PictureFile file;
};

} // namespace lumetra::cli
