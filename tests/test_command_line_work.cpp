// The command line and the work a picture carries: the real program drawing a
// saved picture again (--da) into each format and at a new size, refusing
// damaged work, writing to standard output, and the arguments that start the
// windows instead.

#include "cli/launch.h"
#include "output/work_in_picture.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// Two curves with the chords at 400 x 300, factor 0.75.
const QStringList kFamily = {u"--lunghezza"_s, u"120"_s, u"--angolo"_s, u"30"_s,
                             u"--angolo"_s,    u"60"_s,  u"--corde"_s};
const QStringList kArea = {u"--dimensioni"_s, u"400x300"_s};

struct Run {
    int status;
    QByteArray out;
    QString err;
};

// Everything an SVG draws, an element a line with its attributes in order;
// the metadata that carries the work left out.
QStringList drawnElements(const QByteArray& svg) {
    QStringList elements;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == "metadata"_L1) {
            xml.skipCurrentElement();
            continue;
        }
        QString element = xml.name().toString();
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            element += u' ' + attribute.name().toString() + u'=' + attribute.value().toString();
        }
        elements << element;
    }
    return elements;
}

// A PDF without its creation date, the one part that differs from run to run.
QByteArray undated(const QByteArray& pdf) {
    return QString::fromLatin1(pdf)
        .remove(QRegularExpression(u"/CreationDate \\(D:[0-9Z+\\-']*\\)"_s))
        .toLatin1();
}

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The work a picture carries, as its text, or why it has none.
QByteArray workOf(const QString& name) {
    const auto work = lumetra::output::readWorkFile(name);
    if (const auto* error = std::get_if<lumetra::output::WorkError>(&work)) {
        return error->reason.toUtf8();
    }
    return lumetra::output::workText(std::get<lumetra::output::Work>(work).record);
}

// The drawing area a picture shows, in pixels: a PDF's page counts 72 points
// for 96 pixels.
QSize pictureSize(const QString& name) {
    const QByteArray bytes = contents(name);
    if (name.endsWith(u".png"_s)) {
        return QImage::fromData(bytes).size();
    }
    const QRegularExpression size(name.endsWith(u".svg"_s)
                                      ? u"<svg [^>]*width=\"(\\d+)\" height=\"(\\d+)\""_s
                                      : u"/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"_s);
    const QRegularExpressionMatch match = size.match(QString::fromLatin1(bytes));
    const double scale = name.endsWith(u".pdf"_s) ? 96.0 / 72.0 : 1.0;
    return QSize(qRound(match.captured(1).toDouble() * scale),
                 qRound(match.captured(2).toDouble() * scale));
}

} // namespace

class TestCommandLineWork : public QObject {
    Q_OBJECT

