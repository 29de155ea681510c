// The windows on a screen of device pixel ratio 2: every layout keeps its
// geometry in device-independent pixels, and the two drawing windows draw at
// the screen's resolution, so that a line is as wide as at ratio 1 and stays
// sharp instead of being an enlarged, blurred copy of a low-resolution image.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "resources/layout.h"
#include "support/recording_ui.h"

#include <QApplication>
#include <QtTest>

#include <optional>

using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::testing::RecordingUi;

Q_DECLARE_METATYPE(lumetra::app::FormId)

namespace {

constexpr qreal kRatio = 2.0;

const lumetra::resources::WindowSpec& layoutOf(FormId id) {
    switch (id) {
    case FormId::Form1:
        return lumetra::resources::form1Layout();
    case FormId::Form2:
        return lumetra::resources::form2Layout();
    case FormId::Form3:
        return lumetra::resources::form3Layout();
    case FormId::Form4:
        return lumetra::resources::form4Layout();
    }
    return lumetra::resources::form1Layout();
}

const lumetra::forms::Controls& controlsOf(Program& program, FormId id) {
    switch (id) {
    case FormId::Form1:
        return program.form1().controls();
    case FormId::Form2:
        return program.form2().controls();
    case FormId::Form3:
        return program.form3().controls();
    case FormId::Form4:
        return program.form4().controls();
    }
    return program.form1().controls();
}

lumetra::surface::SurfaceWindow& surfaceWindow(Program& program, FormId id) {
    if (id == FormId::Form2) {
        return program.form2();
    }
    return program.form4();
}

// Shows a window and waits until its activation handler has run. The plot
// window's activation reads the factor that the calibration window's
// activation sets.
bool showActivated(Program& program, FormId id) {
    if (id == FormId::Form4) {
        program.form2().Form_Activate();
    }
    program.show(id);
    return QTest::qWaitForWindowActive(&program.window(id)) &&
           QTest::qWaitFor([&program, id] { return program.tracker().lastActive() == id; });
}

struct Run {
    int start;
    int length;
};

// Runs of `colour` along a row (vertical == false) or a column of `image`,
// between `from` and `to` inclusive.
QList<Run> runsOf(const QImage& image, int line, bool vertical, QRgb colour, int from, int to) {
    QList<Run> runs;
    for (int i = from; i <= to; ++i) {
        const QRgb pixel = vertical ? image.pixel(line, i) : image.pixel(i, line);
        if ((pixel & 0xFFFFFF) != (colour & 0xFFFFFF)) {
            continue;
        }
        if (!runs.isEmpty() && runs.last().start + runs.last().length == i) {
            ++runs.last().length;
        } else {
            runs.append({i, 1});
        }
    }
    return runs;
}

// The pixels of a row or column that are neither of the two colours.
int otherColours(const QImage& image, int line, bool vertical, int from, int to, QRgb a, QRgb b) {
    int count = 0;
    for (int i = from; i <= to; ++i) {
        const QRgb pixel = (vertical ? image.pixel(line, i) : image.pixel(i, line)) & 0xFFFFFF;
        count += (pixel != (a & 0xFFFFFF) && pixel != (b & 0xFFFFFF)) ? 1 : 0;
    }
    return count;
}

// A logical row of `window` in its lower half, where no control covers the
// vertical line at `x`: there the axis crosses nothing but the background.
std::optional<int> freeRowBelowMiddle(const QWidget& window, int x) {
    for (int y = window.height() * 3 / 4; y < window.height() - 2; ++y) {
        if (window.childAt(x - 3, y) == nullptr && window.childAt(x + 3, y) == nullptr) {
            return y;
        }
    }
    return std::nullopt;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowsKeepTheirLayouts_data();
    void windowsKeepTheirLayouts();
    void surfaceHasDevicePixels_data();
    void surfaceHasDevicePixels();
    void axesAreSharpAndScaleWithThePen_data();
    void axesAreSharpAndScaleWithThePen();
    void figureIsPlacedOnDevicePixels();
};

void TestHighDpi::initTestCase() {
    lumetra::app::prepareApplication();
    QVERIFY2(qApp->devicePixelRatio() == kRatio,
             qPrintable(QStringLiteral("the screen's device pixel ratio is %1; run with "
                                       "QT_SCALE_FACTOR=2")
                            .arg(qApp->devicePixelRatio())));
}

void TestHighDpi::windowsKeepTheirLayouts_data() {
    QTest::addColumn<FormId>("form");
    QTest::newRow("Form1") << FormId::Form1;
    QTest::newRow("Form2") << FormId::Form2;
    QTest::newRow("Form3") << FormId::Form3;
    QTest::newRow("Form4") << FormId::Form4;
}

void TestHighDpi::windowsKeepTheirLayouts() {
    QFETCH(FormId, form);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showActivated(program, form));
    QWidget& window = program.window(form);
    QCOMPARE(window.devicePixelRatioF(), kRatio);
    if (form == FormId::Form1) {
        QCOMPARE(window.size(), QSize(11670 / 15, 7305 / 15));
    }
    const lumetra::forms::Controls& controls = controlsOf(program, form);
    for (const lumetra::resources::ControlSpec& spec : layoutOf(form).controls) {
        QWidget* widget = controls.widget(lumetra::forms::text(spec.name));
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->geometry(),
                 QRect(spec.left / 15, spec.top / 15, spec.width / 15, spec.height / 15));
        QCOMPARE(widget->devicePixelRatioF(), kRatio);
    }
    // What the window paints has twice as many pixels each way.
    const QPixmap picture = window.grab();
    QCOMPARE(picture.devicePixelRatio(), kRatio);
    QCOMPARE(picture.size(), window.size() * 2);
    QVERIFY(ui.messages.isEmpty());
}

