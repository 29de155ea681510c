// The command line and the work a picture carries: the real program drawing a
// saved picture again (--da) into each format and at a new size, refusing
// damaged work, writing to standard output, and the arguments that start the
// windows instead.

#include "cli/launch.h"
#include "support/run_program.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using lumetra::testing::Run;
using namespace Qt::StringLiterals;

namespace {

// Two curves with the chords, drawn at 400 x 300 with factor 0.75.
const QStringList kCurves = {u"--lunghezza"_s, u"120"_s, u"--angolo"_s, u"30"_s,
                             u"--angolo"_s,    u"60"_s,  u"--corde"_s};

// A picture without a PDF's creation date, the one part that differs from run to run.
QByteArray undated(const QByteArray& picture) {
    return QString::fromLatin1(picture)
        .remove(QRegularExpression(u"/CreationDate \\(D:[0-9Z+\\-']*\\)"_s))
        .toLatin1();
}

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? undated(file.readAll()) : QByteArray();
}

} // namespace

class TestCommandLineWork : public QObject {
    Q_OBJECT

    QTemporaryDir home, dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    // The program as a script runs it; standard output to a file when one is named.
    static Run lumetra(const QStringList& arguments, const QString& standardOutput = {}) {
        return lumetra::testing::runProgram(QStringList{QStringLiteral(LUMETRA_BINARY)} + arguments,
                                            [&](QProcess& process) {
                                                if (!standardOutput.isEmpty()) {
                                                    process.setStandardOutputFile(standardOutput);
                                                }
                                            });
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid() && dir.isValid());
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
            qputenv(name, home.path().toUtf8());
        }
        for (const QString& format : {u"svg"_s, u"pdf"_s, u"png"_s}) {
            const QStringList area{u"-o"_s, path(u"famiglia."_s + format), u"--dimensioni"_s,
                                   u"400x300"_s};
            QCOMPARE(lumetra(area + kCurves).status, 0);
        }
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
        const QString original = path(u"famiglia."_s + format);
        const Run run = lumetra({u"--da"_s, original, u"-o"_s, u"-"_s, u"--formato"_s, format});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(undated(run.out), contents(original));
    }

    // With --dimensioni every plot runs again at the new size, with its own
    // factor: a square picture of the family, still at factor 0.75.
    void drawsTheWorkAtANewSize() {
        const QString again = path(u"square.png"_s), direct = path(u"direct-square.png"_s);
        const QStringList square{u"--dimensioni"_s, u"500x500"_s};
        const QStringList fromWork{u"--da"_s, path(u"famiglia.svg"_s), u"-o"_s, again};
        QCOMPARE(lumetra(fromWork + square).status, 0);
        lumetra(QStringList{u"-o"_s, direct, u"--fattore"_s, u"0.75"_s} + kCurves + square);
        QCOMPARE(contents(again), contents(direct));
    }

    // A curve stopped by a run-time error stops again where it did, and says so.
    void reportsTheCurvesThatStopped() {
        const QStringList overflow = {u"--lunghezza"_s,  u"86"_s, u"--lunghezza"_s,  u"5"_s,
                                      u"--incremento"_s, u"1"_s,  u"--incremento"_s, u"400"_s,
                                      u"--x-cos"_s};
        const Run first = lumetra(QStringList{u"-o"_s, path(u"overflow.svg"_s)} + overflow);
        QCOMPARE(first.status, 3);
        const Run again =
            lumetra({u"--da"_s, path(u"overflow.svg"_s), u"-o"_s, path(u"overflow-again.png"_s)});
        QCOMPARE(again.status, 3);
        QCOMPARE(again.err, first.err);
    }

    // A picture cut short in its work: bad usage, the reason in Italian, nothing written.
    void refusesDamagedWork() {
        const QString damaged = path(u"damaged.svg"_s), out = path(u"damaged.png"_s);
        const QByteArray svg = contents(path(u"famiglia.svg"_s));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(svg.first(svg.indexOf("LUMETRA work 1") + 40)) > 40);
        file.close();
        const Run run = lumetra({u"--da"_s, damaged, u"-o"_s, out});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, u"lumetra: impossibile leggere il lavoro da "_s + damaged +
                              u": l'immagine è danneggiata\n"_s);
        QVERIFY(!QFile::exists(out));
    }

    // A picture that standard output cannot take: nothing written, and why.
    void reportsAFullStandardOutput() {
        const Run run =
            lumetra({u"--da"_s, path(u"famiglia.svg"_s), u"-o"_s, u"-"_s, u"--formato"_s, u"svg"_s},
                    u"/dev/full"_s);
        QCOMPARE(run.status, 1);
        QCOMPARE(
            run.err,
            u"lumetra: impossibile scrivere l'immagine sullo standard output: disco pieno\n"_s);
    }

    // The options' faults: bad usage, nothing written. Row: the arguments (@ the folder).
    void refusesOptionsThatDoNotGo_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("-o - alone")
            << u"-o -"_s
            << u"--output - scrive sullo standard output: manca --formato png, svg o pdf"_s;
        QTest::newRow("other format")
            << u"-o @/a.png --formato svg"_s
            << u"--formato svg non è il formato di --output \"@/a.png\""_s;
        QTest::newRow("unknown format")
            << u"-o - --formato jpg"_s << u"--formato \"jpg\": il formato è png, svg o pdf"_s;
        QTest::newRow("--da twice") << u"--da a.svg --da b.svg -o @/a.png"_s
                                    << u"--da è dato più volte: \"a.svg\", \"b.svg\""_s;
        for (const QString& option : {u"--lunghezza 1"_s, u"--angolo 1"_s, u"--incremento 1"_s,
                                      u"--fattore 1"_s, u"--x-cos"_s, u"--y-cos"_s, u"--corde"_s}) {
            QTest::addRow("--da with %s", qPrintable(option))
                << u"--da @/famiglia.svg -o @/a.png "_s + option
                << u"--da non si usa con "_s + option.section(u' ', 0, 0) +
                       u": le curve sono quelle del lavoro salvato"_s;
        }
    }
    void refusesOptionsThatDoNotGo() {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const Run run = lumetra(arguments.replace(u'@', dir.path()).split(u' '));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, u"lumetra: "_s + message.replace(u'@', dir.path()) +
                              u"\nPer l'aiuto: lumetra --help\n"_s);
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFile::exists(path(u"a.png"_s)));
    }

    // Which arguments start the windows: Qt's own switches, at most one file.
    void startsWindows_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("windows");
        QTest::newRow("none") << u""_s << true;
        QTest::newRow("-platform and a picture") << u"-platform offscreen a.png"_s << true;
        QTest::newRow("--platform") << u"--platform offscreen"_s << true;
        QTest::newRow("-style=") << u"-style=fusion a.png"_s << true;
        QTest::newRow("all of X11's")
            << u"-display :1 -geometry 640x480 -name x -title t -sync -nograb"_s << true;
        QTest::newRow("two pictures") << u"a.png b.png"_s << false;
        QTest::newRow("-o") << u"-o x.png"_s << false;
        QTest::newRow("-platform and -o") << u"-platform offscreen -o x.png"_s << false;
        QTest::newRow("a picture and an option") << u"a.png --legenda"_s << false;
        QTest::newRow("-") << u"-"_s << false;
    }
    void startsWindows() {
        QFETCH(QString, arguments);
        QFETCH(bool, windows);
        QCOMPARE(lumetra::cli::startsWindows(arguments.split(u' ', Qt::SkipEmptyParts)), windows);
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

QTEST_MAIN(TestCommandLineWork)
#include "test_command_line_work.moc"
