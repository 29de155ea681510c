// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/construction_svg.h"

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "output/construction_frame.h"
#include "output/svg_target.h"
#include "surface/colours.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace lumetra::output {

namespace {

using geometry::ConstructionPass;
using geometry::PassOutcome;

// As the window's figure draws them.
constexpr double kLetterGap = 6.0;
constexpr double kLetterWidth = 8.0;
constexpr double kSeconds = 0.01 * kPassDelay;

QByteArray number(double value) {
    QByteArray text;
    appendNumber(text, value);
    return text;
}

QByteArray seconds(int passes) {
    return number(passes * kSeconds) + 's';
}

QByteArray colourName(QColor colour) {
    return colour.name(QColor::HexRgb).toLatin1();
}

// One element of the moving construction: the values of its attributes pass
// by pass, hidden on a pass that lacks it. Written with an animation per
// attribute that changes, its value changes only, at their times; the
// element's own values are those of the last pass, so that a reader that
// does not animate shows the end.
class Track {
public:
    Track(const char* element, QByteArray fixed, std::vector<const char*> attributes)
        : element_(element), fixed_(std::move(fixed)), attributes_(std::move(attributes)),
          values_(attributes_.size()) {}

    // The pass's values, in the order of the attributes; kept from the pass
    // before when the pass lacks the element, so that they are no change.
    void put(bool shown, const std::vector<QByteArray>& values) {
        for (std::size_t i = 0; i < values_.size(); ++i) {
            std::vector<QByteArray>& track = values_[i];
            track.push_back(shown || track.empty() ? values[i] : track.back());
        }
        shown_.push_back(shown);
        everShown_ = everShown_ || shown;
    }

    void write(QByteArray& out) const {
        if (!everShown_) {
            return;
        }
        out += '<' + element_ + ' ' + fixed_;
        for (std::size_t i = 0; i < attributes_.size(); ++i) {
            out += ' ' + QByteArray(attributes_[i]) + "=\"" + values_[i].back() + '"';
        }
        if (!shown_.back()) {
            out += " visibility=\"hidden\"";
        }
        out += ">\n";
        for (std::size_t i = 0; i < attributes_.size(); ++i) {
            writeAnimation(out, attributes_[i], values_[i]);
        }
        std::vector<QByteArray> visibility;
        visibility.reserve(shown_.size());
        for (const bool shown : shown_) {
            visibility.emplace_back(shown ? "visible" : "hidden");
        }
        writeAnimation(out, "visibility", visibility);
        out += "</" + element_ + ">\n";
    }

private:
    static void writeAnimation(QByteArray& out, const char* attribute,
                               const std::vector<QByteArray>& values) {
        QByteArray changes;
        QByteArray times;
        for (std::size_t k = 0; k < values.size(); ++k) {
            if (k > 0 && values[k] == values[k - 1]) {
                continue;
            }
            if (k > 0) {
                changes += ';';
                times += ';';
            }
            changes += values[k];
            times += number(static_cast<double>(k) / static_cast<double>(values.size()));
        }
        if (!changes.contains(';')) {
            return;
        }
        out += "<animate attributeName=\"" + QByteArray(attribute) + "\" dur=\"" +
               seconds(static_cast<int>(values.size())) +
               "\" calcMode=\"discrete\" fill=\"freeze\" values=\"" + changes + "\" keyTimes=\"" +
               times + "\"/>\n";
    }

    QByteArray element_;
    QByteArray fixed_;
    std::vector<const char*> attributes_;
    std::vector<std::vector<QByteArray>> values_;
    std::vector<bool> shown_;
    bool everShown_ = false;
};

// User units to the area's logical pixels, for what is drawn in doubles: the
// construction's lines, which the plot does not draw.
class Map {
public:
    explicit Map(const PlotConstruction& construction)
        : c_(construction.construction),
          unitX_(construction.area.width() / static_cast<double>(construction.scaleWidth)),
          unitY_(construction.area.height() / static_cast<double>(construction.scaleHeight)) {}

