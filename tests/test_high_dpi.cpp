// The calibration window on a screen of device pixel ratio 2 (CTest sets
// QT_SCALE_FACTOR=2): the layout keeps its geometry in device-independent
// pixels, and the window draws at the screen's resolution, sharp, not enlarged.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "support/recording_ui.h"

#include <QtTest>

namespace {

// 17 pixels of row `line` of `image` (or of that column) from `from` on: '#' for
// ink, '.' for paper, '?' for any other colour.
QString profile(const QImage& image, bool down, int line, int from, QRgb ink, QRgb paper) {
    QString pixels;
    for (int i = from; i < from + 17; ++i) {
        const QRgb pixel = down ? image.pixel(line, i) : image.pixel(i, line);
        pixels += QLatin1Char(pixel == ink ? '#' : pixel == paper ? '.' : '?');
    }
    return pixels;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        lumetra::app::prepareApplication();
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void calibrationWindow() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        program.show(lumetra::forms::FormId::Form2);
        auto& window = program.form2();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(program.tracker().lastActive() == lumetra::forms::FormId::Form2);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Command1"))->geometry(),
                 QRect(208, 192, 105, 41)); // 3120, 2880, 1575, 615 twips
        const QImage kept = window.surface().image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(kept.size(), window.size() * 2);
        const QImage painted = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(painted.size(), kept.size());
        // The axes at DrawWidth 1, the vertical one at 93183.68 of 146367.36
        // units, seen on the bottom row, below every control.
        const double axisAt = 93183.68 / 146367.36;
        const int row = window.height() - 1;
        QVERIFY(window.childAt(qRound(axisAt * window.width()), row) == nullptr);
        const QRgb ink = window.surface().foreground().rgb();
        const QRgb paper = window.surface().background().rgb();
        // Two ink pixels near the middle of each profile, only paper around them.
        const QRegularExpression crisp(QStringLiteral("^\\.{6,10}##\\.+$"));
        for (const QImage& image : {kept, painted}) {
            const int x = qRound(axisAt * image.width()) - 8;
            const QString across = profile(image, false, 2 * row, x, ink, paper);
            const QString down = profile(image, true, 4, image.height() / 2 - 8, ink, paper);
            QVERIFY2(crisp.match(across).hasMatch(), qPrintable(across));
            QVERIFY2(crisp.match(down).hasMatch(), qPrintable(down));
        }
    }
};

QTEST_MAIN(TestHighDpi)
#include "test_high_dpi.moc"
