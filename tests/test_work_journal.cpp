// The work kept against a crash: every step replayed to the record the window
// holds, a last step cut short left out, a damaged file refused, the file
// written anew without losing the record, the lock of a running program
// respected and that of a dead one taken over, a program killed at random
// moments, and a file-size limit met halfway through.

#include "output/journal_reading.h"
#include "output/work_journal.h"
#include "output/work_text.h"
#include "support/journal_steps.h"

#include <QtTest>

#include <cmath>
#include <optional>

using lumetra::output::abandonedWork;
using lumetra::output::JournalReading;
using lumetra::output::keptWorkPath;
using lumetra::output::plotLine;
using lumetra::output::PlotRecord;
using lumetra::output::readJournal;
using lumetra::output::RecordedPlot;
using lumetra::output::replayJournal;
using lumetra::output::WorkError;
using lumetra::output::WorkJournal;
using lumetra::testing::numberedPlot;
using lumetra::testing::numberedRecord;
using lumetra::testing::Step;
using lumetra::testing::StepWalk;
using lumetra::testing::WindowState;
using namespace Qt::StringLiterals;

namespace {

bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Where two records part, or an empty text when they hold the same plots.
QString differenceBetween(const PlotRecord& read, const PlotRecord& expected) {
    if (read.size() != expected.size()) {
        return u"%1 plots, not %2"_s.arg(read.size()).arg(expected.size());
    }
    for (std::size_t i = 0; i < read.size(); ++i) {
        const RecordedPlot& a = read.plots()[i];
        const RecordedPlot& b = expected.plots()[i];
        if (!same(a.VALa, b.VALa) || !same(a.VALb, b.VALb) || !same(a.VALe, b.VALe) ||
            !same(a.Incr, b.Incr) || a.width != b.width || a.height != b.height ||
            a.Miocolor != b.Miocolor || a.xCosine != b.xCosine || a.yCosine != b.yCosine ||
            a.chords != b.chords || a.activation != b.activation) {
            return u"plot %1 differs: VALb %2, not %3"_s.arg(i).arg(a.VALb).arg(b.VALb);
        }
    }
    return {};
}

// The journal's record against the expected one: empty when they agree.
QString differenceBetween(const JournalReading& reading, const PlotRecord& expected) {
    if (const WorkError* error = std::get_if<WorkError>(&reading)) {
        return u"refused: "_s + error->reason;
    }
    return differenceBetween(std::get<PlotRecord>(reading), expected);
}

PlotRecord recordOf(const QList<int>& numbers) {
    PlotRecord record;
    for (const int n : numbers) {
        record.add(numberedPlot(n));
    }
    return record;
}

QList<int> numbersIn(QStringView text) {
    QList<int> numbers;
    for (const QStringView number : text.split(u',', Qt::SkipEmptyParts)) {
        numbers << number.toInt();
    }
    return numbers;
}

// A plot line written out by hand: OA 86 at 55 degrees, the first of an activation.
const QByteArray kHandPlot = "plot VALa=86 VALb=55 VALe=1 Incr=0.5625 area=1920x1080 Miocolor=0 "
                             "xcos=0 ycos=0 chords=0 activation=1";
const QByteArray kHeader = "LUMETRA journal 1\n";

// The program that takes the steps in a process of its own, to be killed.
class Helper {
public:
    explicit Helper(const QStringList& arguments) {
        process_.start(QStringLiteral(WORK_JOURNAL_STEPS), arguments);
    }
    ~Helper() {
        process_.kill();
        process_.waitForFinished();
    }

