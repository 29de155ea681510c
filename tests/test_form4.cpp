// The plot window in real widgets, offscreen, reached the user's way: the
// calibration window's scroll bar set to 0.55, "OK - continua", "AVANTI".
// What is drawn is read back from the window's retained picture; positions
// are computed from the picture's size and the user scale, 500 units across.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "runtime/palette.h"
#include "support/recording_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <cmath>

using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::forms::Form4;
using lumetra::testing::RecordingUi;

namespace {

// The worked example's segment OA with the defaults 86 and 55 degrees, in
// user units from the origin, y upwards: its end A.
constexpr double kAx = 49.3276;
constexpr double kAy = 70.4471;
constexpr double kOriginX = 260.0;
constexpr double kWidth = 500.0;

const QString kOverflow = QStringLiteral("Overflow");
const QString kTypeMismatch = QStringLiteral("Tipo non corrispondente");

QRgb paletteColour(int index) {
    return 0xFF000000U | lumetra::runtime::QBColor(index);
}

QPushButton* button(const lumetra::forms::Controls& controls, const char* name) {
    return controls.get<QPushButton>(QString::fromLatin1(name));
}

bool isActive(const Program& program, FormId id) {
    return program.tracker().lastActive() == id;
}

// The pixel whose centre is nearest to user point (x, y).
QPoint pixelAt(const QImage& image, double x, double y, double scaleHeight) {
    return {static_cast<int>(std::lround(x / kWidth * image.width())),
            static_cast<int>(std::lround(y / scaleHeight * image.height()))};
}

// A point of the construction relative to the origin O (y upwards).
QPoint plotPixel(const QImage& image, double x, double y, double scaleHeight) {
    return pixelAt(image, kOriginX + x, scaleHeight / 2.0 - y, scaleHeight);
}

bool colourAround(const QImage& image, QPoint centre, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = centre + QPoint(dx, dy);
            if (image.valid(p) && image.pixel(p) == colour) {
                return true;
            }
        }
    }
    return false;
}

int countColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

// Both axes in the foreground colour: the vertical one at x = 260 and not at
// the middle, x = 250, checked below the origin; the horizontal one at y = CY,
// checked left of the origin. Curves stay right of the vertical axis and,
// below the horizontal one, only come near the axis close to the origin.
bool axesDrawn(const QImage& image, QRgb foreground, double scaleHeight) {
    const QPoint origin = pixelAt(image, kOriginX, scaleHeight / 2.0, scaleHeight);
    const int middle = static_cast<int>(std::lround(0.5 * image.width()));
    for (int y = origin.y() + image.height() / 20; y < image.height(); ++y) {
        if (image.pixel(origin.x(), y) != foreground || image.pixel(middle, y) == foreground) {
            return false;
        }
    }
    for (int x = 0; x < origin.x() - image.width() / 20; ++x) {
        if (image.pixel(x, origin.y()) != foreground) {
            return false;
        }
    }
    return true;
}

// The first family with both boxes clear: the straight segment from O to A.
// Every pixel drawn in `before` is still drawn in `after`.
bool nothingCleared(const QImage& before, const QImage& after, QRgb background) {
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != background && after.pixel(x, y) == background) {
                return false;
            }
        }
    }
    return true;
}

