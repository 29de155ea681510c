// The calibration window as the user meets it: its first display, the scroll
// bar that steps the factor, the picture that accumulates or is cleared, the
// gate to the parameter window, activation, and the title window that opens it.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "geometry/calibration_figure.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"
#include "support/recording_ui.h"
#include "surface/drawing_surface.h"
#include "surface/scale.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <cmath>

using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::forms::Form2;
using lumetra::surface::userToPixel;
using lumetra::testing::RecordingUi;

namespace {

const QString kGateMessage = QStringLiteral("Impostare la risoluzione SCHERMO");
// Palette entries as the surface stores them, opaque.
QRgb paletteRgb(int index) {
    return 0xFF000000U | lumetra::runtime::QBColor(index);
}

const QRgb kRed = paletteRgb(4);
constexpr float kScaleWidth = 146367.36F;
constexpr double kRadius = 36367.363F;
constexpr double kPi = 3.14159265358979323846;

QScrollBar* scrollBar(Form2& form) {
    return form.controls().get<QScrollBar>(QStringLiteral("HScroll1"));
}

QLineEdit* factorText(Form2& form) {
    return form.controls().get<QLineEdit>(QStringLiteral("Text1"));
}

QPushButton* button(Form2& form, const char* name) {
    return form.controls().get<QPushButton>(QString::fromLatin1(name));
}

double incr(Form2& form) {
    return form.Incr().arithmetic();
}

bool flushQueuedCalls() {
    bool flushed = false;
    QMetaObject::invokeMethod(
        qApp, [&flushed] { flushed = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&flushed] { return flushed; });
}

// Where the figure for `factor` puts its point at `degrees` on `image`: the
// centre 20000 units right of the middle, the radius 36367.363 units both ways
// on a scale 146367.36 units across and 146367.36 x factor down.
QPoint figurePixel(const QImage& image, double factor, double degrees) {
    using lumetra::runtime::toSingle;
    const float height = toSingle(static_cast<double>(kScaleWidth) * factor);
    const float cx = kScaleWidth / 2.0F + 20000.0F;
    const float cy = height / 2.0F;
    const double radians = degrees * kPi / 180.0;
    const float x = toSingle(cx + std::cos(radians) * kRadius);
    const float y = toSingle(cy + std::sin(radians) * kRadius);
    return {userToPixel(x, kScaleWidth, image.width()), userToPixel(y, height, image.height())};
}

// Whether `colour` lies on the pixel or one of its eight neighbours.
bool colourNear(const QImage& image, QPoint at, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixel(p) == colour) {
                return true;
            }
        }
    }
    return false;
}

QRect boundsOf(const QImage& image, QRgb colour) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

int countOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// The picture that a fresh surface like the window's shows after drawing the
// figures for `factors` one over the other, without clearing.
QImage expectedPicture(const Form2& form, std::initializer_list<double> factors) {
    const auto& real = form.surface();
    lumetra::surface::DrawingSurface surface(real.foreground(), real.background());
    surface.resize(real.logicalSize(), real.devicePixelRatio());
    lumetra::geometry::CalibrationVariables vars;
    vars.P1 = lumetra::runtime::degreesToRadiansFactor();
    for (const double factor : factors) {
        vars.Incr = factor;
        lumetra::geometry::setUpScaleAndAxes(surface, vars);
        lumetra::geometry::plotCircle(surface, vars);
    }
    return surface.image();
}

void setLocale(const QString& name) {
    QLocale::setDefault(QLocale(name));
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void firstDisplay_data();
    void firstDisplay();
    void focusOnScrollBarAtOpening();
    void scrollSteps_data();
    void scrollSteps();
    void largerFactorKeepsEarlierFigures();
    void smallerFactorClearsFirst();
    void gate_data();
    void gate();
    void gateMessageDoesNotReactivate();
    void reactivationResetsFactor();
    void typingIntoText1ChangesNothing();
    void instructionButtonDoesNothing();
    void exitEndsProgram();
    void titleWindow();

private:
    // Shows the calibration window; false when it was not activated in time.
    static bool open(Program& program);
};

void TestForm2::initTestCase() {
    lumetra::app::prepareApplication();
}

