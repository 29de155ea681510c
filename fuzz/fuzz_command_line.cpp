// SPDX-License-Identifier: GPL-3.0-or-later
// Any argument list, one argument a line: the command line replies with a
// text, or asks for finite curves, a size and a factor within their limits
// or for a saved work, and for standard output or the format its file's
// extension names.

#include "cli/arguments.h"
#include "require.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdint>

using namespace lumetra::cli;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QCoreApplication(*argc, *argv); // the help reads the application's arguments
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto parsed = parseArguments(QStringList{QStringLiteral("lumetra")} + lines.split(u'\n'));
    if (const Request* r = std::get_if<Request>(&parsed)) {
        const int w = r->size.width(), h = r->size.height();
        const bool sized = std::min(w, h) >= 16 && std::max(w, h) <= 16384;
        // A saved work brings its own curves and factors, and its own area unless given one.
        const bool plots =
            r->workFile ? r->curves.empty() && (sized || r->size.isEmpty())
                        : sized && !r->curves.empty() &&
                              ((r->Incr >= 0.1 && r->Incr <= 10.0) || r->Incr == double(h) / w);
        const bool named = r->standardOutput
                               ? r->file.name == QStringLiteral("-")
                               : lumetra::output::formatOfName(r->file.name) == r->file.format;
        bool sane = plots && named;
        for (const Curve& c : r->curves) {
            sane = sane && std::isfinite(c.VALa) && std::isfinite(c.VALb) && std::isfinite(c.VALe);
        }
        require(sane,
                "finite curves or a saved work, a size, a factor and a format within their limits");
    }
    return 0;
}