bool segmentDrawn(const QImage& image, QRgb foreground, double scaleHeight) {
    for (const double t : {0.2, 0.4, 0.6, 0.8}) {
        if (!colourAround(image, plotPixel(image, t * kAx, t * kAy, scaleHeight), foreground)) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestForm4 : public QObject {
    Q_OBJECT

private:
    static bool openParameters(Program& program);
    static bool pressAvantiAndWait(Program& program);
    static bool openPlot(Program& program);
    static bool switchTo(Program& program, QWidget& window, FormId id);
    static const QImage& picture(Program& program) { return program.form4().surface().image(); }
    static QRgb foreground(Program& program) {
        return program.form4().surface().foreground().rgb();
    }
    static QRgb background(Program& program) {
        return program.form4().surface().background().rgb();
    }
    static void click(Program& program, const char* name) {
        QTest::mouseClick(program.form4().controls().widget(QString::fromLatin1(name)),
                          Qt::LeftButton);
    }

private slots:
    void initTestCase();

    void firstPlotAtTheCalibratedScale();
    void firstFocusIsOnEsci();
    void axesFollowTheFactorAtEachActivation();
    void switchingAwayAndBackAddsOneCurve();
    void checkBoxesRecordTheirStateAndDrawNothing_data();
    void checkBoxesRecordTheirStateAndDrawNothing();
    void tickedBoxShapesTheNextCurve();
    void tracciaAddsOneCurveInTheNextColour();
    void chordCommandAddsChordsInTheCurveColour();
    void cancelETracciaLeavesAxesAndOneCurve();
    void cancellaERiprendiClearsThenShowsTheParameters();
    void riprendiKeepsThePlotUnderTheParameterWindow();
    void esciEndsTheProgram();
    void incrementOverflowKeepsTheProgramRunning_data();
    void incrementOverflowKeepsTheProgramRunning();
    void colourCounterOverflowKeepsTheProgramRunning();
    void rejectedParameterIsATypeMismatch_data();
    void rejectedParameterIsATypeMismatch();
};

bool TestForm4::openParameters(Program& program) {
    program.show(FormId::Form2);
    if (!QTest::qWaitFor([&] { return isActive(program, FormId::Form2); })) {
        return false;
    }
    auto& form2 = program.form2();
    QTest::keyClick(form2.controls().get<QScrollBar>(QStringLiteral("HScroll1")), Qt::Key_Right);
    if (form2.Incr().arithmetic() != 0.55) {
        return false;
    }
    QTest::mouseClick(button(form2.controls(), "Command1"), Qt::LeftButton);
    return QTest::qWaitFor([&] { return isActive(program, FormId::Form3); });
}

bool TestForm4::pressAvantiAndWait(Program& program) {
    QTest::mouseClick(button(program.form3().controls(), "Command2"), Qt::LeftButton);
    return QTest::qWaitFor([&] { return isActive(program, FormId::Form4); });
}

bool TestForm4::openPlot(Program& program) {
    return openParameters(program) && pressAvantiAndWait(program);
}

// The user switches to another of the program's windows.
bool TestForm4::switchTo(Program& program, QWidget& window, FormId id) {
    window.activateWindow();
    return QTest::qWaitFor([&] { return isActive(program, id); });
}

void TestForm4::initTestCase() {
    lumetra::app::prepareApplication();
}

void TestForm4::firstPlotAtTheCalibratedScale() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    Form4& form = program.form4();
    QCOMPARE(form.windowTitle(), QStringLiteral("Form4"));

    const auto& surface = form.surface();
    QCOMPARE(surface.scaleWidth(), 500.0F);
    QCOMPARE(surface.scaleHeight(), 275.0F);
    QCOMPARE(form.variables().CX, 260.0F);
    QCOMPARE(form.variables().CY, 137.5F);

    // Both boxes start clear and untouched: sines on both axes.
    QVERIFY(!form.controls().get<QCheckBox>(QStringLiteral("Check1"))->isChecked());
    QVERIFY(!form.controls().get<QCheckBox>(QStringLiteral("Check2"))->isChecked());
    QVERIFY(form.variables().Risposta1.isEmpty());
    QVERIFY(form.variables().Risposta2.isEmpty());

    const QImage& image = surface.image();
    QCOMPARE(image.size(), form.size() * form.devicePixelRatioF());
    const QRgb green = paletteColour(2);
    QVERIFY(axesDrawn(image, foreground(program), 275.0));
    QVERIFY(segmentDrawn(image, foreground(program), 275.0));
    // The last pass puts both families on A, the curve colour last.
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), green));
    // Where the quarter ellipse of a ticked "X=OA Cos" would pass at 60 degrees.
    const QPoint ellipse = plotPixel(image, kAx * 0.5, kAy * std::sqrt(3.0) / 2.0, 275.0);
    QVERIFY(!colourAround(image, ellipse, foreground(program)));
    QCOMPARE(coloursOf(image), (QSet<QRgb>{background(program), foreground(program), green}));
    QCOMPARE(program.form3().Miocolor(), std::int16_t{1});
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::firstFocusIsOnEsci() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    QWidget* esci = program.form4().controls().widget(QStringLiteral("Command3"));
    QTRY_COMPARE(QApplication::focusWidget(), esci);
    QCOMPARE(ui.endCount, 0);
    QTest::keyClick(esci, Qt::Key_Space);
    QCOMPARE(ui.endCount, 1);
}

