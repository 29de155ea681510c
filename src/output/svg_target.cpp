#include "output/svg_target.h"

#include <array>
#include <charconv>

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

void SvgTarget::dot(QPointF centre, double diameter, QColor colour) {
    body_.append("<circle cx=\"");
    appendNumber(body_, centre.x());
    body_.append("\" cy=\"");
    appendNumber(body_, centre.y());
    body_.append("\" r=\"");
    appendNumber(body_, diameter / 2.0);
    body_.append("\" fill=\"").append(colour.name().toLatin1()).append("\"/>\n");
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
    body_.append("\" stroke=\"").append(colour.name().toLatin1()).append("\" stroke-width=\"");
    appendNumber(body_, width);
    body_.append("\" stroke-linecap=\"round\"/>\n");
}

void SvgTarget::fill(QSize area, QColor colour) {
    body_.append("<rect width=\"")
        .append(QByteArray::number(area.width()))
        .append("\" height=\"")
        .append(QByteArray::number(area.height()))
        .append("\" fill=\"")
        .append(colour.name().toLatin1())
        .append("\"/>\n");
}

} // namespace lumetra::output
