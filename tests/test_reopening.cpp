// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that open again as live work: the work's text read back or
// refused, a saved picture reopened pixel for pixel with its values, a
// printed PDF dropped on the window and taken back, bad files refused with
// everything left alone and undo still at hand, work a killed program kept.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "forms/recent_files.h"
#include "output/picture_file.h"
#include "output/work_in_picture.h"
#include "output/work_journal.h"
#include "output/work_text.h"
#include "support/files.h"
#include "support/hermetic_main.h"
#include "support/walk.h"

#include <QPrinter>
#include <QtTest>
#include <QtWidgets>

using lumetra::app::FormId;
using namespace Qt::StringLiterals;
using namespace lumetra::testing;
using namespace lumetra::output;

namespace {

// The work of two plots, as the format's description writes it.
const QByteArray kTwoPlots = "LUMETRA work 1\n"
                             "Incr 0.55000000000000004\n"
                             "plots 2\n"
                             "plot VALa=86 VALb=55 VALe=1 Incr=0.55000000000000004 area=500x275 "
                             "Miocolor=0 xcos=0 ycos=0 chords=0 activation=1\n"
                             "plot VALa=\"\" VALb=-35.5 VALe=2 Incr=0.55000000000000004 "
                             "area=640x400 Miocolor=14 xcos=1 ycos=0 chords=1 activation=0\n"
                             "end\n";

QByteArray replaced(QByteArray text, const QByteArray& from, const QByteArray& to) {
    return text.replace(from, to);
}

} // namespace

