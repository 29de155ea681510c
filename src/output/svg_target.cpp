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

const QByteArray& SvgTarget::nameOf(QColor colour) {
    const auto found = names_.constFind(colour.rgb());
    if (found != names_.constEnd()) {
        return *found;
    }
    return *names_.insert(colour.rgb(), colour.name().toLatin1());
}

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
    put("\" r=\"");
    number(diameter / 2.0);
    put("\" fill=\"");
    const QByteArray& name = nameOf(colour);
    put(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
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
    body_.append("\" stroke=\"").append(nameOf(colour)).append("\" stroke-width=\"");
    appendNumber(body_, width);
    body_.append("\" stroke-linecap=\"round\"/>\n");
}

void SvgTarget::fill(QSize area, QColor colour) {
    body_.append("<rect width=\"")
        .append(QByteArray::number(area.width()))
        .append("\" height=\"")
        .append(QByteArray::number(area.height()))
        .append("\" fill=\"")
        .append(nameOf(colour))
        .append("\"/>\n");
}

} // namespace lumetra::output