void TestForm2::init() {
    setLocale(QStringLiteral("en_US"));
}

bool TestForm2::open(Program& program) {
    program.show(FormId::Form2);
    Form2& form = program.form2();
    return QTest::qWaitFor([&form] { return form.lastFigurePoints() > 0; });
}

void TestForm2::firstDisplay_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English") << QStringLiteral("en_US") << QStringLiteral("0.51");
    QTest::newRow("Italian") << QStringLiteral("it_IT") << QStringLiteral("0,51");
}

void TestForm2::firstDisplay() {
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    setLocale(locale);
    RecordingUi ui;
    Program program(ui);
    Form2& form = program.form2();
    QCOMPARE(form.windowTitle(), QStringLiteral("Form2"));
    QCOMPARE(factorText(form)->text(), QStringLiteral("Text1"));
    // Nothing is drawn before the window is activated.
    const QImage blank = form.surface().image();
    QCOMPARE(countOf(blank, form.surface().background().rgb()), blank.width() * blank.height());

    program.show(FormId::Form2);
    QTRY_COMPARE(factorText(form)->text(), shown);
    QCOMPARE(incr(form), 0.51);
    QCOMPARE(form.lastFigurePoints(), 3600);
    QCOMPARE(scrollBar(form)->value(), 1);
    QVERIFY(ui.messages.isEmpty());

    const QImage image = form.surface().image();
    QCOMPARE(image.size(), form.size() * form.devicePixelRatioF());
    const QRgb foreground = form.palette().color(QPalette::ButtonText).rgb();
    const int w = image.width();
    const int h = image.height();

    // The vertical axis at 93183.68 / 146367.36 of the width, over the full
    // height; the horizontal one at half the height, over the full width.
    const int axisX = figurePixel(image, 0.51, 90.0).x();
    QVERIFY(std::abs(axisX - 0.63664 * w) <= 1.0);
    const int axisY = figurePixel(image, 0.51, 0.0).y();
    QVERIFY(std::abs(axisY - h / 2.0) <= 1.0);
    int onVertical = 0;
    for (int y = 0; y < h; ++y) {
        onVertical += image.pixel(axisX, y) == foreground ? 1 : 0;
    }
    QVERIFY(onVertical >= h - 4);
    QCOMPARE(image.pixel(axisX, 0), foreground);
    QCOMPARE(image.pixel(axisX, h - 1), foreground);
    QCOMPARE(image.pixel(0, axisY), foreground);
    QCOMPARE(image.pixel(w - 1, axisY), foreground);

    // The red figure: its first point on the horizontal axis at the right,
    // and its four extremes making the bounds of every red pixel.
    QCOMPARE(image.pixel(figurePixel(image, 0.51, 0.0)), kRed);
    const QRect red = boundsOf(image, kRed);
    QVERIFY(std::abs(red.right() - figurePixel(image, 0.51, 0.0).x()) <= 1);
    QVERIFY(std::abs(red.left() - figurePixel(image, 0.51, 180.0).x()) <= 1);
    QVERIFY(std::abs(red.bottom() - figurePixel(image, 0.51, 90.0).y()) <= 1);
    QVERIFY(std::abs(red.top() - figurePixel(image, 0.51, 270.0).y()) <= 1);
    for (const double degrees : {45.0, 135.0, 225.0, 315.0}) {
        QVERIFY2(colourNear(image, figurePixel(image, 0.51, degrees), kRed),
                 qPrintable(QString::number(degrees)));
    }
}

void TestForm2::focusOnScrollBarAtOpening() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(scrollBar(form)));
    // The arrow keys move it at once, and each step changes the factor.
    QTest::keyClick(form.windowHandle(), Qt::Key_Right);
    QCOMPARE(scrollBar(form)->value(), 2);
    QCOMPARE(incr(form), 0.55);
}

