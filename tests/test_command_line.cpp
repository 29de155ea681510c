// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a script runs it: the real program, with no display and
// no QT_QPA_PLATFORM; its pictures, exit statuses and messages. Then the work a
// picture carries: the program drawing a saved picture again (--da) into each
// format and at a new size, refusing damaged work, writing to standard
// output, and the arguments that start the windows instead.

#include "support/files.h"
#include "support/hermetic_main.h"
#include "support/run_program.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace lumetra::testing;
using namespace Qt::StringLiterals;

namespace {

// Two curves with the chords, drawn at 400 x 300 with factor 0.75.
const QString kCurves = u" --lunghezza 120 --angolo 30 --angolo 60 --corde"_s;

// A picture without a PDF's creation date, the one part that differs from run to run.
QByteArray undated(const QByteArray& picture) {
    return QString::fromLatin1(picture)
        .remove(QRegularExpression(u"/CreationDate \\(D:[0-9Z+\\-']*\\)"_s))
        .toLatin1();
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir, faults;

    QString path(const QString& name) const { return dir.filePath(name); }

    // `command` as a script runs it, in `folder`; standard output to a file when one is named.
    static Run run(const QStringList& command, const QString& folder = {},
                   const QString& standardOutput = {}) {
        return runProgram(command, [&](QProcess& process) {
            process.setWorkingDirectory(folder);
            if (!standardOutput.isEmpty()) {
                process.setStandardOutputFile(standardOutput);
            }
        });
    }
    // The program with `arguments` split at the blanks, each @ the test's folder.
    Run lumetra(const QString& arguments, const QString& standardOutput = {}) const {
        const QStringList split = QString(arguments).replace(u'@', dir.path()).split(u' ');
        return run(QStringList{QStringLiteral(LUMETRA_BINARY)} + split, {}, standardOutput);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid() && faults.isValid());
        for (const QString& format : {u"svg"_s, u"pdf"_s, u"png"_s}) {
            const QString arguments = u"-o @/famiglia.%1 --dimensioni 400x300"_s.arg(format);
            QCOMPARE(lumetra(arguments + kCurves).status, 0);
        }
    }

