// The command line as a script runs it: the real program, with no display and
// no QT_QPA_PLATFORM; its pictures, exit statuses and messages.

#include "app/program.h"
#include "forms/form4.h"
#include "support/recording_ui.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QTemporaryDir>
#include <QTest>

using lumetra::testing::Run;
using namespace Qt::StringLiterals;

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir, faults;

    static Run run(const QStringList& command, const QString& folder = {}) {
        return lumetra::testing::runProgram(
            command, [&](QProcess& process) { process.setWorkingDirectory(folder); });
    }
    static Run lumetra(const QStringList& arguments) {
        return run(QStringList{QStringLiteral(LUMETRA_BINARY)} + arguments);
    }

private slots:
    // Two plots in the plot window, at its size and factor: the same pixels.
    void theWorkedExampleAsThePlotWindowShowsIt() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachPlotWindow(program));
        QVERIFY(lumetra::testing::click(program.form4(), u"TRACCIA"_s));
        const auto& surface = program.form4().surface();
        const QSize size = surface.logicalSize();
        const QString png = dir.filePath(u"example.png"_s);
        const QString area = u"%1x%2"_s.arg(size.width()).arg(size.height());
        const QString arguments = u"-o %1 --angolo 55 --angolo 55 --dimensioni %2 --fattore 0,55"_s;
        const auto [status, out, err] = lumetra(arguments.arg(png, area).split(u' '));
        QCOMPARE(status, 0);
        QCOMPARE(err, QString());
        QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32),
                 surface.image().copy(QRect(QPoint(0, 0), size)));
    }

    // Each fault its message and status; nothing created or replaced unless written.
    void exitStatusesAndMessages_data() {
        QTest::addColumn<QString>("arguments"); // @ stands for the folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told"); // part of standard error, or output for status 0
        const struct {
            const char* name;
            QString arguments;
            int status;
            QString told;
        } rows[] = {
            {"help", u"--help"_s, 0, u"--dimensioni <LxA>   Larghezza e altezza in pixel"_s},
            // The Nth curve takes the Nth value of each option, or its last.
            {"overflow",
             u"-o @/old.png --angolo 45.000 --lunghezza 86 --lunghezza 86 --lunghezza 5 "
             u"--incremento 1 --incremento 400 --x-cos --corde"_s,
             3,
             u"curva 2 (OA 86 · 45° · incr. 400 · X=OA Cos · corde) interrotta: Overflow\n"
             u"lumetra: curva 3 (OA 5 · 45° · incr. 400 · X=OA Cos · corde) interrotta: "
             u"Overflow\n"_s},
            {"no folder", u"-o @/none/a.pdf"_s, 1, u"/none non esiste\n"_s},
            {"unknown", u"-o @/old.png --colore 3"_s, 2, u": opzione sconosciuta: --colore\n"_s},
            {"no value", u"-o @/old.png --angolo"_s, 2, u": manca il valore dopo --angolo\n"_s},
            {"text", u"-o @/old.png --lunghezza abc"_s, 2, u": --lunghezza \"abc\" non è"_s},
            {"inf", u"-o @/old.png --angolo inf"_s, 2, u": --angolo \"inf\" non è un numero\n"_s},
            {"1e999", u"-o @/old.png --fattore 1e999"_s, 2, u": --fattore \"1e999\" non è"_s},
            {"zero", u"-o @/old.png --dimensioni 0x800"_s, 2, u"\": ogni lato va da 16 a 16384"_s},
            {"over", u"-o @/old.png --dimensioni 1280x16385"_s, 2, u"\"1280x16385\": ogni"_s},
            {"factor", u"-o @/old.png --fattore 0,09"_s, 2,
             u"\"0,09\": il fattore va da 0,1 a 10"_s},
            {"extension", u"-o @/old.jpg"_s, 2, u"/old.jpg\": l'estensione deve essere .png"_s},
            {"no output", u"--angolo 30"_s, 2, u"lumetra: manca --output FILE"_s},
            {"twice", u"-o @/old.png --output @/b.svg"_s, 2, u": --output è dato più volte: \""_s},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << row.arguments << row.status << row.told;
        }
    }
    void exitStatusesAndMessages() {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, told);
        QFile old(faults.filePath(u"old.png"_s));
        QVERIFY(old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write("old"), 3);
        old.close();
        const auto [exit, out, err] =
            lumetra(arguments.split(u' ').replaceInStrings(u"@"_s, faults.path()));
        QCOMPARE(exit, status);
        QVERIFY2((exit == 0 ? QString::fromUtf8(out) : err).contains(told), qPrintable(err));
        QCOMPARE(QDir(faults.path()).entryList(QDir::Files), QStringList{u"old.png"_s});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll() == "old", exit != 3);
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
        const QString told =
            u"lumetra: impossibile aprire le finestre: il percorso del programma è "
            u"sconosciuto\n"_s;
        QVERIFY2(err.contains(told), qPrintable(err));
        QCOMPARE(status, 1);
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
