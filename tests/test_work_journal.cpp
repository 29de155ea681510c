// SPDX-License-Identifier: GPL-3.0-or-later
// The work kept against a crash: every step replayed to the record the window
// holds, a last step cut short left out, a damaged file refused, the file
// written anew without losing the record, the lock of a running program
// respected and that of a dead one taken over, a program killed at random
// moments, and a file-size limit met halfway through.

#include "output/journal_reading.h"
#include "output/work_journal.h"
#include "output/work_text.h"
#include "support/files.h"
#include "support/hermetic_main.h"
#include "support/journal_steps.h"

#include <QtTest>

#include <csignal>

using namespace lumetra::output;
using namespace lumetra::testing;
using namespace Qt::StringLiterals;

namespace {

// The record a journal holds as the work's text, or why it was refused.
QByteArray textOf(const JournalReading& reading) {
    const auto* error = std::get_if<WorkError>(&reading);
    return error ? "refused: " + error->reason.toUtf8() : workText(std::get<PlotRecord>(reading));
}

// The plots numbered "1,2,3".
PlotRecord recordOf(QStringView numbers) {
    PlotRecord record;
    for (const QStringView number : numbers.split(u',', Qt::SkipEmptyParts)) {
        record.add(numberedPlot(number.toInt()));
    }
    return record;
}

// A plot line written out by hand: OA 86 at 55 degrees, the first of an activation.
const QByteArray kHandPlot = "plot VALa=86 VALb=55 VALe=1 Incr=0.5625 area=1920x1080 Miocolor=0 "
                             "xcos=0 ycos=0 chords=0 activation=1";
const QByteArray kHeader = "LUMETRA journal 1\n";
const QByteArray kAdd = "add " + kHandPlot + '\n';

} // namespace

