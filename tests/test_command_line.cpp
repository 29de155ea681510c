// The command line as a script runs it: the real program, with no display and
// no QT_QPA_PLATFORM; its pictures, exit statuses and messages.

#include "app/program.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir, faults;

    // The exit status, then standard output, then standard error.
    static std::tuple<int, QString, QString> lumetra(const QStringList& arguments) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            qunsetenv(name); // the program finds no screen, whatever this process has
        }
        QProcess process;
        process.start(QStringLiteral(LUMETRA_BINARY), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    // Two plots in the plot window, at its size and factor: the same pixels.
    void theWorkedExampleAsThePlotWindowShowsIt() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachParameterWindow(program));
        QVERIFY(lumetra::testing::click(program.form3(), u"AVANTI"_s));
        QVERIFY(lumetra::testing::waitActive(program, lumetra::forms::FormId::Form4));
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

    // Each fault its message and status; nothing created or replaced unless written. Row:
    // name|arguments (@ the folder)|status|what standard error, or output for 0, contains.
    void exitStatusesAndMessages_data() {
        QTest::addColumn<QString>("row");
        for (const QString& row :
             {u"help|--help|0|--dimensioni <LxA>   Larghezza e altezza in pixel"_s,
              // The Nth curve takes the Nth value of each option, or its last.
              u"overflow|-o @/old.png --angolo 45.000 --lunghezza 86 --lunghezza 86 --lunghezza"
              u" 5 --incremento 1 --incremento 400 --x-cos --corde|3|curva 2 (OA 86 · 45° · "
              u"incr. 400 · X=OA Cos · corde) interrotta: Overflow\nlumetra: curva 3 (OA 5 · "
              u"45° · incr. 400 · X=OA Cos · corde) interrotta: Overflow\n"_s,
              u"no folder|-o @/none/a.pdf|1|/none non esiste\n"_s,
              u"unknown|-o @/old.png --colore 3|2|: opzione sconosciuta: --colore\n"_s,
              u"no value|-o @/old.png --angolo|2|: manca il valore dopo --angolo\n"_s,
              u"text|-o @/old.png --lunghezza abc|2|: --lunghezza \"abc\" non è un numero\n"_s,
              u"inf|-o @/old.png --angolo inf|2|: --angolo \"inf\" non è un numero\n"_s,
              u"nan|-o @/old.png --incremento nan|2|: --incremento \"nan\" non è un numero"_s,
              u"1e999|-o @/old.png --fattore 1e999|2|: --fattore \"1e999\" non è un numero"_s,
              u"zero|-o @/old.png --dimensioni 0x800|2|\": ogni lato va da 16 a 16384 pixel"_s,
              u"negative|-o @/old.png --dimensioni -5x10|2|\"-5x10\": ogni lato va da 16"_s,
              u"over|-o @/old.png --dimensioni 1280x16385|2|\"1280x16385\": ogni lato"_s,
              u"factor|-o @/old.png --fattore 0,09|2|\"0,09\": il fattore va da 0,1 a 10\n"_s,
              u"extension|-o @/old.jpg|2|/old.jpg\": l'estensione deve essere .png, .svg o"_s,
              u"no output|--angolo 30|2|lumetra: manca --output FILE"_s,
              u"twice|-o @/old.png --output @/b.svg|2|: --output è dato più volte: \""_s}) {
            QTest::newRow(qPrintable(row.section(u'|', 0, 0))) << row;
        }
    }
    void exitStatusesAndMessages() {
        QFETCH(QString, row);
        const QStringList field = row.split(u'|');
        QFile old(faults.filePath(u"old.png"_s));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const auto [exit, out, err] =
            lumetra(field[1].split(u' ').replaceInStrings(u"@"_s, faults.path()));
        QCOMPARE(QString::number(exit), field[2]);
        QVERIFY2((exit == 0 ? out : err).contains(field[3]), qPrintable(err));
        QCOMPARE(QDir(faults.path()).entryList(QDir::Files), QStringList{u"old.png"_s});
        QCOMPARE(old.open(QIODevice::ReadOnly) && old.readAll() == "old", exit != 3);
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