class TestReopening : public QObject, Session {
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString& name) { return dir.filePath(name); }
    lumetra::forms::Form4& form4() { return program->form4(); }
    QLineEdit* field(const QString& name) {
        return program->form3().controls().get<QLineEdit>(name);
    }
    QImage area() { return shownArea(form4().surface()); }
    // In a new program, the worked example, then X=OA Cos with chords, then 35°
    // plotted from the parameter window: three curves, the last with its own values.
    bool plotThree() {
        restart();
        if (!reachPlotWindow(*program) || !click(form4(), u"X=OA Cos"_s) ||
            !click(form4(), u"Traccia le linee tra le curve di I° livello"_s) ||
            !click(form4(), u"RIPRENDI i dati"_s) || !waitActive(*program, FormId::Form3)) {
            return false;
        }
        field(u"Text2"_s)->setText(u"35"_s);
        return click(program->form3(), u"AVANTI"_s) && waitActive(*program, FormId::Form4);
    }
    QString undoText() { return form4().actions().first()->text(); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        lumetra::app::prepareApplication();
    }

    // Every field of two unusual plots, an empty length among them, read and written again.
    void readsBackWhatItWrites() {
        const auto work = parseWork(kTwoPlots);
        QVERIFY(std::holds_alternative<Work>(work));
        QCOMPARE(workText(std::get<Work>(work).record), kTwoPlots);
    }

    void refusesWhatItCannotTrust_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no work") << "LUMETRA\n"_ba << u"non contiene un lavoro di LUMETRA"_s;
        QTest::newRow("newer format")
            << replaced(kTwoPlots, "work 1", "work 2")
            << u"il lavoro è di una versione più recente di LUMETRA (formato 2)"_s;
        QTest::newRow("cut short")
            << kTwoPlots.first(kTwoPlots.size() - 30) << u"il lavoro è incompleto"_s;
        // A NaN passes every comparison with a limit.
        QTest::newRow("NaN") << replaced(kTwoPlots, "VALb=55", "VALb=nan")
                             << u"valore fuori misura: VALb=nan"_s;
        QTest::newRow("a million plots") << replaced(kTwoPlots, "plots 2", "plots 1000000")
                                         << u"troppe curve (1000000; al massimo 100000)"_s;
    }
    void refusesWhatItCannotTrust() {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        const auto work = parseWork(text);
        QVERIFY(std::holds_alternative<WorkError>(work));
        QCOMPARE(std::get<WorkError>(work).reason, reason);
    }

    void reopensPixelForPixel_data() {
        QTest::addColumn<PictureFormat>("format");
        for (const PictureFormat format :
             {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
            QTest::newRow(qPrintable(extensionOf(format))) << format;
        }
    }
    void reopensPixelForPixel() {
        QFETCH(PictureFormat, format);
        QVERIFY(plotThree());
        const QImage before = area();
        const int Miocolor = program->form3().Miocolor();
        const QString name = path(u"famiglia."_s + extensionOf(format));
        form4().pictureMenu().saveAs(name, format);
        QCOMPARE(ui->messages, QStringList());

        restart();
        program->startWith(name);
        QVERIFY(waitActive(*program, FormId::Form4));
        QCOMPARE(form4().record().size(), std::size_t{3});
        QTRY_COMPARE(area().size(), before.size()); // once the window has its size
        QCOMPARE(area(), before);
        QCOMPARE(program->form3().Miocolor(), Miocolor);
        QCOMPARE(field(u"Text1"_s)->text(), u"86"_s);
        QCOMPARE(field(u"Text2"_s)->text(), u"35"_s);
        QCOMPARE(buttonShowing(form4(), u"X=OA Cos"_s)->isChecked(), true);
        QCOMPARE(undoText(), u"Annulla apertura di "_s + QFileInfo(name).fileName());
        QCOMPARE(lumetra::forms::RecentFiles::list().first(), name);
        // TRACCIA goes on from the picture: the last curve again, in the next colour.
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QCOMPARE(form4().record().plots().back().VALb, 35.0);
        QCOMPARE(int{form4().record().plots().back().Miocolor}, Miocolor);
    }

    // A PDF printed to a file carries the work: dropped on the cleared window it
    // brings the three curves back, and Ctrl+Z takes the opening back.
    void printedPdfCarriesTheWork() {
        QVERIFY(plotThree());
        QPrinter printer;
        printer.setOutputFileName(path(u"stampa.pdf"_s));
        form4().pictureMenu().printOn(printer);
        QVERIFY(click(form4(), u"Cancel e traccia"_s));
        const QImage cleared = area();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(u"stampa.pdf"_s))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form4(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form4(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(form4().record().size(), std::size_t{3});
        QVERIFY(area() != cleared);
        QTest::keyClick(&form4(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(area(), cleared);
        QCOMPARE(form4().record().size(), std::size_t{1});
    }

    void badFilesLeaveEverythingAlone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text") << "ciao"_ba << u"non è un'immagine PNG, SVG o PDF"_s;
        const QByteArray svg = "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\">"
                               "<metadata><lumetra:work xmlns:lumetra=\"https://lumetra.github.io/"
                               "ns/work/1\">" +
                               replaced(kTwoPlots, "VALa=86", "VALa=1e308") +
                               "</lumetra:work></metadata></svg>";
        QTest::newRow("absurd length") << svg << u"valore fuori misura: VALa=1e308"_s;
        QTest::newRow("cut in the middle")
            << svg.first(svg.size() / 2) << u"l'immagine è danneggiata"_s;
    }
    void badFilesLeaveEverythingAlone() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QVERIFY(plotThree());
        const QImage before = area();
        const QString name = path(u"rotto"_s);
        QVERIFY(writeFile(name, bytes));
        QVERIFY(!form4().pictureMenu().openFile(name));
        QCOMPARE(ui->messages, QStringList{u"Impossibile aprire "_s + name + u": "_s + reason});
        QCOMPARE(area(), before);
        QCOMPARE(form4().record().size(), std::size_t{3});
        QCOMPARE(field(u"Text2"_s)->text(), u"35"_s);
        QCOMPARE(undoText(), u"Annulla curva (OA 86 · 35°)"_s);
        // Undo still takes the last curve back, and the fields with it.
        QTest::keyClick(&form4(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field(u"Text2"_s)->text(), u"55"_s);
        QCOMPARE(buttonShowing(form4(), u"X=OA Cos"_s)->isChecked(), true);
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QCOMPARE(form4().record().plots().back().VALb, 55.0);
    }

    // The work a killed program kept, taken back on "Sì".
    void bringsBackAbandonedWork() {
        program.reset(); // its journal goes with it
        const auto record = std::get<Work>(parseWork(kTwoPlots)).record;
        // A journal its program never finished, as a kill leaves it.
        QCOMPARE(WorkJournal(record).start(keptWorkPath()), std::nullopt);
        restart();
        ui->answer = true;
        QVERIFY(program->offerAbandonedWork());
        QCOMPARE(ui->questions,
                 QStringList{u"LUMETRA non si è chiuso normalmente e ha custodito il lavoro in "
                             u"corso (curve: 2).\nRiprendere il lavoro?"_s});
        QVERIFY(waitActive(*program, FormId::Form4));
        QCOMPARE(form4().record().size(), std::size_t{2});
        QCOMPARE(undoText(), u"Annulla ripresa del lavoro"_s);
        program.reset(); // a normal end takes the kept work away
        QCOMPARE(QFile::exists(keptWorkPath()), false);
    }
};

LUMETRA_HERMETIC_MAIN(TestReopening, QApplication)
#include "test_reopening.moc"
