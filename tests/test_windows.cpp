// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows through their real controls, offscreen: the shell's rules,
// the calibration window, the parameter window's checks, the plot window's
// commands and their undoing. Plots are read back from the picture.

#include "app/program.h"
#include "app/start_up.h"
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
                      0xFF000000U | lumetra::runtime::QBColor(4));
}

// The parameter window's text boxes for VALa, VALb and VALe, and what they first show.
const QString kFields[] = {u"Text1"_s, u"Text2"_s, u"Text5"_s};
const QStringList kDefaults{u"86"_s, u"55"_s, u"1"_s};

} // namespace

class TestWindows : public QObject, Session {
    Q_OBJECT

    static QRgb colour(int index) { return 0xFF000000U | lumetra::runtime::QBColor(index); }
    bool waitActive(FormId id) { return lumetra::testing::waitActive(*program, id); }
    bool switchTo(FormId id) {
        program->window(id).activateWindow();
        return waitActive(id);
    }
    bool avanti() { return click(program->form3(), u"AVANTI"_s) && waitActive(FormId::Form4); }
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

    // A field's text, after "red:" on red.
    QString shown(int i) {
        const bool red = field(i)->palette().color(QPalette::Base) == QColor(255, 0, 0);
        return (red ? u"red:"_s : QString()) + field(i)->text();
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

    // Memory running out abandons its handler with its message over the window.
    void memoryRunningOut() {
        QWidget& window = program->form2();
        program->run(&window, [] { throw std::bad_alloc(); });
        QCOMPARE(ui->messages, QStringList{u"Memoria esaurita"_s});
        QCOMPARE(ui->messageWindows, QList<QWidget*>{&window});
    }

    // Under Italian settings, which show the factor with a comma.
    void calibrationWindow() {
        QLocale::setDefault(QLocale(u"it_IT"_s));
        auto& form = program->form2();
        program->show(FormId::Form2);
        QVERIFY(waitActive(FormId::Form2));
        QCOMPARE(form.controls().get<QLineEdit>(u"Text1"_s)->text(), u"0,51"_s);
        const auto image = [&] { return shownArea(form.surface()); };
        for (double degrees = 0.0; degrees < 360.0; degrees += 45.0) {
            QVERIFY(figureShown(image(), 0.51, degrees));
        }
        // 0.51 is refused; a larger factor keeps the figure, a smaller one clears it.
        QVERIFY(click(form, u"OK - continua"_s));
        QVERIFY(!program->exists(FormId::Form3));
        QCOMPARE(ui->messages, QStringList{u"Impostare la risoluzione SCHERMO"_s});
        QTest::keyClick(scrollBar(), Qt::Key_Right);
        QTest::keyClick(scrollBar(), Qt::Key_Right);
        QVERIFY(figureShown(image(), 0.51, 90));
        QVERIFY(figureShown(image(), 0.5700000000000001, 90));
        QTest::keyClick(scrollBar(), Qt::Key_Left);
        QVERIFY(figureShown(image(), 0.55, 90));
        QVERIFY(!figureShown(image(), 0.51, 90));
        QVERIFY(click(form, u"OK - continua"_s));
        QVERIFY(waitActive(FormId::Form3));
    }

    void fieldCheck_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted as 12.5
        const QLocale it(u"it_IT"_s), en(u"en_US"_s);
        QTest::newRow("empty") << it << 0 << u""_s << u"VALa non è un numero"_s;
        QTest::newRow("1e400") << en << 2 << u"1e400"_s << u"VALe non è un numero"_s;
        QTest::newRow("it 12,5") << it << 1 << u"12,5"_s << QString();
        QTest::newRow("it 12.5") << it << 1 << u"12.5"_s << u"VALb non è un numero"_s;
    }
    void fieldCheck() {
        QFETCH(QLocale, locale);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QVERIFY(reachParameterWindow(*program));
        QLocale::setDefault(locale);
        field(index)->setText(text);
        QVERIFY(click(program->form3(), u"AVANTI"_s));
        const auto& form = program->form3();
        const auto& variable = *std::array{&form.VALa(), &form.VALb(), &form.VALe()}[index];
        QCOMPARE(ui->messages, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(program->exists(FormId::Form4), message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(variable.arithmetic(), 12.5);
            return;
        }
        QCOMPARE(shown(index), u"red:"_s);
        // Corrected, it plots; the return to the window whitens it. Refused again, the
        // entry fails the open plot window's next activation with a type mismatch over
        // it, and the picture is kept.
        field(index)->setText(kDefaults[index]);
        QVERIFY(avanti());
        QVERIFY(switchTo(FormId::Form3));
        QCOMPARE(shown(index), kDefaults[index]);
        field(index)->setText(text);
        QVERIFY(click(program->form3(), u"AVANTI"_s));
        QVERIFY(switchTo(FormId::Form4));
        QCOMPARE(ui->messages.mid(1), (QStringList{message, u"Tipo non corrispondente"_s}));
        QCOMPARE(ui->messageWindows.back(), static_cast<QWidget*>(&form4()));
        QVERIFY(drawnIn({2}));
    }

    void plotWindowCommands() {
        QVERIFY(reachParameterWindow(*program));
        program->form3().setMiocolor(15); // "AVANTI" starts the counter again from 0
        QVERIFY(avanti());
        QVERIFY(drawnIn({2}));
        // Check boxes only record their answer; the next plot takes it.
        QVERIFY(click(form4(), u"X=OA Cos"_s));
        QVERIFY(drawnIn({2}));
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QVERIFY(plotted(49.3276, 0, 275, ink()));
        QVERIFY(drawnIn({2, 3}));
        QVERIFY(click(form4(), u"X=OA Cos"_s));
        // The chord command: every sixteenth pair joined by a line in the curve's colour.
        QVERIFY(click(form4(), u"Traccia le linee tra le curve di I° livello"_s));
        QVERIFY(drawnIn({3, 4}));
        // The middle of chord 28 of 56, at pass 448, from the first family to the second.
        QVERIFY(plotted(40.8901, 43.7657, 275, colour(4)));
        // "Cancel e traccia": exactly one new curve over the axes.
        QVERIFY(click(form4(), u"Cancel e traccia"_s));
        QVERIFY(drawnIn({5}));
        QVERIFY(click(form4(), u"Cancella e riprendi      i dati"_s));
        QVERIFY(waitActive(FormId::Form3));
        QVERIFY(drawnIn({}));
        QCOMPARE(ui->endCount, 0);
        // The calibration window's activation puts the factor back to 0.51, for the next plot.
        QVERIFY(switchTo(FormId::Form2));
        QVERIFY(switchTo(FormId::Form4));
        QVERIFY(endsAtA(255.0, 6));
    }
    // Steps taken back and done again: the pixels and the colour counter
    // around each kind of step, the menu's two entries and their keys.
    void undoAndRedo_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("name");
        QTest::newRow("clear") << u"Cancella e riprendi      i dati"_s << u"cancellazione"_s;
        QTest::newRow("clear, plot") << u"Cancel e traccia"_s << u"cancellazione e "_s + curve;
        QTest::newRow("overflow") << u"400"_s << curve;
    }
    void undoAndRedo() {
        QFETCH(QString, step);
        QFETCH(QString, name);
        // The activation's curve, the same again over it, then one with X=OA Cos.
        QVERIFY(reachPlotWindow(*program));
        for (const QString& caption : {u"TRACCIA"_s, u"X=OA Cos"_s, u"TRACCIA"_s}) {
            QVERIFY2(click(form4(), caption), qPrintable(caption));
        }
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
        press(Qt::ControlModifier); // a new plot drops the step taken back
        QVERIFY(click(form4(), u"TRACCIA"_s));
        QCOMPARE(entries(), u"Annulla "_s + curve + u"/[Ripeti]"_s);
    }
};

LUMETRA_HERMETIC_MAIN(TestWindows, QApplication)
#include "test_windows.moc"