void TestForm2::scrollSteps_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("English") << QStringLiteral("en_US")
                             << QStringList{QStringLiteral("0.55"), QStringLiteral("0.57"),
                                            QStringLiteral("0.55"), QStringLiteral("0.53"),
                                            QStringLiteral("1.11"), QStringLiteral("0.53")};
    QTest::newRow("Italian") << QStringLiteral("it_IT")
                             << QStringList{QStringLiteral("0,55"), QStringLiteral("0,57"),
                                            QStringLiteral("0,55"), QStringLiteral("0,53"),
                                            QStringLiteral("1,11"), QStringLiteral("0,53")};
}

void TestForm2::scrollSteps() {
    QFETCH(QString, locale);
    QFETCH(QStringList, shown);
    setLocale(locale);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QScrollBar* bar = scrollBar(form);

    const QList<Qt::Key> keys{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left,
                              Qt::Key_Left,  Qt::Key_End,   Qt::Key_Home};
    const QList<int> values{2, 3, 2, 1, 30, 1};
    const QList<double> factors{0.55, 0.5700000000000001, 0.55, 0.53, 1.11, 0.53};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(bar, keys[i]);
        QCOMPARE(bar->value(), values[i]);
        QCOMPARE(incr(form), factors[i]);
        QCOMPARE(factorText(form)->text(), shown[i]);
        QCOMPARE(form.lastFigurePoints(), 3600);
    }
    // The scroll bar stops at its minimum: no change, no new factor.
    QTest::keyClick(bar, Qt::Key_Left);
    QCOMPARE(bar->value(), 1);
    QCOMPARE(incr(form), 0.53);
}

void TestForm2::largerFactorKeepsEarlierFigures() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QCOMPARE(incr(form), 0.5700000000000001);

    const QImage image = form.surface().image();
    QVERIFY(image == expectedPicture(form, {0.51, 0.55, 0.5700000000000001}));
    // Each figure is flatter than the one before, all still on the screen.
    for (const double factor : {0.51, 0.55, 0.5700000000000001}) {
        QVERIFY(colourNear(image, figurePixel(image, factor, 45.0), kRed));
        QVERIFY(colourNear(image, figurePixel(image, factor, 135.0), kRed));
    }
    const QPoint first = figurePixel(image, 0.51, 45.0);
    const QPoint last = figurePixel(image, 0.5700000000000001, 45.0);
    QVERIFY(first.y() - last.y() >= 4);
}

void TestForm2::smallerFactorClearsFirst() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QTest::keyClick(scrollBar(form), Qt::Key_Left);
    QCOMPARE(incr(form), 0.55);

    QImage image = form.surface().image();
    QVERIFY(image == expectedPicture(form, {0.55}));
    const QRgb background = form.surface().background().rgb();
    QVERIFY(!colourNear(image, figurePixel(image, 0.51, 45.0), kRed));
    QVERIFY(!colourNear(image, figurePixel(image, 0.5700000000000001, 45.0), kRed));
    QCOMPARE(image.pixel(figurePixel(image, 0.51, 45.0)), background);

    QTest::keyClick(scrollBar(form), Qt::Key_Left);
    image = form.surface().image();
    QVERIFY(image == expectedPicture(form, {0.53}));
    QVERIFY(!colourNear(image, figurePixel(image, 0.55, 45.0), kRed));
}

void TestForm2::gate_data() {
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<bool>("passes");
    QTest::newRow("0.51 after activation") << QList<Qt::Key>{} << false;
    QTest::newRow("0.53 at the minimum") << QList<Qt::Key>{Qt::Key_Right, Qt::Key_Left} << false;
    QTest::newRow("0.55") << QList<Qt::Key>{Qt::Key_Right} << true;
    QTest::newRow("1.11 at the maximum") << QList<Qt::Key>{Qt::Key_End} << true;
}

void TestForm2::gate() {
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(bool, passes);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    for (const Qt::Key key : keys) {
        QTest::keyClick(scrollBar(form), key);
    }
    const double before = incr(form);
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);

    if (passes) {
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(program.exists(FormId::Form3));
        QVERIFY(program.form3().isVisible());
    } else {
        QCOMPARE(ui.messages, QStringList{kGateMessage});
        QCOMPARE(ui.messageWindows, QList<QWidget*>{&form});
        QVERIFY(!program.exists(FormId::Form3) || !program.form3().isVisible());
    }
    QVERIFY(form.isVisible());
    QCOMPARE(incr(form), before);
    QVERIFY(!program.ended());
}