    QTemporaryDir home, dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    // The program as a script runs it, with no display; standard output to a
    // file when one is named.
    static Run lumetra(const QStringList& arguments, const QString& standardOutput = {}) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            qunsetenv(name);
        }
        QProcess process;
        if (!standardOutput.isEmpty()) {
            process.setStandardOutputFile(standardOutput);
        }
        process.start(QStringLiteral(LUMETRA_BINARY), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }

    // The same picture as the family's, written directly.
    QString direct(const QString& name, const QStringList& more = kArea) {
        const QString file = path(name);
        if (!QFile::exists(file)) {
            lumetra(QStringList{u"-o"_s, file} + kFamily + more);
        }
        return file;
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid() && dir.isValid());
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
            qputenv(name, home.path().toUtf8());
        }
        for (const char* format : {"svg", "pdf", "png"}) {
            const QString name = path(u"famiglia."_s + QLatin1String(format));
            const Run run = lumetra(QStringList{u"-o"_s, name} + kFamily + kArea);
            QCOMPARE(run.status, 0);
        }
    }

    // A picture's work drawn again into each format: the same picture as the
    // one written directly with the same curves.
    void drawsTheWorkAgain_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        for (const QString& from : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            for (const QString& to : {u"png"_s, u"svg"_s, u"pdf"_s}) {
                QTest::addRow("%s to %s", qPrintable(from), qPrintable(to)) << from << to;
            }
        }
    }
    void drawsTheWorkAgain() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const QString again = path(u"again-"_s + from + u'.' + to);
        const QString original = path(u"famiglia."_s + to);
        const Run run = lumetra({u"--da"_s, path(u"famiglia."_s + from), u"-o"_s, again});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QVERIFY(workOf(original).startsWith("LUMETRA work 1\n"));
        QCOMPARE(workOf(again), workOf(original));
        if (to == u"png"_s) {
            QCOMPARE(QImage(again), QImage(original));
        } else if (to == u"svg"_s) {
            QVERIFY(drawnElements(contents(original)).filter(u"circle "_s).size() > 1000);
            QCOMPARE(drawnElements(contents(again)), drawnElements(contents(original)));
        } else {
            QCOMPARE(undated(contents(again)), undated(contents(original)));
        }
    }

    // With --dimensioni every plot runs again at the new size, with its own
    // factor: a square picture of the family, still at factor 0.75.
    void drawsTheWorkAtANewSize_data() {
        QTest::addColumn<QString>("to");
        for (const QString& to : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            QTest::newRow(qPrintable(to)) << to;
        }
    }
    void drawsTheWorkAtANewSize() {
        QFETCH(QString, to);
        const QString again = path(u"square."_s + to);
        const Run run = lumetra(
            {u"--da"_s, path(u"famiglia.svg"_s), u"--dimensioni"_s, u"500x500"_s, u"-o"_s, again});
        QCOMPARE(run.status, 0);
        QCOMPARE(pictureSize(again), QSize(500, 500));
        const QString square = direct(u"direct-square."_s + to,
                                      {u"--dimensioni"_s, u"500x500"_s, u"--fattore"_s, u"0.75"_s});
        QCOMPARE(workOf(again), workOf(square));
        if (to == u"png"_s) {
            QCOMPARE(QImage(again), QImage(square));
        } else if (to == u"svg"_s) {
            QCOMPARE(drawnElements(contents(again)), drawnElements(contents(square)));
        } else {
            QCOMPARE(undated(contents(again)), undated(contents(square)));
        }
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

    // A file that is no LUMETRA work, or not one to trust: bad usage, the
    // reason in Italian, nothing written.
    void refusesDamagedWork_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray svg = contents(path(u"famiglia.svg"_s));
        const qsizetype work = svg.indexOf("LUMETRA work 1");
        QVERIFY(work > 0 && svg.contains("VALa=120 "));
        QTest::newRow("truncated") << svg.first(work + 40) << u"l'immagine è danneggiata"_s;
        QTest::newRow("no work") << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\">"
                                               "<circle cx=\"1\" cy=\"1\" r=\"1\"/></svg>")
                                 << u"non contiene un lavoro di LUMETRA"_s;
        QTest::newRow("version 2")
            << QByteArray(svg).replace("LUMETRA work 1", "LUMETRA work 2")
            << u"il lavoro è di una versione più recente di LUMETRA (formato 2)"_s;
        QTest::newRow("1e308") << QByteArray(svg).replace("VALa=120 ", "VALa=1e308 ")
                               << u"valore fuori misura: VALa=1e308"_s;
        QTest::newRow("text") << QByteArray("LUMETRA\n") << u"non è un'immagine PNG, SVG o PDF"_s;
    }
    void refusesDamagedWork() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString damaged = path(u"damaged.svg"_s);
        QVERIFY(write(damaged, bytes));
        const QString out = path(u"damaged.png"_s);
        const Run run = lumetra({u"--da"_s, damaged, u"-o"_s, out});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, u"lumetra: impossibile leggere il lavoro da "_s + damaged + u": "_s +
                              reason + u'\n');
        QVERIFY(!QFile::exists(out));
    }

    // -o - writes to standard output exactly the file -o FILE writes.
    void writesToStandardOutput_data() {
        QTest::addColumn<QString>("format");
        for (const QString& format : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            QTest::newRow(qPrintable(format)) << format;
        }
    }
    void writesToStandardOutput() {
        QFETCH(QString, format);
        const Run run =
            lumetra(QStringList{u"-o"_s, u"-"_s, u"--formato"_s, format} + kFamily + kArea);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(undated(run.out), undated(contents(path(u"famiglia."_s + format))));
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

    // The new options' faults: bad usage, nothing written.
    void refusesOptionsThatDoNotGo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("-o - alone")
            << QStringList{u"-o"_s, u"-"_s}
            << u"--output - scrive sullo standard output: manca --formato png, svg o pdf"_s;
        QTest::newRow("other format")
            << QStringList{u"-o"_s, u"@/a.png"_s, u"--formato"_s, u"svg"_s}
            << u"--formato svg non è il formato di --output \"@/a.png\""_s;
        QTest::newRow("unknown format") << QStringList{u"-o"_s, u"-"_s, u"--formato"_s, u"jpg"_s}
                                        << u"--formato \"jpg\": il formato è png, svg o pdf"_s;
        QTest::newRow("--da twice")
            << QStringList{u"--da"_s, u"a.svg"_s, u"--da"_s, u"b.svg"_s, u"-o"_s, u"@/a.png"_s}
            << u"--da è dato più volte: \"a.svg\", \"b.svg\""_s;
        for (const QString& option :
             {u"--lunghezza"_s, u"--angolo"_s, u"--incremento"_s, u"--fattore"_s}) {
            QTest::addRow("--da with %s", qPrintable(option))
                << QStringList{u"--da"_s, u"@/famiglia.svg"_s, option, u"1"_s,
                               u"-o"_s,   u"@/a.png"_s}
                << u"--da non si usa con "_s + option +
                       u": le curve sono quelle del lavoro salvato"_s;
        }
        for (const QString& option : {u"--x-cos"_s, u"--y-cos"_s, u"--corde"_s}) {
            QTest::addRow("--da with %s", qPrintable(option))
                << QStringList{u"--da"_s, u"@/famiglia.svg"_s, option, u"-o"_s, u"@/a.png"_s}
                << u"--da non si usa con "_s + option +
                       u": le curve sono quelle del lavoro salvato"_s;
        }
    }
    void refusesOptionsThatDoNotGo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = lumetra(arguments.replaceInStrings(u"@"_s, dir.path()));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, u"lumetra: "_s + message.replace(u"@"_s, dir.path()) +
                              u"\nPer l'aiuto: lumetra --help\n"_s);
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFile::exists(path(u"a.png"_s)));
    }

    // Which arguments start the windows: Qt's own switches, at most one file.
    void startsWindows_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("windows");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("a picture") << QStringList{u"famiglia.png"_s} << true;
        QTest::newRow("-platform") << QStringList{u"-platform"_s, u"offscreen"_s} << true;
        QTest::newRow("--platform") << QStringList{u"--platform"_s, u"offscreen"_s} << true;
        QTest::newRow("-platform and a picture")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"a.png"_s} << true;
        QTest::newRow("a picture and -style")
            << QStringList{u"a.png"_s, u"-style"_s, u"fusion"_s} << true;
        QTest::newRow("-style=") << QStringList{u"-style=fusion"_s, u"a.png"_s} << true;
        QTest::newRow("-reverse") << QStringList{u"-reverse"_s, u"a.png"_s} << true;
        QTest::newRow("all of X11's")
            << QStringList{u"-display"_s, u":1"_s,     u"-geometry"_s, u"640x480"_s, u"-name"_s,
                           u"x"_s,        u"-title"_s, u"t"_s,         u"-sync"_s,   u"-nograb"_s}
            << true;
        QTest::newRow("two pictures") << QStringList{u"a.png"_s, u"b.png"_s} << false;
        QTest::newRow("-o") << QStringList{u"-o"_s, u"x.png"_s} << false;
        QTest::newRow("--help") << QStringList{u"--help"_s} << false;
        QTest::newRow("-v") << QStringList{u"-v"_s} << false;
        QTest::newRow("--da") << QStringList{u"--da"_s, u"a.png"_s} << false;
        QTest::newRow("-platform and -o")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"-o"_s, u"x.png"_s} << false;
        QTest::newRow("a picture and an option")
            << QStringList{u"a.png"_s, u"--legenda"_s} << false;
        QTest::newRow("-") << QStringList{u"-"_s} << false;
    }
    void startsWindows() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, windows);
        QCOMPARE(lumetra::cli::startsWindows(arguments), windows);
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
