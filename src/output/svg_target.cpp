// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/svg_target.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace lumetra::output {

void appendNumber(QByteArray& out, double value) {
    std::array<char, 32> digits{};
    const auto result =
        std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<float>(value));
    out.append(digits.data(), result.ptr - digits.data());
}

QByteArray svgText(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

void SvgTarget::beginGroup(const QString& title) {
    body_.append("<g><title>").append(svgText(title)).append("</title>\n");
}

void SvgTarget::endGroup() {
    body_.append("</g>\n");
}

namespace {

// "#rrggbb", as SVG names a colour.
std::array<char, 7> nameOf(QColor colour) {
    constexpr char kHex[] = "0123456789abcdef";
    const QRgb rgb = colour.rgb();
    std::array<char, 7> name{'#'};
    for (int i = 0; i < 6; ++i) {
        name[static_cast<std::size_t>(i) + 1] = kHex[(rgb >> (20 - 4 * i)) & 0xF];
    }
    return name;
}

QByteArray colourText(QColor colour) {
    const std::array<char, 7> name = nameOf(colour);
    return {name.data(), static_cast<qsizetype>(name.size())};
}

} // namespace

void SvgTarget::dot(QPointF centre, double diameter, QColor colour) {
    // Composed on the stack and appended once: an SVG holds thousands of them.
    std::array<char, 128> text{};
    char* at = text.data();
    const auto put = [&at](std::string_view part) { at = std::copy(part.begin(), part.end(), at); };
    const auto number = [&at, &text](double value) {
        at = std::to_chars(at, text.data() + text.size(), static_cast<float>(value)).ptr;
    };
    put("<circle cx=\"");
    number(centre.x());
    put("\" cy=\"");
    number(centre.y());
    if (diameter != lastDiameter_) {
        lastDiameter_ = diameter;
        radius_.clear();
        appendNumber(radius_, diameter / 2.0);
    }
    put("\" r=\"");
    put(std::string_view(radius_.constData(), static_cast<std::size_t>(radius_.size())));
    put("\" fill=\"");
    const std::array<char, 7> name = nameOf(colour);
    put(std::string_view(name.data(), name.size()));
    put("\"/>\n");
    body_.append(text.data(), at - text.data());
}

void SvgTarget::segment(QPointF from, QPointF to, double width, QColor colour) {
    body_.append("<line x1=\"");
    appendNumber(body_, from.x());
    body_.append("\" y1=\"");
    appendNumber(body_, from.y());
    body_.append("\" x2=\"");
    appendNumber(body_, to.x());
    body_.append("\" y2=\"");
    appendNumber(body_, to.y());
    body_.append("\" stroke=\"").append(colourText(colour)).append("\" stroke-width=\"");
    appendNumber(body_, width);
    body_.append("\" stroke-linecap=\"round\"/>\n");
}

void SvgTarget::fill(QSize area, QColor colour) {
    body_.append("<rect width=\"")
        .append(QByteArray::number(area.width()))
        .append("\" height=\"")
        .append(QByteArray::number(area.height()))
        .append("\" fill=\"")
        .append(colourText(colour))
        .append("\"/>\n");
}

} // namespace lumetra::output
