// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows through their real controls, offscreen: the shell's rules,
// the calibration window, the parameter window's checks, the plot window's
// commands and their undoing. Plots are read back from the picture.

#include "app/program.h"
#include "app/start_up.h"
#include "controls/wrapping_button.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "runtime/palette.h"
#include "support/hermetic_main.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

#include <array>
#include <cmath>
#include <numbers>

using lumetra::forms::FormId;
using namespace lumetra::testing;
using namespace Qt::StringLiterals;

namespace {

QRgb colour(int index) {
    return 0xFF000000U | lumetra::runtime::QBColor(index);
}

// Whether `wanted` is at the user point (x, y) of a scale w x h units, or next to it.
bool colourNear(const QImage& image, double x, double y, double w, double h, QRgb wanted) {
    const QPoint at(qRound(x / w * image.width()), qRound(y / h * image.height()));
    const int r = qRound(image.devicePixelRatio()), side = 2 * r + 1; // a window pixel either way
    bool near = false;
    for (int i = 0; i < side * side; ++i) {
        const QPoint p = at + QPoint(i % side - r, i / side - r);
        near = near || (image.valid(p) && image.pixel(p) == wanted);
    }
    return near;
}

// The calibration figure for `factor` is red at `degrees`: a circle of 36367.363
// units round (93183.68, half the height) on a scale 146367.36 across.
bool figureShown(const QImage& image, double factor, double degrees) {
    const double w = 146367.36F, h = static_cast<float>(w * factor), r = 36367.363F;
    const double rad = degrees * std::numbers::pi / 180.0;
    return colourNear(image, w / 2 + 20000 + std::cos(rad) * r, h / 2 + std::sin(rad) * r, w, h,
                      colour(4));
}

// The parameter window's text boxes for VALa, VALb and VALe, and what they first show.
const QString kFields[] = {u"Text1"_s, u"Text2"_s, u"Text5"_s};
const QStringList kDefaults{u"86"_s, u"55"_s, u"1"_s};

} // namespace

class TestWindows : public QObject, Session {
    Q_OBJECT

    bool waitActive(FormId id) { return lumetra::testing::waitActive(*program, id); }
    bool switchTo(FormId id) {
        program->window(id).activateWindow();
        return waitActive(id);
    }
    bool avanti() { return click(program->form3(), u"AVANTI"_s) && waitActive(FormId::Form4); }
    bool plotClick(const QString& caption) { return click(form4(), caption); }
    QScrollBar* scrollBar() { return program->form2().controls().get<QScrollBar>(u"HScroll1"_s); }
    QLineEdit* field(int i) { return program->form3().controls().get<QLineEdit>(kFields[i]); }
    QImage picture() { return shownArea(form4().surface()); }
    QRgb ink() { return form4().surface().foreground().rgb(); }
    // A point (x, y) from O, y upwards, on the plot window of height h units.
    bool plotted(double x, double y, double h, QRgb wanted) {
        return colourNear(picture(), 260.0 + x, h / 2 - y, 500.0, h, wanted);
    }
    // The curve of palette colour `index` ends at A, (49.3276, 70.4471) from O.
    bool endsAtA(double h, int index) { return plotted(49.3276, 70.4471, h, colour(index)); }

