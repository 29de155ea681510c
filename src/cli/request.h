// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/animation_file.h"
#include "output/picture_file.h"
#include "output/picture_options.h"

#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace lumetra::cli {

// How the command line ends.
enum ExitStatus : int {
    kWritten = 0,
    kNotWritten = 1,       // the file could not be written
    kBadUsage = 2,         // nothing was drawn or written
    kWrittenWithError = 3, // written, but a curve stopped on a run-time error
};

// One curve: the parameter window's three values, its defaults to start
// with, and the plot window's two check boxes and chord command as it runs.
struct Curve {
    double VALa = 86.0;
    double VALb = 55.0;
    double VALe = 1.0;
    bool xCosine = false; // Risposta1 = 7
    bool yCosine = false; // Risposta2 = 7
    bool chords = false;
};

// The drawing area when the arguments do not give one.
inline constexpr QSize kDefaultSize(1280, 800);

// A picture the command line asks for: the curves in the order they are
// plotted, the drawing area and its calibration factor, and the file. With a work file the
// plots are instead those of the work a saved picture carries, each with its
// own factor, check boxes and chord command.
struct Request {
    std::vector<Curve> curves; // none with a work file
    QSize size;                // with a work file, empty unless given: the work's own then
    double Incr = 0.0;
    output::PictureOptions options; // legend, background, crop, resolution, paper
    output::PictureFile file;
    bool standardOutput = false;     // the picture goes to standard output, not to file.name
    std::optional<QString> workFile; // the saved picture whose work is drawn again
    // The last plot's construction as an animation in this format, instead
    // of the picture: to file.name, whose format is then not used.
    std::optional<output::AnimationFormat> construction;

    // Whether the plots run on a drawing surface of the picture's size.
    bool drawsPixels() const { return file.format == output::PictureFormat::Png && !construction; }
};

} // namespace lumetra::cli