void TestForm4::axesFollowTheFactorAtEachActivation() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    Form4& form = program.form4();

    // Switching to the calibration window puts the factor back to 0.51.
    QVERIFY(switchTo(program, program.form2(), FormId::Form2));
    QCOMPARE(program.form2().Incr().arithmetic(), 0.51);
    QVERIFY(switchTo(program, form, FormId::Form4));

    QCOMPARE(form.surface().scaleHeight(), 255.0F);
    QCOMPARE(form.variables().CX, 260.0F);
    QCOMPARE(form.variables().CY, 127.5F);
    const QImage& image = picture(program);
    QVERIFY(axesDrawn(image, foreground(program), 255.0));
    QVERIFY(segmentDrawn(image, foreground(program), 255.0));
    // The new curve ends at A on the new scale; the first one stays.
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 255.0), paletteColour(3)));
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(2)));
    QVERIFY(plotPixel(image, kAx, kAy, 255.0) != plotPixel(image, kAx, kAy, 275.0));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::switchingAwayAndBackAddsOneCurve() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    const QImage before = picture(program).copy();
    QCOMPARE(countColour(before, paletteColour(3)), 0);

    QVERIFY(switchTo(program, program.form3(), FormId::Form3));
    QVERIFY(switchTo(program, program.form4(), FormId::Form4));

    // The same parameters: the new curve lies exactly over the first one.
    const QImage& image = picture(program);
    QCOMPARE(program.form3().Miocolor(), std::int16_t{2});
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(3)));
    QVERIFY(nothingCleared(before, image, background(program)));
    QVERIFY(axesDrawn(image, foreground(program), 275.0));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::checkBoxesRecordTheirStateAndDrawNothing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("answer");

    QTest::newRow("Check1 ticked") << QStringLiteral("Check1") << 1 << 7;
    QTest::newRow("Check1 ticked and cleared") << QStringLiteral("Check1") << 2 << 0;
    QTest::newRow("Check2 ticked") << QStringLiteral("Check2") << 1 << 7;
    QTest::newRow("Check2 ticked and cleared") << QStringLiteral("Check2") << 2 << 0;
}

void TestForm4::checkBoxesRecordTheirStateAndDrawNothing() {
    QFETCH(QString, box);
    QFETCH(int, clicks);
    QFETCH(int, answer);

    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    Form4& form = program.form4();
    const QImage before = picture(program).copy();
    auto* check = form.controls().get<QCheckBox>(box);
    for (int i = 0; i < clicks; ++i) {
        QTest::mouseClick(check, Qt::LeftButton);
    }

    QCOMPARE(check->isChecked(), answer == 7);
    const bool first = box == QLatin1String("Check1");
    const auto& clicked = first ? form.variables().Risposta1 : form.variables().Risposta2;
    const auto& other = first ? form.variables().Risposta2 : form.variables().Risposta1;
    QVERIFY(clicked.isInt16());
    QCOMPARE(clicked.arithmetic(), double(answer));
    QVERIFY(other.isEmpty());
    QCOMPARE(picture(program), before);
    QCOMPARE(program.form3().Miocolor(), std::int16_t{1});
}

void TestForm4::tickedBoxShapesTheNextCurve() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    const QImage& image = picture(program);
    // With "X=OA Cos" ticked the second family starts at (OA, 0) on the axis.
    const QPoint start = plotPixel(image, 86.0, 0.0, 275.0);
    QVERIFY(!colourAround(image, start, paletteColour(3)));

    QTest::mouseClick(program.form4().controls().widget(QStringLiteral("Check1")), Qt::LeftButton);
    click(program, "Command5");

    QVERIFY(colourAround(image, start, paletteColour(3)));
    // The quarter ellipse at 60 degrees, and the earlier straight curve.
    const QPoint ellipse = plotPixel(image, kAx * 0.5, kAy * std::sqrt(3.0) / 2.0, 275.0);
    QVERIFY(colourAround(image, ellipse, foreground(program)));
    QVERIFY(segmentDrawn(image, foreground(program), 275.0));
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(2)));
}

void TestForm4::tracciaAddsOneCurveInTheNextColour() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    const QImage before = picture(program).copy();
    QVERIFY(countColour(before, paletteColour(2)) > 0);

    click(program, "Command5");
    QCOMPARE(program.form3().Miocolor(), std::int16_t{2});
    const QImage& image = picture(program);
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(3)));
    QVERIFY(nothingCleared(before, image, background(program)));
    // The same parameters again: every green pixel turned cyan.
    QCOMPARE(countColour(image, paletteColour(3)), countColour(before, paletteColour(2)));

    click(program, "Command5");
    QCOMPARE(program.form3().Miocolor(), std::int16_t{3});
    QVERIFY(countColour(picture(program), paletteColour(4)) > 0);
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(isActive(program, FormId::Form4));
}