void TestHighDpi::surfaceHasDevicePixels_data() {
    QTest::addColumn<FormId>("form");
    QTest::newRow("Form2") << FormId::Form2;
    QTest::newRow("Form4") << FormId::Form4;
}

void TestHighDpi::surfaceHasDevicePixels() {
    QFETCH(FormId, form);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showActivated(program, form));
    const auto& window = surfaceWindow(program, form);
    const QImage& image = window.surface().image();
    QCOMPARE(window.surface().logicalSize(), window.size());
    QCOMPARE(image.devicePixelRatio(), kRatio);
    QCOMPARE(image.size(), window.size() * 2);
}

void TestHighDpi::axesAreSharpAndScaleWithThePen_data() {
    QTest::addColumn<FormId>("form");
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<double>("axisAt"); // fraction of the width
    // The calibration window draws its axes at DrawWidth 1, at 93183.68 of
    // 146367.36 units; the plot window at DrawWidth 2, at 260 of 500.
    QTest::newRow("Form2") << FormId::Form2 << 1 << 93183.68 / 146367.36;
    QTest::newRow("Form4") << FormId::Form4 << 2 << 260.0 / 500.0;
}

// The vertical axis is DrawWidth × 2 device pixels wide and the horizontal one
// as tall, in the kept image and in what the window paints, with no
// intermediate shade on either side.
void TestHighDpi::axesAreSharpAndScaleWithThePen() {
    QFETCH(FormId, form);
    QFETCH(int, drawWidth);
    QFETCH(double, axisAt);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showActivated(program, form));
    auto& window = surfaceWindow(program, form);
    const QRgb ink = window.surface().foreground().rgb();
    const QRgb paper = window.surface().background().rgb();
    const int devicePen = drawWidth * 2;

    const int axisX = static_cast<int>(axisAt * window.width());
    const std::optional<int> row = freeRowBelowMiddle(window, axisX);
    QVERIFY2(row.has_value(), "no row where the vertical axis is uncovered");
    const int column = 2; // left of every figure, right of the window's edge
    QVERIFY(window.childAt(column, window.height() / 2) == nullptr);

    const QImage kept = window.surface().image();
    const QImage painted = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(painted.size(), kept.size());
    for (const QImage& image : {kept, painted}) {
        // Along the row only near the axis: controls elsewhere on it have text.
        const int y = *row * 2;
        const int expectedX = static_cast<int>(axisAt * image.width());
        const QList<Run> across =
            runsOf(image, y, false, ink, expectedX - 3 * devicePen, expectedX + 3 * devicePen);
        QCOMPARE(across.size(), 1);
        QCOMPARE(across[0].length, devicePen);
        QVERIFY2(qAbs(across[0].start - axisAt * image.width()) <= devicePen,
                 qPrintable(QString::number(across[0].start)));
        QCOMPARE(otherColours(image, y, false, across[0].start - 4, across[0].start + devicePen + 3,
                              ink, paper),
                 0);

        const int x = column * 2;
        const QList<Run> down = runsOf(image, x, true, ink, 0, image.height() - 1);
        QCOMPARE(down.size(), 1);
        QCOMPARE(down[0].length, devicePen);
        QVERIFY2(qAbs(down[0].start - image.height() / 2.0) <= devicePen,
                 qPrintable(QString::number(down[0].start)));
        QCOMPARE(otherColours(image, x, true, down[0].start - 4, down[0].start + devicePen + 3, ink,
                              paper),
                 0);
    }
}

// An enlarged image of ratio 1 would start every dot on an even device pixel;
// the figure drawn at the screen's resolution also uses the odd ones.
void TestHighDpi::figureIsPlacedOnDevicePixels() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showActivated(program, FormId::Form2));
    const QImage& image = program.form2().surface().image();
    const QRgb red = 0x800000;
    int oddStarts = 0;
    int runs = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (const Run& run : runsOf(image, y, false, red, 0, image.width() - 1)) {
            ++runs;
            oddStarts += run.start % 2;
        }
    }
    QVERIFY2(runs > 100, qPrintable(QString::number(runs)));
    QVERIFY2(oddStarts > 0, "every dot of the figure starts on an even device pixel");
}

int main(int argc, char* argv[]) {
    // The test is about a screen of ratio 2; CTest sets it too.
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        qputenv("QT_SCALE_FACTOR", "2");
    }
    QApplication application(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_dpi.moc"