    // Each field's text, after "red:" on red.
    QStringList shown() {
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            const bool red = field(i)->palette().color(QPalette::Base) == QColor(255, 0, 0);
            seen << (red ? u"red:"_s : QString()) + field(i)->text();
        }
        return seen;
    }
    // Both axes, the vertical one at x = 260 and not 250, and the first family OA, in ink.
    bool frameDrawn(double h) {
        bool drawn = !plotted(-10.0, h / 4.0, h, ink());
        for (const double t : {0.2, 0.5, 0.8}) {
            drawn = drawn && plotted(0.0, t * h / 2.0, h, ink()) &&
                    plotted(-t * 260, 0, h, ink()) && plotted(t * 49.3276, t * 70.4471, h, ink());
        }
        return drawn;
    }
    // Only the background, with the foreground and these palette colours if any are given.
    bool drawnIn(std::initializer_list<int> palette) {
        QSet<QRgb> wanted{form4().surface().background().rgb()};
        for (const int index : palette) {
            wanted << ink() << colour(index);
        }
        const QImage image = picture().convertToFormat(QImage::Format_ARGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return QSet<QRgb>(pixels, pixels + image.width() * image.height()) == wanted;
    }

    lumetra::forms::Form4& form4() { return program->form4(); }
    const QString curve = u"curva (OA 86 · 55°)"_s;
    // The picture, beyond the window's area too, and the colour counter.
    QPair<QImage, int> now() { return {form4().surface().image(), program->form3().Miocolor()}; }
    // "Annulla" and "Ripeti" as the menu shows them, a disabled one in brackets.
    QString entry(QAction* a) { return a->isEnabled() ? a->text() : u'[' + a->text() + u']'; }
    QString entries() { return entry(form4().actions()[0]) + u'/' + entry(form4().actions()[1]); }
    void press(Qt::KeyboardModifiers keys) { QTest::keyClick(&form4(), Qt::Key_Z, keys); }

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        restart();
    }

    void shellRules() {
        // Reading a variable creates the window hidden and runs no handler.
        QVERIFY(!program->exists(FormId::Form2));
        QVERIFY(program->calibrationFactor().isEmpty());
        QCoreApplication::processEvents();
        QVERIFY(!program->form2().isVisible());
        QVERIFY(program->form2().Incr().isEmpty());
        // Memory running out abandons its handler only, with its message over the
        // window (a run-time error's message: fieldCheck).
        QWidget& window = program->form2();
        int reached = 0;
        program->run(&window, [] { throw std::bad_alloc(); });
        program->run(&window, [&] { reached += 10; });
        QCOMPARE(reached, 10);
        QCOMPARE(ui->messages, QStringList{u"Memoria esaurita"_s});
        QCOMPARE(ui->messageWindows, QList<QWidget*>{&window});
    }

    // Where the controls stand (their twips) and the windows' captions and sizes: the
    // end-to-end test, which clicks at those places.
    void layoutsFromTheirTables() {
        auto* clear = dynamic_cast<lumetra::controls::WrappingButton*>(
            form4().controls().widget(u"Command2"_s));
        QCOMPARE(clear->captionLines(), (QStringList{u"Cancella e riprendi      "_s, u"i dati"_s}));
        // The parameter window's tab order, and its text boxes named by their labels.
        QVERIFY(reachParameterWindow(*program));
        QTRY_COMPARE(QApplication::focusWidget(), field(0));
        for (const char* next : {"Text2", "Command2", "Command1", "Text5", "Text1"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        QCOMPARE(field(0)->accessibleName(),
                 program->form3().controls().widget(u"Label2"_s)->property("text").toString());
    }

    // Under Italian settings, which show the factor with a comma.
    void calibrationWindow() {
        QLocale::setDefault(QLocale(u"it_IT"_s));
        // Closed before it was ever shown, the window stays; "AVANTI" opens it, activated.
        auto& form = program->form2();
        program->show(FormId::Form1);
        QVERIFY(waitActive(FormId::Form1));
        QVERIFY(form.close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(click(program->form1(), u"AVANTI"_s));
        QVERIFY(waitActive(FormId::Form2));
        QCOMPARE(&program->form2(), &form);
        QCOMPARE(form.controls().get<QLineEdit>(u"Text1"_s)->text(), u"0,51"_s);
        QCOMPARE(form.lastFigurePoints(), 3600);
        const auto image = [&] { return shownArea(form.surface()); };
        for (double degrees = 0.0; degrees < 360.0; degrees += 45.0) {
            QVERIFY(figureShown(image(), 0.51, degrees));
        }
        // The scroll bar has the focus; a larger factor keeps the figure, a smaller clears.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(scrollBar()));
        QTest::keyClick(form.windowHandle(), Qt::Key_Right);
        QTest::keyClick(scrollBar(), Qt::Key_Right);
        QVERIFY(figureShown(image(), 0.51, 90));
        QVERIFY(figureShown(image(), 0.5700000000000001, 90));
        QTest::keyClick(scrollBar(), Qt::Key_Left);
        QVERIFY(figureShown(image(), 0.55, 90));
        QVERIFY(!figureShown(image(), 0.51, 90));
        // 0.53 is refused, 0.55 goes on; after "ESCI" no handler runs, activation included.
        QTest::keyClick(scrollBar(), Qt::Key_Left);
        QVERIFY(click(form, u"OK - continua"_s));
        QVERIFY(!program->exists(FormId::Form3));
        QCOMPARE(ui->messages, QStringList{u"Impostare la risoluzione SCHERMO"_s});
        QTest::keyClick(scrollBar(), Qt::Key_Right);
        QVERIFY(click(form, u"OK - continua"_s));
        QVERIFY(waitActive(FormId::Form3));
        QVERIFY(click(program->form3(), u"ESCI"_s));
        QCOMPARE(ui->endCount, 1);
        QTest::keyClick(scrollBar(), Qt::Key_Right);
        program->windowActivated(FormId::Form2);
        QCOMPARE(form.Incr().arithmetic(), 0.55);
    }

    void fieldCheck_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted as 12.5
        const QLocale it(u"it_IT"_s), en(u"en_US"_s);
        QTest::newRow("empty") << it << 0 << u""_s << u"VALa non è un numero"_s;
        QTest::newRow("nan") << it << 1 << u"nan"_s << u"VALb non è un numero"_s;
        QTest::newRow("1e400") << en << 2 << u"1e400"_s << u"VALe non è un numero"_s;
        QTest::newRow("it 12,5") << it << 1 << u"12,5"_s << QString();
        QTest::newRow("it 12.5") << it << 1 << u"12.5"_s << u"VALb non è un numero"_s;
        QTest::newRow("en 12.5") << en << 1 << u"12.5"_s << QString();
    }
    void fieldCheck() {
        QFETCH(QLocale, locale);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QVERIFY(reachParameterWindow(*program));
        QCOMPARE(shown(), kDefaults);
        QLocale::setDefault(locale);
        field(index)->setText(text);
        // While the box is open the field still shows what the user typed, white.
        QStringList seenWhileOpen;
        ui->onMessage = [&](const QString&) { seenWhileOpen << shown()[index]; };
        QVERIFY(click(program->form3(), u"AVANTI"_s));
        const auto& form = program->form3();
        const auto& variable = *std::array{&form.VALa(), &form.VALb(), &form.VALe()}[index];
        QCOMPARE(ui->messages, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(program->exists(FormId::Form4), message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(variable.arithmetic(), 12.5);
            return;
        }
        QCOMPARE(seenWhileOpen, QStringList{text});
        QCOMPARE(shown()[index], u"red:"_s);
        // Only the first wrong field is reported; a corrected one stays red through
        // a successful "AVANTI", and the return to the window whitens it.
        field(index)->setText(u"7"_s);
        field((index + 1) % 3)->setText(u"x"_s);
        QVERIFY(click(program->form3(), u"AVANTI"_s));
        QCOMPARE(ui->messages.size(), 2);
        field((index + 1) % 3)->setText(kDefaults[(index + 1) % 3]);
        QVERIFY(avanti());
        QCOMPARE(shown()[index], u"red:7"_s);
        QVERIFY(plotClick(u"RIPRENDI i dati"_s));
        QVERIFY(waitActive(FormId::Form3));
        QCOMPARE(shown()[index], u"7"_s);
        // Refused again, the entry fails the open plot window's next activation
        // with a type mismatch over it: the picture is kept and colour 3 spent.
        field(index)->setText(text);
        QVERIFY(click(program->form3(), u"AVANTI"_s));
        QVERIFY(switchTo(FormId::Form4));
        QCOMPARE(ui->messages.mid(2), (QStringList{message, u"Tipo non corrispondente"_s}));
        QCOMPARE(ui->messageWindows.back(), static_cast<QWidget*>(&form4()));
        QVERIFY(drawnIn({2}));
        QVERIFY(switchTo(FormId::Form3));
        field(index)->setText(kDefaults[index]);
        QVERIFY(avanti());
        QVERIFY(endsAtA(275.0, 4));
    }

    void plotWindowCommands() {
        QVERIFY(reachParameterWindow(*program));
        program->form3().setMiocolor(15); // "AVANTI" starts the counter again from 0
        QVERIFY(avanti());
        QVERIFY(frameDrawn(275.0));
        QVERIFY(drawnIn({2}));
        // After "RIPRENDI" (which keeps the plot: the end-to-end test) the
        // next activation plots the next curve over it.
        QVERIFY(plotClick(u"RIPRENDI i dati"_s));
        QVERIFY(waitActive(FormId::Form3));
        QVERIFY(switchTo(FormId::Form4));
        QVERIFY(drawnIn({3}));
        // Check boxes only record their answer; the next plot takes it.
        const auto& answers = form4().variables();
        QVERIFY(plotClick(u"X=OA Cos"_s));
        QVERIFY(answers.Risposta1.equalsNumber(7));
        QVERIFY(answers.Risposta2.isEmpty());
        QVERIFY(drawnIn({3}));
        QVERIFY(plotClick(u"TRACCIA"_s));
        QVERIFY(plotted(49.3276, 0, 275, ink()));
        QVERIFY(drawnIn({3, 4}));
        QVERIFY(plotClick(u"X=OA Cos"_s));
        QVERIFY(answers.Risposta1.equalsNumber(0));
        // The chord command: every sixteenth pair joined by a line in the
        // curve's colour, which the next curve's dots do not cover.
        QVERIFY(plotClick(u"Traccia le linee tra le curve di I° livello"_s));
        QVERIFY(drawnIn({4, 5}));
        // The middle of chord 28 of 56, at pass 448, from the first family to the second.
        const QPointF mid(40.8901, 43.7657);
        QVERIFY(plotted(mid.x(), mid.y(), 275, colour(5)));
        QVERIFY(plotClick(u"TRACCIA"_s));
        QVERIFY(plotted(mid.x(), mid.y(), 275, colour(5)));
        // "Cancel e traccia": the axes and exactly one new curve.
        QVERIFY(plotClick(u"Cancel e traccia"_s));
        QVERIFY(frameDrawn(275.0));
        QVERIFY(drawnIn({7}));
        QVERIFY(plotClick(u"Cancella e riprendi      i dati"_s));
        QVERIFY(waitActive(FormId::Form3));
        QVERIFY(drawnIn({}));
        QCOMPARE(ui->endCount, 0);
        // The calibration window's activation puts the factor back to 0.51, for the next plot.
        QVERIFY(switchTo(FormId::Form2));
        QVERIFY(switchTo(FormId::Form4));
        QVERIFY(frameDrawn(255.0));
        QVERIFY(endsAtA(255.0, 8));
    }
    // Steps taken back and done again: the pixels and the colour counter
    // around each kind of step, the menu's two entries and their keys.
    void undoAndRedo_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("name");
        QTest::newRow("clear") << u"Cancella e riprendi      i dati"_s << u"cancellazione"_s;
        QTest::newRow("clear, plot") << u"Cancel e traccia"_s << u"cancellazione e "_s + curve;
        QTest::newRow("overflow") << u"400"_s << curve;
        QTest::newRow("smaller window") << u"TRACCIA"_s << curve;
    }
    void undoAndRedo() {
        QFETCH(QString, step);
        QFETCH(QString, name);
        // The activation's curve, the same again over it, the same with its chords,
        // then one with X=OA Cos.
        QVERIFY(reachPlotWindow(*program));
        for (const QString& caption :
             {u"TRACCIA"_s, u"Traccia le linee tra le curve di I° livello"_s, u"X=OA Cos"_s,
              u"TRACCIA"_s}) {
            QVERIFY2(click(form4(), caption), qPrintable(caption));
        }
        form4().resize(form4().size() / (QTest::currentDataTag() == "smaller window"_ba ? 2 : 1));
        QTRY_COMPARE(form4().surface().logicalSize(), form4().size());
        const auto before = now();
        if (step == u"400"_s) { // an overflowing increment, entered in the parameter window
            QVERIFY(click(form4(), u"RIPRENDI i dati"_s));
            QVERIFY(waitActive(FormId::Form3));
            field(2)->setText(step);
            QVERIFY(avanti());
        } else {
            QVERIFY(click(form4(), step));
        }
        const auto after = now();
        QVERIFY(after.first != before.first);
        press(Qt::ControlModifier);
        QVERIFY(now() == before);
        QCOMPARE(entries(), u"Annulla "_s + curve + u"/Ripeti "_s + name);
        press(Qt::ControlModifier | Qt::ShiftModifier); // whatever the desktop's Redo keys
        QVERIFY(now() == after);
        QCOMPARE(entries(), u"Annulla "_s + name + u"/[Ripeti]"_s);
        // An error is not shown again.
        QCOMPARE(ui->messages, step == u"400"_s ? QStringList{u"Overflow"_s} : QStringList{});
        QCOMPARE(form4().surface().logicalSize(), form4().size());
        press(Qt::ControlModifier); // a new plot drops the step taken back
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QCOMPARE(entries(), u"Annulla "_s + curve + u"/[Ripeti]"_s);
    }
};

LUMETRA_HERMETIC_MAIN(TestWindows, QApplication)
#include "test_windows.moc"