void TestForm4::chordCommandAddsChordsInTheCurveColour() {
    // The same plot twice, from "TRACCIA" and from the chord command: the
    // pictures differ only by pixels of the curve colour, the chords.
    const auto plotFrom = [](const char* command) {
        RecordingUi ui;
        Program program(ui);
        QImage image;
        if (openPlot(program)) {
            click(program, command);
            image = picture(program).copy();
        }
        return ui.messages.isEmpty() && program.form3().Miocolor() == 2 ? image : QImage();
    };
    const QImage plain = plotFrom("Command5");
    const QImage withChords = plotFrom("Command4");
    QVERIFY(!plain.isNull());
    QVERIFY(!withChords.isNull());
    QCOMPARE(withChords.size(), plain.size());
    const QRgb cyan = paletteColour(3);
    int added = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (withChords.pixel(x, y) != plain.pixel(x, y)) {
                QCOMPARE(withChords.pixel(x, y), cyan);
                ++added;
            }
        }
    }
    QVERIFY(added > 0);
}

void TestForm4::cancelETracciaLeavesAxesAndOneCurve() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    // A second curve where the next one will not cover it: the quarter ellipse.
    auto* check1 = program.form4().controls().widget(QStringLiteral("Check1"));
    QTest::mouseClick(check1, Qt::LeftButton);
    click(program, "Command5");
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(countColour(picture(program), paletteColour(2)) > 0);
    QVERIFY(countColour(picture(program), paletteColour(3)) > 0);

    click(program, "Command6");

    const QImage& image = picture(program);
    QCOMPARE(program.form3().Miocolor(), std::int16_t{3});
    QCOMPARE(coloursOf(image),
             (QSet<QRgb>{background(program), foreground(program), paletteColour(4)}));
    QVERIFY(axesDrawn(image, foreground(program), 275.0));
    QVERIFY(segmentDrawn(image, foreground(program), 275.0));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::cancellaERiprendiClearsThenShowsTheParameters() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));

    click(program, "Command2");
    QCOMPARE(coloursOf(picture(program)), QSet<QRgb>{background(program)});
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QCOMPARE(coloursOf(picture(program)), QSet<QRgb>{background(program)});

    QVERIFY(pressAvantiAndWait(program));
    const QImage& image = picture(program);
    QCOMPARE(coloursOf(image),
             (QSet<QRgb>{background(program), foreground(program), paletteColour(3)}));
    QVERIFY(axesDrawn(image, foreground(program), 275.0));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::riprendiKeepsThePlotUnderTheParameterWindow() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    Form4& form = program.form4();
    const QImage before = picture(program).copy();

    click(program, "Command1");
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QVERIFY(program.form3().isVisible());
    QCOMPARE(picture(program), before);
    // What the window paints when uncovered is the kept picture.
    const QImage painted = form.grab().toImage();
    const QPoint end = plotPixel(before, kAx, kAy, 275.0);
    const qreal ratio = before.devicePixelRatio();
    QVERIFY(colourAround(painted.convertToFormat(QImage::Format_RGB32),
                         QPoint(static_cast<int>(end.x() / ratio * painted.devicePixelRatio()),
                                static_cast<int>(end.y() / ratio * painted.devicePixelRatio())),
                         paletteColour(2)));

    // A new angle, so that the new curve does not hide the first one.
    program.form3()
        .controls()
        .get<QLineEdit>(QStringLiteral("Text2"))
        ->setText(QStringLiteral("30"));
    QVERIFY(pressAvantiAndWait(program));
    const QImage& image = picture(program);
    QVERIFY(nothingCleared(before, image, background(program)));
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(2)));
    QCOMPARE(coloursOf(image), (QSet<QRgb>{background(program), foreground(program),
                                           paletteColour(2), paletteColour(3)}));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm4::esciEndsTheProgram() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    click(program, "Command3");
    QCOMPARE(ui.endCount, 1);
    QVERIFY(program.ended());
}

void TestForm4::incrementOverflowKeepsTheProgramRunning_data() {
    QTest::addColumn<QString>("increment");
    QTest::addColumn<QStringList>("messages");

    // 364 peaks at A2 = 32760 on the last pass; 400 reaches it at pass 820
    // and overflows at pass 821.
    QTest::newRow("364 runs through") << QStringLiteral("364") << QStringList{};
    QTest::newRow("400 overflows") << QStringLiteral("400") << QStringList{kOverflow};
}