    // Each fault its message and status; nothing created or replaced unless written.
    void exitStatusesAndMessages_data() {
        QTest::addColumn<QString>("arguments"); // @ stands for the folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told"); // part of standard error, or output for status 0
        QTest::newRow("help") << u"--help"_s << 0 << u"--dimensioni <LxA>      Larghezza e"_s;
        // The Nth curve takes the Nth value of each option, or its last.
        QTest::newRow("overflow")
            << u"-o @/old.png --angolo 45.000 --lunghezza 86 --lunghezza 86 --lunghezza 5 "
               u"--incremento 1 --incremento 400 --x-cos --corde"_s
            << 3
            << u"curva 2 (OA 86 · 45° · incr. 400 · X=OA Cos · corde) interrotta: Overflow\n"
               u"lumetra: curva 3 (OA 5 · 45° · incr. 400 · X=OA Cos · corde) interrotta: "
               u"Overflow\n"_s;
        QTest::newRow("no folder") << u"-o @/none/a.pdf"_s << 1 << u"/none non esiste\n"_s;
        QTest::newRow("unknown") << u"-o @/old.png --colore 3"_s << 2
                                 << u": opzione sconosciuta: --colore\n"_s;
        QTest::newRow("-o - alone")
            << u"-o -"_s << 2
            << u"lumetra: --output - scrive sullo standard output: manca --formato png, svg o pdf\n"
               u"Per l'aiuto: lumetra --help\n"_s;
        QTest::newRow("not a picture") << u"--da @/old.png -o @/a.png"_s << 2
                                       << u"/old.png: non è un'immagine PNG, SVG o PDF\n"_s;
        // A saved work brings its own curves.
        QTest::newRow("--da with --corde")
            << u"--da @/old.png -o @/a.png --corde"_s << 2
            << u": --da non si usa con --corde: le curve sono quelle del lavoro salvato\n"_s;
    }
    void exitStatusesAndMessages() {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, told);
        const QString old = faults.filePath(u"old.png"_s);
        QVERIFY(writeFile(old, "old"));
        const auto [exit, out, err] = lumetra(arguments.replace(u'@', faults.path()));
        QCOMPARE(exit, status);
        QVERIFY2((exit == 0 ? QString::fromUtf8(out) : err).contains(told), qPrintable(err));
        QVERIFY(exit == 0 || out.isEmpty());
        QCOMPARE(QDir(faults.path()).entryList(QDir::Files), QStringList{u"old.png"_s});
        QCOMPARE(readFile(old) == "old", exit != 3);
    }

    // A module of the windows' name beside the program that lacks their entry point.
    void moduleWithoutTheEntryPoint() {
        const QTemporaryDir folder;
        const QString program = folder.filePath(u"lumetra"_s);
        const QString module = folder.filePath(u"lumetra-windows.so"_s);
        QVERIFY(QFile::copy(QStringLiteral(LUMETRA_BINARY), program));
        QVERIFY(QFile::copy(QStringLiteral(MODULE_WITHOUT_ENTRY), module));
        const auto [status, out, err] = run({program});
        QCOMPARE(err, u"lumetra: impossibile aprire le finestre: "_s + module +
                          u" non contiene lumetra_windows\n"_s);
        QCOMPARE(status, 1);
    }

    // Where the program cannot tell its own path, a module in the working folder stays unloaded.
    void unknownOwnPath() {
        if (run({u"unshare"_s, u"-rm"_s, u"true"_s}).status != 0) {
            QSKIP("no user namespaces here to hide /proc from the program in");
        }
        const QTemporaryDir folder;
        QVERIFY(QFile::copy(QStringLiteral(MODULE_WITHOUT_ENTRY),
                            folder.filePath(u"lumetra-windows.so"_s)));
        // An empty /proc of its own hides the program's path from it.
        const QString hideProc = u"mount -t tmpfs none /proc && exec \"$0\""_s;
        const auto [status, out, err] = run(
            {u"unshare"_s, u"-rm"_s, u"sh"_s, u"-c"_s, hideProc, QStringLiteral(LUMETRA_BINARY)},
            folder.path());
        // A sanitizer build adds its own complaints about the missing /proc.
        QVERIFY2(err.contains(u"lumetra: impossibile aprire le finestre: il percorso del "
                              u"programma è sconosciuto\n"_s),
                 qPrintable(err));
        QCOMPARE(status, 1);
    }
    // A picture's work drawn again to standard output: the same bytes as the
    // picture written directly with the same curves.
    void drawsTheWorkAgain_data() {
        QTest::addColumn<QString>("format");
        for (const QString& format : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            QTest::newRow(qPrintable(format)) << format;
        }
    }
    void drawsTheWorkAgain() {
        QFETCH(QString, format);
        const Run run = lumetra(u"--da @/famiglia.%1 -o - --formato %1"_s.arg(format));
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(undated(run.out), undated(readFile(path(u"famiglia."_s + format))));
    }

    // With --dimensioni every plot runs again at the new size, with its own
    // factor: a square picture of the family, still at factor 0.75.
    void drawsTheWorkAtANewSize() {
        QCOMPARE(lumetra(u"--da @/famiglia.svg -o @/square.png --dimensioni 500x500"_s).status, 0);
        lumetra(u"-o @/direct-square.png --fattore 0.75 --dimensioni 500x500"_s + kCurves);
        QCOMPARE(readFile(path(u"square.png"_s)), readFile(path(u"direct-square.png"_s)));
    }

    // A curve stopped by a run-time error stops again where it did, and says so.
    void reportsTheCurvesThatStopped() {
        const Run first = lumetra(u"-o @/overflow.svg --lunghezza 86 --lunghezza 5 --incremento 1 "
                                  u"--incremento 400 --x-cos"_s);
        QCOMPARE(first.status, 3);
        const Run again = lumetra(u"--da @/overflow.svg -o @/overflow-again.png"_s);
        QCOMPARE(again.status, 3);
        QCOMPARE(again.err, first.err);
    }

    // A picture that standard output cannot take: nothing written, and why.
    void reportsAFullStandardOutput() {
        const Run run = lumetra(u"--da @/famiglia.svg -o - --formato svg"_s, u"/dev/full"_s);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, u"lumetra: impossibile scrivere l'immagine sullo standard output: "
                          u"disco pieno\n"_s);
    }

    // A lone file and Qt's switches reach the windows, not the command line,
    // which would refuse them at once.
    void aPictureToOpenStartsTheWindows() {
        QProcess process;
        process.start(QStringLiteral(LUMETRA_BINARY),
                      {u"-platform"_s, u"offscreen"_s, path(u"famiglia.svg"_s)});
        QVERIFY(process.waitForStarted());
        QVERIFY2(!process.waitForFinished(3000), process.readAllStandardError().constData());
        process.kill();
        process.waitForFinished();
    }
};

LUMETRA_HERMETIC_MAIN(TestCommandLine, QApplication)
#include "test_command_line.moc"
