// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::output {

// One plot as the plot window ran it: enough to run the same construction
// again. The parameters are kept as the numbers the construction computes
// with; a rejected entry (a text) is kept as NaN.
struct RecordedPlot {
    double VALa = 0.0;
    double VALb = 0.0;
    double VALe = 0.0;
    double Incr = 0.0;      // calibration factor of the activation in force
    std::int32_t width = 0; // the drawing area then, in logical pixels
    std::int32_t height = 0;
    std::int16_t Miocolor = 0; // colour counter before the plot
    bool xCosine = false;      // Risposta1 = 7
    bool yCosine = false;      // Risposta2 = 7
    bool chords = false;
    bool activation = false; // the scale and the axes were set up first

    QSize area() const { return {width, height}; }
};
// A record of a million plots stays within 200 MB.
static_assert(sizeof(RecordedPlot) <= 200);

// What the plot window has plotted since its last clear, in order.
class PlotRecord {
public:
    void add(const RecordedPlot& plot);
    // Takes back the last plot, which must be there.
    void removeLast() { plots_.pop_back(); }
    // Empties the record and gives its memory back.
    void clear() { std::vector<RecordedPlot>().swap(plots_); }

    const std::vector<RecordedPlot>& plots() const { return plots_; }
    std::size_t size() const { return plots_.size(); }
    bool empty() const { return plots_.empty(); }

private:
    std::vector<RecordedPlot> plots_;
};

} // namespace lumetra::output