void TestForm4::incrementOverflowKeepsTheProgramRunning() {
    QFETCH(QString, increment);
    QFETCH(QStringList, messages);

    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    program.form3().controls().get<QLineEdit>(QStringLiteral("Text5"))->setText(increment);
    QVERIFY(pressAvantiAndWait(program));

    QCOMPARE(ui.messages, messages);
    QCOMPARE(program.form4().variables().A2, std::int16_t{32760});
    const QImage& image = picture(program);
    QVERIFY(axesDrawn(image, foreground(program), 275.0));
    QVERIFY(segmentDrawn(image, foreground(program), 275.0));
    QVERIFY(countColour(image, paletteColour(2)) > 0);
    QCOMPARE(ui.endCount, 0);

    click(program, "Command2");
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QCOMPARE(coloursOf(picture(program)), QSet<QRgb>{background(program)});
    QCOMPARE(ui.messages, messages);
}

void TestForm4::colourCounterOverflowKeepsTheProgramRunning() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    program.form3().setMiocolor(32767);
    const QImage before = picture(program).copy();

    click(program, "Command5");
    QCOMPARE(ui.messages, QStringList{kOverflow});
    QCOMPARE(ui.messageWindows.back(), static_cast<QWidget*>(&program.form4()));
    QCOMPARE(picture(program), before);
    QCOMPARE(program.form3().Miocolor(), std::int16_t{32767});
    QCOMPARE(ui.endCount, 0);

    // "AVANTI" wraps the counter, and the next plot is green again.
    click(program, "Command2");
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QVERIFY(pressAvantiAndWait(program));
    QCOMPARE(program.form3().Miocolor(), std::int16_t{1});
    QCOMPARE(coloursOf(picture(program)),
             (QSet<QRgb>{background(program), foreground(program), paletteColour(2)}));
    QCOMPARE(ui.messages, QStringList{kOverflow});
}

void TestForm4::rejectedParameterIsATypeMismatch_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("rejection");

    QTest::newRow("VALa") << QStringLiteral("Text1") << QStringLiteral("VALa non \u00E8 un numero");
    QTest::newRow("VALb") << QStringLiteral("Text2") << QStringLiteral("VALb non \u00E8 un numero");
    QTest::newRow("VALe") << QStringLiteral("Text5") << QStringLiteral("VALe non \u00E8 un numero");
}

void TestForm4::rejectedParameterIsATypeMismatch() {
    QFETCH(QString, fieldName);
    QFETCH(QString, rejection);

    RecordingUi ui;
    Program program(ui);
    QVERIFY(openPlot(program));
    auto* edit = program.form3().controls().get<QLineEdit>(fieldName);

    click(program, "Command1");
    QTRY_VERIFY(isActive(program, FormId::Form3));
    edit->setText(QStringLiteral("x"));
    QTest::mouseClick(button(program.form3().controls(), "Command2"), Qt::LeftButton);
    QCOMPARE(ui.messages, QStringList{rejection});

    // Back to the plot window, still open from the first plot.
    QVERIFY(switchTo(program, program.form4(), FormId::Form4));
    QCOMPARE(ui.messages, (QStringList{rejection, kTypeMismatch}));
    QCOMPARE(ui.messageWindows.back(), static_cast<QWidget*>(&program.form4()));
    QCOMPARE(ui.endCount, 0);
    // The counter advanced before the failure; nothing of the new curve was drawn.
    QCOMPARE(program.form3().Miocolor(), std::int16_t{2});
    const QImage& image = picture(program);
    QCOMPARE(coloursOf(image),
             (QSet<QRgb>{background(program), foreground(program), paletteColour(2)}));
    QVERIFY(colourAround(image, plotPixel(image, kAx, kAy, 275.0), paletteColour(2)));

    // The user corrects the field and plots on.
    QVERIFY(switchTo(program, program.form3(), FormId::Form3));
    edit->setText(QStringLiteral("1"));
    QVERIFY(pressAvantiAndWait(program));
    QCOMPARE(program.form3().Miocolor(), std::int16_t{3});
    QVERIFY(countColour(picture(program), paletteColour(4)) > 0);
    QCOMPARE(ui.messages.size(), 2);
}

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