    QPointF cartesian(double x, double y) const {
        return {(static_cast<double>(c_.CX) + x) * unitX_,
                (static_cast<double>(c_.CY) - y) * unitY_};
    }

private:
    const geometry::Construction& c_;
    double unitX_;
    double unitY_;
};

QByteArray lineAttributes(QColor colour, double width, const char* dashes) {
    QByteArray text = "stroke=\"" + colourName(colour) + "\" stroke-width=\"" + number(width) + '"';
    if (dashes != nullptr) {
        text += " stroke-dasharray=\"" + QByteArray(dashes) + '"';
    }
    return text;
}

void writeLine(QByteArray& out, QPointF from, QPointF to, const QByteArray& attributes) {
    out += "<line x1=\"" + number(from.x()) + "\" y1=\"" + number(from.y()) + "\" x2=\"" +
           number(to.x()) + "\" y2=\"" + number(to.y()) + "\" " + attributes + "/>\n";
}

// A dotted line; its colour moves with the passes when none is given.
QByteArray dottedLine(std::optional<QColor> colour = std::nullopt) {
    constexpr char kDotted[] = "stroke-width=\"1\" stroke-dasharray=\"1 2\"";
    return colour ? lineAttributes(*colour, 1.0, "1 2") : QByteArray(kDotted);
}

// The lines and rings that move with the passes.
struct Moving {
    explicit Moving(QColor foreground)
        : direction{"line", "stroke-width=\"2\" stroke-dasharray=\"6 3\"", kColouredLine},
          endOnX{"line", dottedLine(foreground), kLine}, endOnY{"line", dottedLine(foreground),
                                                                kLine},
          firstFromX{"line", dottedLine(foreground), kLine},
          firstFromY{"line", dottedLine(foreground), kLine}, turnedOnX{"line", dottedLine(),
                                                                       kColouredLine},
          turnedOnY{"line", dottedLine(), kColouredLine}, partnerFromX{"line", dottedLine(),
                                                                       kColouredLine},
          partnerFromY{"line", dottedLine(), kColouredLine}, chord{"line", "stroke-width=\"2\"",
                                                                   kColouredLine},
          firstRing{"circle", ring() + " stroke=\"" + colourName(foreground) + '"', {"cx", "cy"}},
          partnerRing{"circle", ring(), {"cx", "cy", "stroke"}} {}

    static QByteArray ring() {
        return "r=\"" + number(kRingRadius) + "\" fill=\"none\" stroke-width=\"2\"";
    }

    inline static const std::vector<const char*> kLine{"x1", "y1", "x2", "y2"};
    inline static const std::vector<const char*> kColouredLine{"x1", "y1", "x2", "y2", "stroke"};

    Track direction;
    Track endOnX; // from A to the axes
    Track endOnY;
    Track firstFromX; // from the marks of X1 and Y1 on the axes to the first-family point
    Track firstFromY;
    Track turnedOnX; // the same for the direction's end and the second-family point
    Track turnedOnY;
    Track partnerFromX;
    Track partnerFromY;
    Track chord;
    Track firstRing;
    Track partnerRing;

