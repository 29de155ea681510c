// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>

namespace lumetra::output {

// The work a picture carries and the program keeps: the calibration factor in
// force and every plot since the last clear, enough to draw the picture again
// bit for bit. docs/work-format.md describes its text.
struct Work {
    double Incr = 0.0;
    PlotRecord record;
};

// Why a text is not work that can be trusted, in Italian.
struct WorkError {
    QString reason;
};

// At most this many plots are read: more is no picture a window has made.
inline constexpr std::size_t kMostPlots = 100000;

// The calibration factor of the record's last plot, or the calibration
// window's starting one when it is empty.
double calibrationOf(const PlotRecord& record);

// The work of a record as text, with the record's calibration factor.
QByteArray workText(const PlotRecord& record);

// One plot as a line of that text, without its line end.
QByteArray plotLine(const RecordedPlot& plot);

// The plot a line stands for, or why it is refused.
std::variant<RecordedPlot, WorkError> parsePlotLine(QByteArrayView line);

// The work a text stands for, or why it is refused: not work, damaged,
// incomplete, of a later format, or with values no window could have used.
std::variant<Work, WorkError> parseWork(QByteArrayView text);

} // namespace lumetra::output