void TestForm2::gateMessageDoesNotReactivate() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QTest::keyClick(scrollBar(form), Qt::Key_Left);
    QCOMPARE(incr(form), 0.53);

    // A real box takes the activation while the gate's message is open, and
    // gives it back to the window when it closes.
    bool boxWasActive = false;
    ui.onMessage = [&](const QString&) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("LUMETRA"), kGateMessage,
                        QMessageBox::Ok, &form);
        box.show();
        boxWasActive = QTest::qWaitForWindowActive(&box);
        box.accept();
        form.activateWindow();
    };
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QVERIFY(boxWasActive);
    QTRY_VERIFY(QApplication::activeWindow() == &form);
    QVERIFY(flushQueuedCalls());
    QCOMPARE(ui.messages, QStringList{kGateMessage});
    QCOMPARE(incr(form), 0.53);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.53"));
}

void TestForm2::reactivationResetsFactor() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QCOMPARE(incr(form), 0.55);

    program.show(FormId::Form1);
    QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
    QCOMPARE(incr(form), 0.55);
    program.show(FormId::Form2);
    QTRY_COMPARE(incr(form), 0.51);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QCOMPARE(scrollBar(form)->value(), 2);
    // Drawn over the old picture, not after clearing it.
    QVERIFY(form.surface().image() == expectedPicture(form, {0.51, 0.55, 0.51}));

    // Until the bar moves again the gate refuses, though the bar shows 0.55.
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QCOMPARE(ui.messages, QStringList{kGateMessage});

    // The first change after an activation never clears, even to the left.
    QTest::keyClick(scrollBar(form), Qt::Key_Left);
    QCOMPARE(incr(form), 0.53);
    QVERIFY(form.surface().image() == expectedPicture(form, {0.51, 0.55, 0.51, 0.53}));
}

void TestForm2::typingIntoText1ChangesNothing() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QLineEdit* text = factorText(form);
    text->clear();
    QTest::keyClicks(text, QStringLiteral("0.99"));
    QCOMPARE(text->text(), QStringLiteral("0.99"));
    QCOMPARE(incr(form), 0.51);
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QCOMPARE(ui.messages, QStringList{kGateMessage});

    // And the other way round: a small number typed does not stop the gate.
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    text->clear();
    QTest::keyClicks(text, QStringLiteral("0.1"));
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(program.form3().isVisible());
}

void TestForm2::instructionButtonDoesNothing() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    const QImage before = form.surface().image().copy();
    QTest::mouseClick(button(form, "Command2"), Qt::LeftButton);
    QVERIFY(flushQueuedCalls());
    QVERIFY(form.surface().image() == before);
    QCOMPARE(incr(form), 0.51);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!program.exists(FormId::Form3));
    QVERIFY(!program.ended());
    QCOMPARE(ui.endCount, 0);
}

void TestForm2::exitEndsProgram() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(open(program));
    Form2& form = program.form2();
    QTest::mouseClick(button(form, "Command3"), Qt::LeftButton);
    QCOMPARE(ui.endCount, 1);
    QVERIFY(program.ended());
    QVERIFY(ui.messages.isEmpty());
}

void TestForm2::titleWindow() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form1);
    lumetra::forms::Form1& title = program.form1();
    QVERIFY(QTest::qWaitForWindowExposed(&title));
    QCOMPARE(title.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(title.size(), QSize(11670 / 15, 7305 / 15));
    QCOMPARE(title.size(), QSize(778, 487));
    QVERIFY(!program.exists(FormId::Form2));

    auto* avanti = title.controls().get<QPushButton>(QStringLiteral("Command1"));
    QCOMPARE(avanti->text(), QStringLiteral("AVANTI"));
    QTest::mouseClick(avanti, Qt::LeftButton);
    QVERIFY(program.exists(FormId::Form2));
    Form2& form = program.form2();
    QVERIFY(form.isVisible());
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QCOMPARE(form.lastFigurePoints(), 3600);
    // The title window stays open behind it.
    QVERIFY(title.isVisible());
    QVERIFY(ui.messages.isEmpty());
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
