// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that open again as live work: the work's text read back or
// refused, a saved picture reopened pixel for pixel with its values, bad
// files refused with everything left alone, the fields that follow undo, the
// recent files and the menu from the keyboard.

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

#include <cmath>

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

    void readsTheWrittenText() {
        const auto work = parseWork(kTwoPlots);
        QVERIFY(std::holds_alternative<Work>(work));
        const auto& record = std::get<Work>(work).record;
        QCOMPARE(std::get<Work>(work).Incr, 0.55000000000000004);
        QCOMPARE(record.size(), std::size_t{2});
        const RecordedPlot& second = record.plots()[1];
        QVERIFY(std::isnan(second.VALa));
        QCOMPARE(second.VALb, -35.5);
        QCOMPARE(second.area(), QSize(640, 400));
        QCOMPARE(second.Miocolor, std::int16_t{14});
        QCOMPARE(second.xCosine, true);
        QCOMPARE(second.chords, true);
        QCOMPARE(second.activation, false);
        QCOMPARE(workText(record), kTwoPlots);
    }

    void refusesWhatItCannotTrust_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        // `from` replaced by `to` in the work: refused for `reason`, else as out of measure.
        const auto row =
            [](const char* name, const char* from, const char* to, QString reason = {}) {
                QTest::newRow(name)
                    << replaced(kTwoPlots, from, to)
                    << (reason.isEmpty() ? u"valore fuori misura: "_s + QLatin1String(to) : reason);
            };
        QTest::newRow("no work") << "LUMETRA\n"_ba << u"non contiene un lavoro di LUMETRA"_s;
        row("newer format", "work 1", "work 2",
            u"il lavoro è di una versione più recente di LUMETRA (formato 2)"_s);
        QTest::newRow("cut short")
            << kTwoPlots.first(kTwoPlots.size() - 30) << u"il lavoro è incompleto"_s;
        row("a plot missing", "plots 2", "plots 3", u"il lavoro è incompleto"_s);
        row("length 1e308", "VALa=86", "VALa=1e308");
        row("NaN", "VALb=55", "VALb=nan");
        row("negative area", "area=500x275", "area=-500x275");
        row("a million plots", "plots 2", "plots 1000000",
            u"troppe curve (1000000; al massimo 100000)"_s);
        row("a field renamed", "Miocolor=0", "colour=0",
            u"il lavoro è danneggiato (manca Miocolor)"_s);
        row("counter beyond 16 bits", "Miocolor=14", "Miocolor=40000");
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

    void printedPdfCarriesTheWork() {
        QVERIFY(plotThree());
        QPrinter printer;
        printer.setOutputFileName(path(u"stampa.pdf"_s));
        form4().pictureMenu().printOn(printer);
        const auto work = readWorkFile(path(u"stampa.pdf"_s));
        QVERIFY(std::holds_alternative<Work>(work));
        QCOMPARE(std::get<Work>(work).record.size(), std::size_t{3});
        // Dropped on a cleared plot window, the file brings its three curves back.
        QVERIFY(click(form4(), u"Cancel e traccia"_s));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(u"stampa.pdf"_s))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form4(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form4(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(form4().record().size(), std::size_t{3});
    }

    void takingBackTheOpeningBringsThePictureBack() {
        QVERIFY(plotThree());
        const QString name = path(u"tre.svg"_s);
        form4().pictureMenu().saveAs(name, PictureFormat::Svg);
        QVERIFY(click(form4(), u"Cancel e traccia"_s));
        const QImage before = area();
        QVERIFY(form4().pictureMenu().openFile(name));
        QVERIFY(area() != before);
        QTest::keyClick(&form4(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(area(), before);
        QCOMPARE(form4().record().size(), std::size_t{1});
    }

    void badFilesLeaveEverythingAlone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QByteArray plainPng;
        QBuffer buffer(&plainPng);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG"));
        QTest::newRow("a PNG without work") << plainPng << u"non contiene un lavoro di LUMETRA"_s;
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
    }

    void undoBringsTheFieldsBack() {
        QVERIFY(plotThree());
        QTest::keyClick(&form4(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field(u"Text2"_s)->text(), u"55"_s);
        QCOMPARE(buttonShowing(form4(), u"X=OA Cos"_s)->isChecked(), true);
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QCOMPARE(form4().record().plots().back().VALb, 55.0);
        QCOMPARE(form4().record().plots().back().xCosine, true);
    }

    void recentFileGoneIsDropped() {
        QVERIFY(plotThree());
        const QString kept = path(u"resta.svg"_s), gone = path(u"sparito.svg"_s);
        form4().pictureMenu().saveAs(gone, PictureFormat::Svg);
        form4().pictureMenu().saveAs(kept, PictureFormat::Svg);
        QCOMPARE(lumetra::forms::RecentFiles::list().mid(0, 2), (QStringList{kept, gone}));
        QVERIFY(QFile::remove(gone));
        const auto menus = form4().findChildren<QMenu*>();
        const auto found = std::ranges::find(menus, u"File recenti"_s, &QMenu::title);
        QVERIFY(found != menus.end());
        QMenu* files = *found;
        emit files->aboutToShow();
        QCOMPARE(files->actions().at(1)->text(), u"sparito.svg"_s);
        files->actions().at(1)->trigger();
        QCOMPARE(ui->messages.last(),
                 u"Il file "_s + gone + u" non esiste più: è tolto dai file recenti."_s);
        QVERIFY(!lumetra::forms::RecentFiles::list().contains(gone));
    }

    void bringsBackAbandonedWork_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Sì") << true;
        QTest::newRow("No") << false;
    }
    void bringsBackAbandonedWork() {
        QFETCH(bool, answer);
        program.reset(); // its journal goes with it
        const auto record = std::get<Work>(parseWork(kTwoPlots)).record;
        // A journal its program never finished, as a kill leaves it.
        QCOMPARE(WorkJournal(record).start(keptWorkPath()), std::nullopt);
        restart();
        ui->answer = answer;
        QCOMPARE(program->offerAbandonedWork(), answer);
        QCOMPARE(ui->questions,
                 QStringList{u"LUMETRA non si è chiuso normalmente e ha custodito il lavoro in "
                             u"corso (curve: 2).\nRiprendere il lavoro?"_s});
        QCOMPARE(QFile::exists(keptWorkPath()), answer);
        if (answer) {
            QVERIFY(waitActive(*program, FormId::Form4));
            QCOMPARE(form4().record().size(), std::size_t{2});
            QCOMPARE(undoText(), u"Annulla ripresa del lavoro"_s);
        }
        program.reset(); // a normal end takes the kept work away
        QCOMPARE(QFile::exists(keptWorkPath()), false);
    }

    // Shift+F10 and the Menu key, beside the drawing rather than over a control.
    void menuFromTheKeyboard() {
        QVERIFY(plotThree());
        QAbstractButton* button = buttonShowing(form4(), u"TRACCIA"_s);
        for (const QKeyCombination key : {Qt::SHIFT | Qt::Key_F10, QKeyCombination(Qt::Key_Menu)}) {
            button->setFocus();
            QTest::keyClick(button, key.key(), key.keyboardModifiers());
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY2(menu,
                     qPrintable(key.toCombined() == Qt::Key_Menu ? u"Menu"_s : u"Shift+F10"_s));
            QCOMPARE(form4().childAt(form4().mapFromGlobal(menu->pos())), nullptr);
            menu->close();
        }
    }
};

LUMETRA_HERMETIC_MAIN(TestReopening, QApplication)
#include "test_reopening.moc"