    std::vector<const Track*> all() const {
        return {&direction, &endOnX,       &endOnY,       &firstFromX, &firstFromY, &turnedOnX,
                &turnedOnY, &partnerFromX, &partnerFromY, &chord,      &firstRing,  &partnerRing};
    }
};

std::vector<QByteArray> lineValues(QPointF from, QPointF to) {
    return {number(from.x()), number(from.y()), number(to.x()), number(to.y())};
}

std::vector<QByteArray> operator+(std::vector<QByteArray> values, const QByteArray& more) {
    values.push_back(more);
    return values;
}

// A's projections, or the direction's end's, and the marks' lines to the point.
void putProjections(Track& endOnX, Track& endOnY, Track& fromX, Track& fromY, bool shown,
                    const Map& map, QPointF end, double x, double y, QPointF point,
                    const QByteArray& colour = {}) {
    const QPointF origin = map.cartesian(0.0, 0.0);
    const auto withColour = [&colour](std::vector<QByteArray> values) {
        return colour.isEmpty() ? values : values + colour;
    };
    endOnX.put(shown, withColour(lineValues(end, {end.x(), origin.y()})));
    endOnY.put(shown, withColour(lineValues(end, {origin.x(), end.y()})));
    fromX.put(shown, withColour(lineValues(map.cartesian(x, 0.0), point)));
    fromY.put(shown, withColour(lineValues(map.cartesian(0.0, y), point)));
}

void addPass(Moving& moving, const PlotConstruction& construction, const SvgTarget& target,
             const ConstructionPass& pass) {
    const geometry::Construction& c = construction.construction;
    const Map map(construction);
    const QByteArray colour = colourName(surface::colourOf(pass.colour));
    const bool turns = pass.outcome != PassOutcome::Stopped;
    const bool reachesFirst = turns && pass.outcome != PassOutcome::ZeroFactor;
    const bool drawsFirst = pass.drawsFirst();
    const QPointF origin = map.cartesian(0.0, 0.0);
    const QPointF end = map.cartesian(c.OA * std::cos(c.BETA1), c.OA * std::sin(c.BETA1));
    const QPointF turned = map.cartesian(c.OA * std::cos(pass.gamma), c.OA * std::sin(pass.gamma));
    // A point drawn is where the plot's SVG has it; one out of range where it would be.
    const QPointF first =
        drawsFirst ? target.at(pass.first.x, pass.first.y) : map.cartesian(pass.X1, pass.Y1);
    const QPointF partner = pass.drawsPartner() ? target.at(pass.partner.x, pass.partner.y)
                                                : map.cartesian(pass.XS, pass.YS);
    moving.direction.put(turns, lineValues(origin, turned) + colour);
    putProjections(moving.endOnX, moving.endOnY, moving.firstFromX, moving.firstFromY, reachesFirst,
                   map, end, pass.X1, pass.Y1, first);
    putProjections(moving.turnedOnX, moving.turnedOnY, moving.partnerFromX, moving.partnerFromY,
                   drawsFirst, map, turned, pass.XS, pass.YS, partner, colour);
    moving.chord.put(pass.chord, lineValues(first, partner) + colour);
    moving.firstRing.put(drawsFirst, {number(first.x()), number(first.y())});
    moving.partnerRing.put(pass.drawsPartner(), {number(partner.x()), number(partner.y()), colour});
}

// The plot's axes and, pass by pass, its points and chords, each pass's
// group hidden until its time.
void writeTrail(SvgTarget& target, QByteArray& svg, const PlotConstruction& construction) {
    const geometry::Construction& c = construction.construction;
    target.setScaleMode(runtime::ScaleMode::Centimetres);
    target.setScaleWidth(construction.scaleWidth);
    target.setScaleHeight(construction.scaleHeight);
    target.setDrawWidth(geometry::kAxisWidth);
    geometry::drawPlotAxes(target, c.CX, c.CY);
    for (std::size_t k = 0; k < c.passes.size(); ++k) {
        const ConstructionPass& pass = c.passes[k];
        if (!pass.drawsFirst()) {
            continue;
        }
        svg += "<g>";
        if (k > 0) {
            svg += "<set attributeName=\"visibility\" to=\"hidden\" end=\"" +
                   seconds(static_cast<int>(k)) + "\"/>";
        }
        svg += '\n';
        target.setDrawWidth(geometry::kPointWidth);
        target.pset(pass.first.x, pass.first.y);
        if (pass.drawsPartner()) {
            target.pset(pass.partner.x, pass.partner.y, pass.colour);
        }
        if (pass.chord) {
            target.setDrawWidth(geometry::kChordWidth);
            target.line(pass.first.x, pass.first.y, pass.partner.x, pass.partner.y, pass.colour);
        }
        svg += "</g>\n";
    }
}

// The segment OA and the letters O and A, which stay.
void writeSegment(QByteArray& svg, const PlotConstruction& construction, QColor foreground) {
    const geometry::Construction& c = construction.construction;
    const Map map(construction);
    const QPointF origin = map.cartesian(0.0, 0.0);
    const QPointF end = map.cartesian(c.OA * std::cos(c.BETA1), c.OA * std::sin(c.BETA1));
    writeLine(svg, origin, end, lineAttributes(foreground, 2.0, nullptr));
    const QByteArray letter = "<text font-family=\"sans-serif\" font-size=\"12\" fill=\"" +
                              colourName(foreground) + "\" x=\"";
    svg += letter + number(origin.x() - kLetterGap - kLetterWidth) + "\" y=\"" +
           number(origin.y() + kLetterGap + kLetterWidth) + "\">O</text>\n";
    svg += letter + number(end.x() + kLetterGap) + "\" y=\"" + number(end.y() - kLetterGap) +
           "\">A</text>\n";
}

} // namespace

QByteArray constructionSvg(const PlotConstruction& construction, const FrameColours& colours) {
    const QColor foreground = colours.foreground;
    const QColor background = colours.background;
    const QByteArray width = QByteArray::number(construction.area.width());
    const QByteArray height = QByteArray::number(construction.area.height());
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                     width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
                     "\">\n<title>LUMETRA</title>\n";
    SvgTarget target(svg, foreground, background);
    target.setArea(construction.area);
    target.cls();
    // A plot whose set-up failed has no scale, and drew nothing.
    if (construction.scaleWidth == 0.0F || construction.scaleHeight == 0.0F) {
        return svg + "</svg>\n";
    }
    writeTrail(target, svg, construction);
    // The trail fainter under the construction, as in the window.
    svg += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
           colourName(background) + "\" fill-opacity=\"" + number(1.0 - kTrailStrength) + "\"/>\n";
    writeSegment(svg, construction, foreground);
    Moving moving(foreground);
    for (const ConstructionPass& pass : construction.construction.passes) {
        addPass(moving, construction, target, pass);
    }
    for (const Track* track : moving.all()) {
        track->write(svg);
    }
    return svg + "</svg>\n";
}

} // namespace lumetra::output