    // Waits for the line "0": the journal started.
    bool started() {
        while (!output_.startsWith("0\n")) {
            if (!process_.waitForReadyRead(10000)) {
                return false;
            }
            output_ += process_.readAllStandardOutput();
        }
        return true;
    }
    void kill() {
        process_.kill();
        process_.waitForFinished();
    }
    bool finish() { return process_.waitForFinished(60000) && process_.exitCode() == 0; }
    QList<QByteArray> lines() {
        output_ += process_.readAllStandardOutput();
        return output_.split('\n');
    }

private:
    QProcess process_;
    QByteArray output_;
};

std::optional<WorkError> tell(WorkJournal& journal, Step step) {
    switch (step) {
    case Step::Add:
        return journal.added();
    case Step::Drop:
        return journal.dropped();
    case Step::Clear:
        return journal.cleared();
    case Step::Unclear:
        return journal.uncleared();
    case Step::Open:
        return journal.opened();
    }
    return std::nullopt;
}

} // namespace

class TestWorkJournal : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    int files = 0;

    QString freshPath() { return folder.filePath(u"work-%1.journal"_s.arg(++files)); }

private slots:
    void theWorkIsKeptInTheUsersDataFolder() {
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        QVERIFY(keptWorkPath().startsWith(dataHome + u'/'));
        PlotRecord record = numberedRecord(0, 2);
        WorkJournal journal(record);
        QVERIFY(!journal.start(keptWorkPath()));
        QCOMPARE(differenceBetween(readJournal(keptWorkPath()), record), QString());
        journal.finish();
    }

    // Steps as the plot window takes them, by a script: "s1,2" the journal
    // started on plots 1 and 2 (first, or an empty record); "a3" plot 3
    // added; "d" the last plot taken back; "A3" and "D" the same without
    // the journal told; "c" a clear; "u" the last clear or open taken back; "o4,5"
    // plots 4 and 5 opened; "xN" N plots added and taken back.
    void replaysEveryStep_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("nothing") << u""_s << QList<int>{};
        QTest::newRow("plots") << u"a1 a2 a3"_s << QList<int>{1, 2, 3};
        QTest::newRow("a plot taken back") << u"a1 a2 d"_s << QList<int>{1};
        QTest::newRow("every plot taken back") << u"a1 d"_s << QList<int>{};
        QTest::newRow("a clear") << u"a1 a2 c"_s << QList<int>{};
        QTest::newRow("a plot after a clear") << u"a1 c a2"_s << QList<int>{2};
        QTest::newRow("a clear taken back") << u"a1 a2 c u"_s << QList<int>{1, 2};
        QTest::newRow("a clear done again") << u"a1 c u c"_s << QList<int>{};
        QTest::newRow("back past a plot and a clear") << u"a1 c a2 d u"_s << QList<int>{1};
        QTest::newRow("two clears taken back") << u"a1 c a2 c a3 d u d u"_s << QList<int>{1};
        QTest::newRow("an open") << u"a1 o5,6,7"_s << QList<int>{5, 6, 7};
        QTest::newRow("an empty file opened") << u"a1 o"_s << QList<int>{};
        QTest::newRow("an open taken back") << u"a1 o5,6 u"_s << QList<int>{1};
        QTest::newRow("back past a plot and an open") << u"a1 o5 a2 d u"_s << QList<int>{1};
        QTest::newRow("an open done again") << u"a1 o5 u o5"_s << QList<int>{5};
        QTest::newRow("started on work") << u"s1,2 a3"_s << QList<int>{1, 2, 3};
        QTest::newRow("started on work taken back") << u"s1,2 d d"_s << QList<int>{};
        QTest::newRow("written anew") << u"s1,2,3 x3000"_s << QList<int>{1, 2, 3};
        QTest::newRow("a clear taken back past a rewriting")
            << u"a1 a2 c a3 x3000 d u"_s << QList<int>{1, 2};
        QTest::newRow("a plot the journal was not told of") << u"a1 A5 a6"_s << QList<int>{1, 5, 6};
        QTest::newRow("a plot taken back without the journal told")
            << u"a1 a2 a3 D a4"_s << QList<int>{1, 2, 4};
    }
    void replaysEveryStep() {
        QFETCH(QString, script);
        QFETCH(QList<int>, expected);
        const QString path = freshPath();
        WindowState window;
        WorkJournal journal(window.record);
        QStringList steps = script.split(u' ', Qt::SkipEmptyParts);
        if (!steps.isEmpty() && steps.first().startsWith(u's')) {
            window.record = recordOf(numbersIn(QStringView(steps.takeFirst()).sliced(1)));
        }
        QVERIFY(!journal.start(path));
        QStringList failures;
        const auto take = [&](Step step) {
            if (const std::optional<WorkError> failure = tell(journal, step)) {
                failures << failure->reason;
            }
        };
        for (const QString& step : steps) {
            const QStringView argument = QStringView(step).sliced(1);
            switch (step[0].unicode()) {
            case u'a':
                window.record.add(numberedPlot(argument.toInt()));
                take(Step::Add);
                break;
            case u'A':
                window.record.add(numberedPlot(argument.toInt()));
                break;
            case u'd':
                window.record.removeLast();
                take(Step::Drop);
                break;
            case u'D':
                window.record.removeLast();
                break;
            case u'c':
                window.aside.push_back(std::exchange(window.record, PlotRecord()));
                take(Step::Clear);
                break;
            case u'u':
                window.record = std::move(window.aside.back());
                window.aside.pop_back();
                take(Step::Unclear);
                break;
            case u'o':
                window.aside.push_back(std::exchange(window.record, recordOf(numbersIn(argument))));
                take(Step::Open);
                break;
            case u'x':
                for (int i = 0; i < argument.toInt(); ++i) {
                    window.record.add(numberedPlot(1000 + i));
                    take(Step::Add);
                    window.record.removeLast();
                    take(Step::Drop);
                }
                break;
            default:
                QFAIL("unknown step in the script");
            }
        }
        QCOMPARE(failures, QStringList());
        QCOMPARE(differenceBetween(readJournal(path), recordOf(expected)), QString());
    }

    // What a kill or a power cut in the middle of a step leaves after the
    // journal of plots 1, 2, 3: the step cut short is left out.
    void leavesOutALastStepCutShort_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QList<int>>("expected");
        const QByteArray line4 = plotLine(numberedPlot(4));
        const QByteArray line5 = plotLine(numberedPlot(5));
        QTest::newRow("half an add")
            << "add " + line4.first(line4.size() / 2) << QList<int>{1, 2, 3};
        QTest::newRow("an add without its line end") << "add " + line4 << QList<int>{1, 2, 3};
        QTest::newRow("an unreadable last line")
            << "add plot VALa=86 VALb=zz\n"_ba << QList<int>{1, 2, 3};
        QTest::newRow("an open short of its plots") << "open 3\n" + line4 + '\n' + line5 + '\n'
                                                    << QList<int>{1, 2, 3};
        QTest::newRow("an open cut in a plot")
            << "open 2\n" + line4 + '\n' + line5.first(20) << QList<int>{1, 2, 3};
        QTest::newRow("a drop cut short") << "dro"_ba << QList<int>{1, 2, 3};
        QTest::newRow("zeros where a power cut lost the data")
            << QByteArray(4096, '\0') << QList<int>{1, 2, 3};
        QTest::newRow("a whole add") << "add " + line4 + '\n' << QList<int>{1, 2, 3, 4};
        QTest::newRow("a whole drop") << "drop\n"_ba << QList<int>{1, 2};
        QTest::newRow("a whole open") << "open 1\n" + line5 + '\n' << QList<int>{5};
    }
    void leavesOutALastStepCutShort() {
        QFETCH(QByteArray, tail);
        QFETCH(QList<int>, expected);
        const QString path = freshPath();
        {
            PlotRecord record = numberedRecord(1, 2);
            WorkJournal journal(record);
            QVERIFY(!journal.start(path));
            record.add(numberedPlot(3));
            QVERIFY(!journal.added());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write(tail), tail.size());
        file.close();
        QCOMPARE(differenceBetween(readJournal(path), recordOf(expected)), QString());
    }

    void readsAJournalWrittenByHand() {
        // A plot, a clear, an open, and both taken back.
        const QByteArray text = kHeader + "add " + kHandPlot + "\nclear\nopen 2\n" + kHandPlot +
                                '\n' + kHandPlot + "\nunclear\nunclear\n";
        const JournalReading reading = replayJournal(text);
        QVERIFY(std::holds_alternative<PlotRecord>(reading));
        const PlotRecord& record = std::get<PlotRecord>(reading);
        QCOMPARE(record.size(), std::size_t(1));
        QCOMPARE(record.plots()[0].VALb, 55.0);
    }

    // Damage before the last step is not what a crash leaves: the file is refused.
    void refusesADamagedJournal_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        const QByteArray add = "add " + kHandPlot + '\n';
        const QString damaged = u"il lavoro custodito è danneggiato alla riga %1"_s;
        QTest::newRow("an unreadable plot")
            << kHeader + add + "add plot VALa=86 VALb=zz\n" + add << damaged.arg(3);
        QTest::newRow("an unknown step") << kHeader + "rotate\n" + add << damaged.arg(2);
        QTest::newRow("a drop with nothing plotted") << kHeader + "drop\n" + add << damaged.arg(2);
        QTest::newRow("a clear taken back that was never made")
            << kHeader + add + "unclear\n" + add << damaged.arg(3);
        QTest::newRow("an open without its count")
            << kHeader + "open many\n" + add << damaged.arg(2);
        QTest::newRow("an open whose plots run short")
            << kHeader + "open 2\n" + kHandPlot + '\n' + add + "drop\n"
            << damaged.arg(2);
        QTest::newRow("the work of a picture") << "LUMETRA work 1\nIncr 0.5625\nplots 0\nend\n"_ba
                                               << u"non contiene un lavoro custodito da LUMETRA"_s;
        QTest::newRow("an empty file")
            << QByteArray() << u"non contiene un lavoro custodito da LUMETRA"_s;
        QTest::newRow("a later format")
            << "LUMETRA journal 2\n"_ba
            << u"il lavoro custodito è di una versione più recente di LUMETRA (formato 2)"_s;
    }
    void refusesADamagedJournal() {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        const JournalReading reading = replayJournal(text);
        QVERIFY(std::holds_alternative<WorkError>(reading));
        QCOMPARE(std::get<WorkError>(reading).reason, reason);
    }

    // Plots added and taken back over and over: the file is written anew
    // now and then, stays within a few times its first size, and keeps the record.
    void rewritingKeepsTheRecord() {
        const QString path = freshPath();
        PlotRecord record = numberedRecord(0, 2000);
        WorkJournal journal(record);
        QVERIFY(!journal.start(path));
        const qint64 first = QFileInfo(path).size();
        qint64 largest = first;
        qint64 previous = first;
        int rewritings = 0;
        for (int i = 0; i < 20000; ++i) {
            record.add(numberedPlot(5000 + i));
            QVERIFY(!journal.added());
            record.removeLast();
            QVERIFY(!journal.dropped());
            const qint64 size = QFileInfo(path).size();
            rewritings += size < previous ? 1 : 0;
            largest = std::max(largest, size);
            previous = size;
        }
        QVERIFY(rewritings > 0);
        QVERIFY2(largest < 5 * first, qPrintable(u"%1 bytes from %2"_s.arg(largest).arg(first)));
        QCOMPARE(differenceBetween(readJournal(path), record), QString());
    }

    void finishRemovesTheFiles_data() {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("the journal") << QString();
        QTest::newRow("its lock") << u".lock"_s;
        QTest::newRow("a rewriting's file") << u".new"_s;
    }
    void finishRemovesTheFiles() {
        QFETCH(QString, suffix);
        const QString path = freshPath();
        PlotRecord record;
        WorkJournal journal(record);
        QVERIFY(!journal.start(path));
        for (int i = 0; i < 2000; ++i) {
            record.add(numberedPlot(i));
            QVERIFY(!journal.added());
            record.removeLast();
            QVERIFY(!journal.dropped());
        }
        journal.finish();
        QVERIFY(!QFileInfo::exists(path + suffix));
    }

    void anEndWithoutFinishLeavesTheWork() {
        const QString path = freshPath();
        const PlotRecord record = numberedRecord(0, 3);
        {
            WorkJournal journal(record);
            QVERIFY(!journal.start(path));
        }
        const std::optional<JournalReading> left = abandonedWork(path);
        QVERIFY(left);
        QCOMPARE(differenceBetween(*left, record), QString());
    }

    void noWorkAfterANormalEnd_data() {
        QTest::addColumn<QList<int>>("plots");
        QTest::newRow("no plot") << QList<int>{};
        QTest::newRow("plots") << QList<int>{1, 2};
    }
    void noWorkAfterANormalEnd() {
        QFETCH(QList<int>, plots);
        const QString path = freshPath();
        const PlotRecord record = recordOf(plots);
        WorkJournal journal(record);
        QVERIFY(!journal.start(path));
        journal.finish();
        QVERIFY(!abandonedWork(path));
    }

    void theWorkOfARunningProgramIsLeftAlone() {
        const QString path = freshPath();
        Helper holder({u"hold"_s, path});
        QVERIFY(holder.started());
        // Its lock a day old: a program may run for days.
        QFile lock(path + u".lock"_s);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFileDevice::FileModificationTime));
        QVERIFY(!abandonedWork(path));
        const PlotRecord record = numberedRecord(10, 1);
        WorkJournal journal(record);
        const std::optional<WorkError> refused = journal.start(path);
        QVERIFY(refused);
        QCOMPARE(refused->reason, u"Impossibile custodire il lavoro in %1: un altro LUMETRA in "
                                  u"esecuzione vi custodisce il suo"_s.arg(path));
        QCOMPARE(differenceBetween(readJournal(path), numberedRecord(0, 3)), QString());
    }

    void theWorkOfAKilledProgramIsTakenOver() {
        const QString path = freshPath();
        Helper holder({u"hold"_s, path});
        QVERIFY(holder.started());
        holder.kill();
        const std::optional<JournalReading> left = abandonedWork(path);
        QVERIFY(left);
        QCOMPARE(differenceBetween(*left, numberedRecord(0, 3)), QString());
        const PlotRecord record = numberedRecord(10, 1);
        WorkJournal journal(record);
        QVERIFY(!journal.start(path));
        QCOMPARE(differenceBetween(readJournal(path), record), QString());
    }

    // A kill or a power cut in the middle of a write leaves the file cut
    // anywhere: cut at every step's end, a byte either side, and at random,
    // the file reads as the record after the last step it holds whole.
    void aFileCutAnywhereReadsAsAStepTaken() {
        const QString path = freshPath();
        WindowState window;
        WorkJournal journal(window.record);
        QVERIFY(!journal.start(path));
        // Each step's end in the file and the record after it, from the last rewriting on.
        QList<qint64> ends{QFileInfo(path).size()};
        QList<PlotRecord> records{window.record};
        StepWalk steps(11, StepWalk::Mix::Mixed);
        for (int n = 0; n < 5000 && records.size() <= 150; ++n) {
            QVERIFY(!tell(journal, steps.next(window)));
            const qint64 size = QFileInfo(path).size();
            if (size < ends.last()) {
                ends.clear();
                records.clear();
            }
            ends << size;
            records << window.record;
        }
        QVERIFY(records.size() > 150);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.size(), ends.last());
        QList<qint64> cuts;
        for (const qint64 end : ends) {
            cuts << end - 1 << end << end + 1;
        }
        QRandomGenerator random(5);
        for (int i = 0; i < 300; ++i) {
            cuts << random.bounded(ends.first(), ends.last());
        }
        for (const qint64 cut : cuts) {
            if (cut < ends.first() || cut > ends.last()) {
                continue;
            }
            // The last step whose end the cut reaches.
            const auto whole = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin() - 1;
            QVERIFY2(differenceBetween(replayJournal(text.first(cut)), records[whole]).isEmpty(),
                     qPrintable(u"cut at byte %1 of %2"_s.arg(cut).arg(ends.last())));
        }
    }

    // A program killed at a random moment of its steps: the journal holds
    // the record after the last step it reported, or after the one it was
    // taking, never anything between or else.
    void aKillLeavesACompleteState_data() {
        QTest::addColumn<QString>("mix");
        QTest::addColumn<int>("rounds");
        QTest::newRow("every kind of step") << u"mixed"_s << 12;
        QTest::newRow("plots added and taken back, the file written anew") << u"churn"_s << 12;
    }
    void aKillLeavesACompleteState() {
        QFETCH(QString, mix);
        QFETCH(int, rounds);
        const StepWalk::Mix walkMix = mix == u"churn" ? StepWalk::Mix::Churn : StepWalk::Mix::Mixed;
        QRandomGenerator moments(7);
        for (int round = 0; round < rounds; ++round) {
            const QString path = freshPath();
            const auto seed = static_cast<quint32>(round + 1);
            Helper walker({u"walk"_s, path, QString::number(seed), mix});
            QVERIFY(walker.started());
            QTest::qWait(moments.bounded(10, 200));
            walker.kill();
            const QList<QByteArray> lines = walker.lines();
            // The last complete line: the last step the journal took.
            bool ok = false;
            const int reported = lines.value(lines.size() - 2).toInt(&ok);
            QVERIFY2(ok, lines.value(lines.size() - 2).constData());
            const JournalReading reading = readJournal(path);
            WindowState window;
            StepWalk steps(seed, walkMix);
            for (int n = 0; n < reported; ++n) {
                steps.next(window);
            }
            const QString atReported = differenceBetween(reading, window.record);
            steps.next(window);
            const QString atNext = differenceBetween(reading, window.record);
            QVERIFY2(
                atReported.isEmpty() || atNext.isEmpty(),
                qPrintable(u"round %1, killed after step %2: %3"_s.arg(round).arg(reported).arg(
                    atReported)));
        }
    }

    // The file-size limit met by a step: that step reports it once, the
    // steps after it go on without a word, and the file keeps the record
    // before the step.
    void aFileSizeLimitIsReportedOnce() {
        const QString path = freshPath();
        constexpr quint32 seed = 3;
        constexpr int steps = 400;
        Helper limited({u"limited"_s, path, QString::number(seed), QString::number(steps),
                        QString::number(64 * 1024)});
        QVERIFY(limited.finish());
        const QList<QByteArray> lines = limited.lines();
        QCOMPARE(lines.value(lines.size() - 2), "done"_ba);
        QList<QByteArray> failures;
        for (const QByteArray& line : lines) {
            if (line.startsWith("failed ")) {
                failures << line;
            }
        }
        QCOMPARE(failures.size(), 1);
        const qsizetype colon = failures[0].indexOf(':');
        const int failed = failures[0].mid(7, colon - 7).toInt();
        QCOMPARE(QString::fromUtf8(failures[0].mid(colon + 2)),
                 u"Impossibile custodire il lavoro in %1: il file ha raggiunto la dimensione "
                 u"massima consentita"_s.arg(path));
        WindowState window;
        StepWalk walk(seed, StepWalk::Mix::Mixed);
        for (int n = 1; n < failed; ++n) {
            walk.next(window);
        }
        QCOMPARE(differenceBetween(readJournal(path), window.record), QString());
    }
};

int main(int argc, char** argv) {
    // The user's folders in one of the test's own, before Qt reads them.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u"data"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_s)));
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"LUMETRA"_s);
    QCoreApplication::setOrganizationName(u"LUMETRA"_s);
    TestWorkJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_work_journal.moc"
