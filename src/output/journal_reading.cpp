// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/journal_reading.h"

#include "output/journal_format.h"

#include <QFile>
#include <QList>

#include <optional>
#include <utility>
#include <vector>

namespace lumetra::output {

namespace {

const QByteArray kPlot = "plot ";

WorkError notAJournal() {
    return {QStringLiteral("non contiene un lavoro custodito da LUMETRA")};
}

// The complete lines of a text: what follows the last line end was being
// written when the program stopped, and is left out.
QList<QByteArrayView> completeLines(QByteArrayView text) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf('\n'); end >= 0; end = text.indexOf('\n', start)) {
        lines.append(text.sliced(start, end - start));
        start = end + 1;
    }
    return lines;
}

// "LUMETRA journal N": the version, or nothing when the line is not that.
std::optional<int> versionOf(QByteArrayView line) {
    if (!line.startsWith(journal::kMagic + ' ')) {
        return std::nullopt;
    }
    bool ok = false;
    const int version = line.sliced(journal::kMagic.size() + 1).toInt(&ok);
    return ok && version >= 1 ? std::optional(version) : std::nullopt;
}

// The text after `word` and a blank, or nothing when the line is not that step.
std::optional<QByteArrayView> argumentOf(QByteArrayView line, const QByteArray& word) {
    if (line.size() <= word.size() || !line.startsWith(word) || line[word.size()] != ' ') {
        return std::nullopt;
    }
    return line.sliced(word.size() + 1);
}

std::optional<RecordedPlot> plotOf(QByteArrayView line) {
    std::variant<RecordedPlot, WorkError> plot = parsePlotLine(line);
    if (const RecordedPlot* read = std::get_if<RecordedPlot>(&plot)) {
        return *read;
    }
    return std::nullopt;
}

// The journal's steps applied one after the other to the record and the
// records put aside by its clears.
class Replay {
public:
    explicit Replay(QList<QByteArrayView> lines) : lines_(std::move(lines)) {}

    JournalReading run() {
        qsizetype at = 1;
        while (at < lines_.size()) {
            const Step step = apply(at);
            if (!step.applied) {
                if (step.end >= lines_.size()) {
                    break; // the last step, cut short
                }
                return WorkError{
                    QStringLiteral("il lavoro custodito \u00E8 danneggiato alla riga %1")
                        .arg(at + 1)};
            }
            at = step.end;
        }
        return std::move(record_);
    }

private:
    // Whether a step was applied, and the line after the lines it takes.
    struct Step {
        bool applied;
        qsizetype end;
    };

    Step apply(qsizetype at) {
        const QByteArrayView line = lines_[at];
        const Step done{true, at + 1};
        const Step refused{false, at + 1};
        if (const std::optional<QByteArrayView> plotText = argumentOf(line, journal::kAdd)) {
            const std::optional<RecordedPlot> plot = plotOf(*plotText);
            if (!plot) {
                return refused;
            }
            record_.add(*plot);
            return done;
        }
        if (line == journal::kDrop) {
            if (record_.empty()) {
                return refused;
            }
            record_.removeLast();
            return done;
        }
        if (line == journal::kClear) {
            aside_.push_back(std::exchange(record_, PlotRecord()));
            return done;
        }
        if (line == journal::kUnclear) {
            if (aside_.empty()) {
                return refused;
            }
            record_ = std::move(aside_.back());
            aside_.pop_back();
            return done;
        }
        if (const std::optional<QByteArrayView> count = argumentOf(line, journal::kOpen)) {
            return open(at, *count);
        }
        return refused;
    }

    // "open N" and its N plot lines; cut short where the lines end.
    Step open(qsizetype at, QByteArrayView countText) {
        bool ok = false;
        const qulonglong count = countText.toULongLong(&ok);
        if (!ok) {
            return {false, at + 1};
        }
        PlotRecord opened;
        qsizetype next = at + 1;
        for (qulonglong i = 0; i < count; ++i, ++next) {
            if (next == lines_.size()) {
                return {false, next};
            }
            const std::optional<RecordedPlot> plot =
                lines_[next].startsWith(kPlot) ? plotOf(lines_[next]) : std::nullopt;
            if (!plot) {
                return {false, next + 1};
            }
            opened.add(*plot);
        }
        aside_.push_back(std::exchange(record_, std::move(opened)));
        return {true, next};
    }

    QList<QByteArrayView> lines_;
    PlotRecord record_;
    std::vector<PlotRecord> aside_; // put aside by the clears, the last one last
};

} // namespace

JournalReading replayJournal(QByteArrayView text) {
    QList<QByteArrayView> lines = completeLines(text);
    const std::optional<int> version = lines.isEmpty() ? std::nullopt : versionOf(lines.first());
    if (!version) {
        return notAJournal();
    }
    if (*version > journal::kVersion) {
        return WorkError{QStringLiteral("il lavoro custodito \u00E8 di una versione pi\u00F9 "
                                        "recente di LUMETRA (formato %1)")
                             .arg(*version)};
    }
    return Replay(std::move(lines)).run();
}

JournalReading readJournal(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return WorkError{QStringLiteral("il lavoro custodito non si pu\u00F2 leggere: %1")
                             .arg(file.errorString())};
    }
    const QByteArray text = file.readAll();
    return replayJournal(text);
}

} // namespace lumetra::output