class TestWorkJournal : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    int files = 0;

    QString freshPath() { return folder.filePath(u"work-%1.journal"_s.arg(++files)); }

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(u"LUMETRA"_s); }

    // Steps as the plot window takes them, by a script: "s" the journal
    // started (again); "a3" plot 3 added; "d" the last plot taken back; "c" a
    // clear; "u" the last clear or open taken back; "o4,5" plots 4 and 5
    // opened; a capital letter the same step without the journal told.
    void replaysEveryStep_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        QTest::newRow("clears taken back") << u"s a1 c a2 c a3 d u d u"_s << u"1"_s;
        QTest::newRow("an open taken back") << u"s a1 o5,6 u"_s << u"1"_s;
        QTest::newRow("a clear taken back past a rewriting") << u"s a1 a2 c a3 s d u"_s << u"1,2"_s;
        QTest::newRow("steps not told") << u"s a1 A5 a6 a7 D a8"_s << u"1,5,6,8"_s;
    }
    void replaysEveryStep() {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        const QString path = freshPath();
        WindowState window;
        WorkJournal journal(window.record);
        for (const QString& token : script.split(u' ')) {
            if (token == u"s") {
                QVERIFY(!journal.start(path));
                continue;
            }
            const auto step = static_cast<Step>(u"adcuo"_s.indexOf(token[0].toLower()));
            window.take(step, recordOf(QStringView(token).sliced(1)));
            QVERIFY(token[0].isUpper() || !tell(journal, step));
        }
        QCOMPARE(textOf(readJournal(path)), workText(recordOf(expected)));
    }

    // A journal written by hand, a plot, a clear, an open and both taken back,
    // reads as one plot, whatever a kill or a power cut left after it; damage
    // before the last step is not what a crash leaves: the file is refused.
    void readsWhatACrashLeavesAndRefusesDamage_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason"); // none: read as the one plot
        const QByteArray byHand = kHeader + kAdd + "clear\nopen 2\n" + kHandPlot + '\n' +
                                  kHandPlot + "\nunclear\nunclear\n";
        const QString damaged = u"il lavoro custodito è danneggiato alla riga %1"_s;
        QTest::newRow("written by hand") << byHand << QString();
        QTest::newRow("an unreadable last line") << byHand + "add plot VALa=zz\n" << QString();
        QTest::newRow("zeros where a power cut lost the data")
            << byHand + QByteArray(4096, '\0') << QString();
        QTest::newRow("an unreadable plot")
            << kHeader + kAdd + "add plot VALa=86 VALb=zz\n" + kAdd << damaged.arg(3);
        QTest::newRow("an empty file")
            << QByteArray() << u"non contiene un lavoro custodito da LUMETRA"_s;
    }
    void readsWhatACrashLeavesAndRefusesDamage() {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        QCOMPARE(textOf(replayJournal(text)),
                 reason.isEmpty() ? "LUMETRA work 1\nIncr 0.5625\nplots 1\n" + kHandPlot + "\nend\n"
                                  : "refused: " + reason.toUtf8());
    }

    // Plots added and taken back over and over: the file, written anew now and
    // then, stays within a few times its first size (it would grow tenfold
    // otherwise), and keeps the
    // record; finish() removes it with its lock and the rewriting's file,
    // leaving no work to offer back. The work is kept in the user's data folder.
    void rewritingKeepsTheRecord() {
        const QString path = keptWorkPath();
        QVERIFY(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + u'/'));
        PlotRecord record = numberedRecord(0, 2000);
        WorkJournal journal(record);
        QVERIFY(!journal.start(path));
        const qint64 first = QFileInfo(path).size();
        qint64 largest = first;
        for (int i = 0; i < 20000; ++i) {
            record.add(numberedPlot(5000 + i));
            QVERIFY(!journal.added());
            record.removeLast();
            QVERIFY(!journal.dropped());
            largest = std::max(largest, QFileInfo(path).size());
        }
        QVERIFY2(largest < 5 * first, qPrintable(u"%1 bytes from %2"_s.arg(largest).arg(first)));
        QCOMPARE(textOf(readJournal(path)), workText(record));
        journal.finish();
        for (const QString& suffix : {u""_s, u".lock"_s, u".new"_s}) {
            QVERIFY2(!QFileInfo::exists(path + suffix), qPrintable(suffix));
        }
        QVERIFY(!abandonedWork(path));
    }

    // A program that runs keeps its work, however old its lock. Killed at a
    // random moment while it writes the file anew over and over, its work is
    // taken over: the record after the last step it reported, or after the
    // one it was taking.
    void aKillLeavesACompleteState() {
        QRandomGenerator moments(7);
        for (int round = 1; round <= 12; ++round) {
            const QString path = freshPath();
            // The steps program: it prints each step's number once taken, 0 the start.
            QProcess walker;
            walker.start(QStringLiteral(WORK_JOURNAL_STEPS), {path});
            QVERIFY(walker.waitForReadyRead(10000));
            QFile lock(path + u".lock"_s);
            QVERIFY(lock.open(QIODevice::ReadOnly));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
            QVERIFY(!abandonedWork(path));
            const PlotRecord mine = numberedRecord(10, 1);
            WorkJournal journal(mine);
            QCOMPARE(journal.start(path).value_or(WorkError()).reason,
                     u"Impossibile custodire il lavoro in %1: un altro LUMETRA in esecuzione vi "
                     u"custodisce il suo"_s.arg(path));
            QTest::qWait(moments.bounded(10, 200));
            walker.kill();
            walker.waitForFinished();
            // The last complete line: the last step the journal took.
            const QByteArray last = walker.readAllStandardOutput().chopped(1).split('\n').last();
            const int reported = last.toInt();
            const std::optional<JournalReading> left = abandonedWork(path);
            const QByteArray read = left ? textOf(*left) : workText({});
            QVERIFY2(read == workText(churned(reported).record) ||
                         read == workText(churned(reported + 1).record),
                     qPrintable(u"round %1, killed after step %2"_s.arg(round).arg(reported)));
            QVERIFY(!journal.start(path));
            QCOMPARE(textOf(readJournal(path)), workText(mine));
        }
    }

    // The file-size limit met by a step: that step reports it once, the
    // steps after it go on without a word, and the file keeps the record
    // before the step.
    void aFileSizeLimitIsReportedOnce() {
        std::signal(SIGXFSZ, SIG_IGN); // an error instead of the end of the program
        const rlim_t unlimited = limitFileSize(512 * 1024);
        const QString path = freshPath();
        WindowState window;
        WorkJournal journal(window.record);
        QVERIFY(!journal.start(path));
        Churn steps;
        QStringList failures;
        int failed = 0;
        for (int n = 1; n <= 3000; ++n) {
            if (const std::optional<WorkError> failure = tell(journal, steps.next(window))) {
                failures << failure->reason;
                failed = n;
            }
        }
        limitFileSize(unlimited);
        QCOMPARE(failures, QStringList{u"Impossibile custodire il lavoro in %1: file troppo "
                                       u"grande"_s.arg(path)});
        QCOMPARE(textOf(readJournal(path)), workText(churned(failed - 1).record));
    }
};

LUMETRA_HERMETIC_MAIN(TestWorkJournal, QCoreApplication)

#include "test_work_journal.moc"
