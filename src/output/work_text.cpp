// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/work_text.h"

#include "geometry/calibration_figure.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace lumetra::output {

namespace {

const QByteArray kMagic = "LUMETRA work";
constexpr int kVersion = 1;
// A rejected entry: the empty text the parameter window stored.
const QByteArray kEmptyText = "\"\"";

// Beyond these no window draws anything a picture could show.
constexpr double kLargestParameter = 1e15;
constexpr double kLargestIncr = 100.0;
constexpr int kLargestSide = 16384;

QByteArray number(double value) {
    return QByteArray::number(value, 'g', std::numeric_limits<double>::max_digits10);
}

QByteArray parameter(double value) {
    return std::isnan(value) ? kEmptyText : number(value);
}

QByteArray flag(bool on) {
    return on ? "1" : "0";
}

bool isParameter(double value) {
    return std::abs(value) <= kLargestParameter;
}

bool isFactor(double value) {
    return value > 0.0 && value <= kLargestIncr;
}

WorkError damaged(const QString& what) {
    return {QStringLiteral("il lavoro \u00E8 danneggiato (%1)").arg(what)};
}

std::optional<double> finite(QByteArrayView text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A plot's fields, each `key=value`, in this order.
constexpr std::array<const char*, 10> kKeys = {"VALa",     "VALb", "VALe", "Incr",   "area",
                                               "Miocolor", "xcos", "ycos", "chords", "activation"};

class PlotReader {
public:
    explicit PlotReader(QByteArrayView line) : fields_(line.toByteArray().split(' ')) {}

    std::variant<RecordedPlot, WorkError> read() {
        if (fields_.size() != static_cast<qsizetype>(kKeys.size()) + 1 ||
            fields_.first() != "plot") {
            return damaged(QStringLiteral("una curva non \u00E8 leggibile"));
        }
        RecordedPlot plot;
        bool ok = numberOf(0, plot.VALa, isParameter, true) &&
                  numberOf(1, plot.VALb, isParameter, true) &&
                  numberOf(2, plot.VALe, isParameter, true) &&
                  numberOf(3, plot.Incr, isFactor, false) && areaOf(4, plot) &&
                  counterOf(5, plot.Miocolor) && flagOf(6, plot.xCosine) &&
                  flagOf(7, plot.yCosine) && flagOf(8, plot.chords) && flagOf(9, plot.activation);
        if (!ok) {
            return error_;
        }
        return plot;
    }

private:
    // The value of field `index`, or nothing when its key is not the expected one.
    std::optional<QByteArrayView> valueOf(std::size_t index) {
        const QByteArray& field = fields_[static_cast<qsizetype>(index) + 1];
        const QByteArray key = QByteArray(kKeys[index]) + '=';
        if (!field.startsWith(key)) {
            error_ = damaged(QStringLiteral("manca %1").arg(QString::fromLatin1(kKeys[index])));
            return std::nullopt;
        }
        return QByteArrayView(field).sliced(key.size());
    }

    bool outOfRange(std::size_t index, QByteArrayView value) {
        error_ = {
            QStringLiteral("valore fuori misura: %1=%2")
                .arg(QString::fromLatin1(kKeys[index]),
                     QString::fromLatin1(value.first(std::min<qsizetype>(value.size(), 40))))};
        return false;
    }

    // A number that `accepted` takes; with `emptyText`, also the empty text, as NaN.
    bool numberOf(std::size_t index, double& out, bool (*accepted)(double), bool emptyText) {
        const std::optional<QByteArrayView> value = valueOf(index);
        if (!value) {
            return false;
        }
        if (emptyText && *value == kEmptyText) {
            out = std::numeric_limits<double>::quiet_NaN();
            return true;
        }
        const std::optional<double> parsed = finite(*value);
        if (!parsed || !accepted(*parsed)) {
            return outOfRange(index, *value);
        }
        out = *parsed;
        return true;
    }

    bool areaOf(std::size_t index, RecordedPlot& plot) {
        const std::optional<QByteArrayView> value = valueOf(index);
        if (!value) {
            return false;
        }
        const QList<QByteArray> sides = value->toByteArray().split('x');
        bool wide = false;
        bool high = false;
        const int width = sides.size() == 2 ? sides[0].toInt(&wide) : 0;
        const int height = sides.size() == 2 ? sides[1].toInt(&high) : 0;
        if (!wide || !high || width < 1 || height < 1 || width > kLargestSide ||
            height > kLargestSide) {
            return outOfRange(index, *value);
        }
        plot.width = width;
        plot.height = height;
        return true;
    }

    bool counterOf(std::size_t index, std::int16_t& out) {
        const std::optional<QByteArrayView> value = valueOf(index);
        if (!value) {
            return false;
        }
        bool ok = false;
        const int counter = value->toInt(&ok);
        if (!ok || counter < std::numeric_limits<std::int16_t>::min() ||
            counter > std::numeric_limits<std::int16_t>::max()) {
            return outOfRange(index, *value);
        }
        out = static_cast<std::int16_t>(counter);
        return true;
    }

    bool flagOf(std::size_t index, bool& out) {
        const std::optional<QByteArrayView> value = valueOf(index);
        if (!value) {
            return false;
        }
        if (*value != "0" && *value != "1") {
            return outOfRange(index, *value);
        }
        out = *value == "1";
        return true;
    }

    QList<QByteArray> fields_;
    WorkError error_;
};

// "LUMETRA work N": the version, or nothing when the line is not that.
std::optional<int> versionOf(QByteArrayView line) {
    if (!line.startsWith(kMagic + ' ')) {
        return std::nullopt;
    }
    bool ok = false;
    const int version = line.sliced(kMagic.size() + 1).toInt(&ok);
    return ok && version >= 1 ? std::optional(version) : std::nullopt;
}

std::optional<std::size_t> countAfter(QByteArrayView line, QByteArrayView key) {
    if (!line.startsWith(key) || line.size() == key.size() || line[key.size()] != ' ') {
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong count = line.sliced(key.size() + 1).toULongLong(&ok);
    return ok ? std::optional(static_cast<std::size_t>(count)) : std::nullopt;
}

} // namespace

double calibrationOf(const PlotRecord& record) {
    return record.empty() ? geometry::kActivationFactor : record.plots().back().Incr;
}

QByteArray plotLine(const RecordedPlot& plot) {
    const std::array<QByteArray, kKeys.size()> values = {parameter(plot.VALa),
                                                         parameter(plot.VALb),
                                                         parameter(plot.VALe),
                                                         number(plot.Incr),
                                                         QByteArray::number(plot.width) + 'x' +
                                                             QByteArray::number(plot.height),
                                                         QByteArray::number(plot.Miocolor),
                                                         flag(plot.xCosine),
                                                         flag(plot.yCosine),
                                                         flag(plot.chords),
                                                         flag(plot.activation)};
    QByteArray line = "plot";
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        line += ' ' + QByteArray(kKeys[i]) + '=' + values[i];
    }
    return line;
}

QByteArray workText(const PlotRecord& record) {
    QByteArray text = kMagic + ' ' + QByteArray::number(kVersion) + '\n';
    text += "Incr " + number(calibrationOf(record)) + '\n';
    text += "plots " + QByteArray::number(static_cast<qulonglong>(record.size())) + '\n';
    for (const RecordedPlot& plot : record.plots()) {
        text += plotLine(plot) + '\n';
    }
    text += "end\n";
    return text;
}

std::variant<RecordedPlot, WorkError> parsePlotLine(QByteArrayView line) {
    return PlotReader(line).read();
}

std::variant<Work, WorkError> parseWork(QByteArrayView text) {
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    const std::optional<int> version = lines.isEmpty() ? std::nullopt : versionOf(lines.first());
    if (!version) {
        return WorkError{QStringLiteral("non contiene un lavoro di LUMETRA")};
    }
    if (*version > kVersion) {
        return WorkError{
            QStringLiteral("il lavoro \u00E8 di una versione pi\u00F9 recente di LUMETRA "
                           "(formato %1)")
                .arg(*version)};
    }
    const WorkError incomplete{QStringLiteral("il lavoro \u00E8 incompleto")};
    if (lines.size() < 4) {
        return incomplete;
    }
    Work work;
    const std::optional<double> Incr =
        lines[1].startsWith("Incr ") ? finite(QByteArrayView(lines[1]).sliced(5)) : std::nullopt;
    if (!Incr || !isFactor(*Incr)) {
        return damaged(QStringLiteral("fattore di calibrazione"));
    }
    work.Incr = *Incr;
    const std::optional<std::size_t> count = countAfter(lines[2], "plots");
    if (!count) {
        return damaged(QStringLiteral("numero delle curve"));
    }
    if (*count > kMostPlots) {
        return WorkError{QStringLiteral("troppe curve (%1; al massimo %2)")
                             .arg(static_cast<qulonglong>(*count))
                             .arg(static_cast<qulonglong>(kMostPlots))};
    }
    // The plots, the end line and the empty rest after the last line end.
    const auto expected = static_cast<qsizetype>(*count) + 5;
    if (lines.size() < expected || lines[expected - 2] != "end") {
        return incomplete;
    }
    if (lines.size() > expected || !lines.last().isEmpty()) {
        return damaged(QStringLiteral("testo dopo la fine"));
    }
    for (qsizetype i = 3; i < expected - 2; ++i) {
        std::variant<RecordedPlot, WorkError> plot = parsePlotLine(lines[i]);
        if (const WorkError* error = std::get_if<WorkError>(&plot)) {
            return *error;
        }
        work.record.add(std::get<RecordedPlot>(plot));
    }
    return work;
}

} // namespace lumetra::output
