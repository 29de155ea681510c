// The parameter and plot windows, offscreen, reached the user's way: the calibration
// window's scroll bar to 0.55, "OK - continua". Plots are read back from the picture.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "runtime/palette.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QSet>
#include <QTest>

#include <array>
#include <cmath>
#include <optional>

using lumetra::forms::FormId;
using namespace Qt::StringLiterals;

class TestParameterAndPlotWindows : public QObject {
    Q_OBJECT

    // The end A of segment OA with the defaults 86 and 55 degrees, from O, y upwards.
    static constexpr double kAx = 49.3276;
    static constexpr double kAy = 70.4471;

    std::optional<lumetra::testing::RecordingUi> ui;
    std::optional<lumetra::app::Program> program;

    static QRgb colour(int index) { return 0xFF000000U | lumetra::runtime::QBColor(index); }
    QString notANumber(const char* n) { return QLatin1String(n) + u" non \u00E8 un numero"_s; }

    static bool click(QWidget& window, const char* caption) {
        return lumetra::testing::click(window, QString::fromUtf8(caption));
    }

    // The pixel of the point (x, y) from O (x = 260 of 500, mid-height of h) or a neighbour.
    static bool colourNear(const QImage& image, double x, double y, double h, QRgb wanted) {
        const QPoint centre(static_cast<int>(std::lround((260.0 + x) / 500.0 * image.width())),
                            static_cast<int>(std::lround((0.5 - y / h) * image.height())));
        for (int i = 0; i < 9; ++i) {
            const QPoint p = centre + QPoint(i % 3 - 1, i / 3 - 1);
            if (image.valid(p) && image.pixel(p) == wanted) {
                return true;
            }
        }
        return false;
    }
    // The curve of palette colour `index` ends at A.
    static bool endsAtA(const QImage& image, double h, int index) {
        return colourNear(image, kAx, kAy, h, colour(index));
    }

    bool waitActive(FormId id) { return lumetra::testing::waitActive(*program, id); }
    bool switchTo(FormId id) {
        program->window(id).activateWindow();
        return waitActive(id);
    }
    bool avanti() { return click(program->form3(), "AVANTI") && waitActive(FormId::Form4); }
    bool plotClick(const char* caption) { return click(program->form4(), caption); }
    QWidget* control(const char* name) {
        return program->form3().controls().widget(QString::fromLatin1(name));
    }
    QLineEdit* field(int index) {
        return static_cast<QLineEdit*>(control(std::array{"Text1", "Text2", "Text5"}[index]));
    }
    const QImage& picture() { return program->form4().surface().image(); }
    QRgb ink() { return program->form4().surface().foreground().rgb(); }

    // Each field's text, after "red:" on red and after "?" on neither red nor white.
    QStringList shown() {
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            const QColor base = field(i)->palette().color(QPalette::Base);
            const char* mark = base == QColor(255, 0, 0) ? "red:" : base == Qt::white ? "" : "?";
            seen << QString::fromLatin1(mark) + field(i)->text();
        }
        return seen;
    }

    // Both axes, the vertical one at x = 260 and not 250, and the first family OA, in ink.
    bool frameDrawn(double h) {
        bool drawn = !colourNear(picture(), -10.0, -h / 4.0, h, ink());
        for (const double t : {0.2, 0.5, 0.8}) {
            drawn = drawn && colourNear(picture(), 0.0, -t * h / 2.0, h, ink()) &&
                    colourNear(picture(), -t * 260.0, 0.0, h, ink()) &&
                    colourNear(picture(), t * kAx, t * kAy, h, ink());
        }
        return drawn;
    }

    // Only the background, with the foreground and these palette colours if any are given.
    bool drawnIn(std::initializer_list<int> palette) {
        QSet<QRgb> wanted{program->form4().surface().background().rgb()};
        for (const int index : palette) {
            wanted << ink() << colour(index);
        }
        const QImage image = picture().convertToFormat(QImage::Format_ARGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return QSet<QRgb>(pixels, pixels + image.width() * image.height()) == wanted;
    }

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }

    void init() {
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        QVERIFY(lumetra::testing::reachParameterWindow(*program));
    }

    void firstActivationTabOrderAndAvanti() {
        QCOMPARE(shown(), (QStringList{u"86"_s, u"55"_s, u"1"_s}));
        QTRY_COMPARE(QApplication::focusWidget(), control("Text1"));
        for (const char* next : {"Text2", "Command2", "Command1", "Text5", "Text1"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), control(next));
        }
        // "AVANTI" keeps a colour counter of 14; the plot then advances it.
        program->form3().setMiocolor(14);
        QVERIFY(avanti());
        QCOMPARE(program->form3().Miocolor(), std::int16_t{15});
    }

    void fieldCheck_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted as 12.5
        const QLocale it(QLocale::Italian, QLocale::Italy);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("empty") << it << 0 << u""_s << notANumber("VALa");
        QTest::newRow("inf") << en << 0 << u"inf"_s << notANumber("VALa");
        QTest::newRow("nan") << it << 1 << u"nan"_s << notANumber("VALb");
        QTest::newRow("1e400") << en << 2 << u"1e400"_s << notANumber("VALe");
        QTest::newRow("it 12,5") << it << 1 << u"12,5"_s << QString();
        QTest::newRow("it 12.5") << it << 1 << u"12.5"_s << notANumber("VALb");
        QTest::newRow("en 12.5") << en << 1 << u"12.5"_s << QString();
        QTest::newRow("en 12,5") << en << 1 << u"12,5"_s << notANumber("VALb");
    }

    void fieldCheck() {
        QFETCH(QLocale, locale);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QLocale::setDefault(locale);
        field(index)->setText(text);
        // While the box is open the field still shows what the user typed, white.
        QStringList seenWhileOpen;
        ui->onMessage = [&](const QString&) { seenWhileOpen << shown()[index]; };
        QVERIFY(click(program->form3(), "AVANTI"));
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
        QVERIFY(variable.isString() && variable.equalsText(""));
    }

    // Only the first invalid field is reported; a corrected one stays red
    // through a successful "AVANTI" and is whitened by the return.
    void twoInvalidFieldsThenSuccessAndReturn() {
        field(0)->setText(u"x"_s);
        field(2)->setText(u"y"_s);
        QVERIFY(click(program->form3(), "AVANTI"));
        QCOMPARE(ui->messages, QStringList{notANumber("VALa")});
        QCOMPARE(shown(), (QStringList{u"red:"_s, u"55"_s, u"y"_s}));
        field(0)->setText(u"90"_s);
        QVERIFY(click(program->form3(), "AVANTI"));
        QCOMPARE(ui->messages, (QStringList{notANumber("VALa"), notANumber("VALe")}));
        QCOMPARE(shown(), (QStringList{u"red:90"_s, u"55"_s, u"red:"_s}));
        field(2)->setText(u"2"_s);
        program->form3().setMiocolor(15); // wrapped to 0 by "AVANTI", 1 after the plot
        QVERIFY(avanti());
        QCOMPARE(program->form3().Miocolor(), std::int16_t{1});
        QCOMPARE(shown(), (QStringList{u"red:90"_s, u"55"_s, u"red:2"_s}));
        QVERIFY(plotClick("RIPRENDI i dati") && waitActive(FormId::Form3));
        QCOMPARE(shown(), (QStringList{u"90"_s, u"55"_s, u"2"_s}));
        QCOMPARE(ui->messages.size(), 2);
    }

    void eachActivationPlotsAtTheCalibratedScale() {
        QVERIFY(avanti());
        QTRY_COMPARE(QApplication::focusWidget(),
                     program->form4().controls().widget(u"Command3"_s));
        QVERIFY(frameDrawn(275.0));
        QVERIFY(drawnIn({2}));
        // The same parameters: the next curve lies exactly over the first one.
        QVERIFY(switchTo(FormId::Form3) && switchTo(FormId::Form4));
        QVERIFY(drawnIn({3}));
        // The calibration window's activation puts the factor back to 0.51.
        QVERIFY(switchTo(FormId::Form2) && switchTo(FormId::Form4));
        QVERIFY(frameDrawn(255.0));
        QVERIFY(endsAtA(picture(), 255.0, 4));
        QVERIFY(endsAtA(picture(), 275.0, 3));
        QVERIFY(ui->messages.isEmpty());
    }

    void checkBoxesThenCancelETraccia() {
        QVERIFY(avanti());
        const QImage before = picture().copy();
        const auto& answers = program->form4().variables();
        QVERIFY(plotClick("X=OA Cos"));
        QVERIFY(answers.Risposta1.isInt16() && answers.Risposta1.arithmetic() == 7 &&
                answers.Risposta2.isEmpty());
        QVERIFY(plotClick("Y=OA Cos") && plotClick("Y=OA Cos"));
        QVERIFY(answers.Risposta2.isInt16() && answers.Risposta2.arithmetic() == 0);
        QCOMPARE(picture(), before);
        // "X=OA Cos" ticked: a quarter ellipse that the next curve will not cover.
        QVERIFY(plotClick("TRACCIA") && plotClick("X=OA Cos"));
        QVERIFY(answers.Risposta1.isInt16() && answers.Risposta1.arithmetic() == 0);
        QVERIFY(drawnIn({2, 3}));
        QVERIFY(plotClick("Cancel e traccia"));
        QVERIFY(drawnIn({4}));
        QVERIFY(frameDrawn(275.0));
    }

    void riprendiKeepsThePlotUnderTheParameterWindow() {
        QVERIFY(avanti());
        QVERIFY(plotClick("RIPRENDI i dati") && waitActive(FormId::Form3));
        // What the window paints when uncovered is the kept picture.
        QVERIFY(endsAtA(program->form4().grab().toImage(), 275.0, 2));
        field(1)->setText(u"30"_s); // so that the new curve does not hide the first
        QVERIFY(avanti());
        QVERIFY(drawnIn({2, 3}));
    }

    // In each failure below the message is shown, what was drawn before it
    // stays, and the program runs on: a later "AVANTI" plots again.
    void overflowsThenCancellaERiprendi() {
        field(2)->setText(u"400"_s);
        QVERIFY(avanti());
        QCOMPARE(ui->messages, QStringList{u"Overflow"_s});
        QCOMPARE(program->form4().variables().A2, std::int16_t{32760}); // pass 820 of 821
        QVERIFY(frameDrawn(275.0));
        QVERIFY(drawnIn({2}));
        QVERIFY(plotClick("Cancella e riprendi      i dati") && waitActive(FormId::Form3));
        QVERIFY(drawnIn({}));
        field(2)->setText(u"1"_s);
        QVERIFY(avanti());
        QVERIFY(drawnIn({3}));
        program->form3().setMiocolor(32767);
        QVERIFY(plotClick("TRACCIA"));
        QCOMPARE(ui->messages, (QStringList{u"Overflow"_s, u"Overflow"_s}));
        QVERIFY(drawnIn({3}));
        // "AVANTI" wraps the counter, and the next plot is green again.
        QVERIFY(plotClick("RIPRENDI i dati") && waitActive(FormId::Form3) && avanti());
        QVERIFY(drawnIn({2}));
        QCOMPARE(ui->messages.size(), 2);
        QCOMPARE(ui->endCount, 0);
    }

    void refusedEntryThenThePlotWindowIsATypeMismatch_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("VALa") << 0;
        QTest::newRow("VALb") << 1;
        QTest::newRow("VALe") << 2;
    }
    void refusedEntryThenThePlotWindowIsATypeMismatch() {
        QFETCH(int, index);
        QVERIFY(avanti());
        QVERIFY(plotClick("RIPRENDI i dati") && waitActive(FormId::Form3));
        field(index)->setText(u"x"_s);
        QVERIFY(click(program->form3(), "AVANTI"));
        // Back to the plot window, still open from the first plot.
        QVERIFY(switchTo(FormId::Form4));
        const char* name = std::array{"VALa", "VALb", "VALe"}[index];
        QCOMPARE(ui->messages, (QStringList{notANumber(name), u"Tipo non corrispondente"_s}));
        QCOMPARE(ui->messageWindows.back(), static_cast<QWidget*>(&program->form4()));
        QVERIFY(drawnIn({2}));
        QVERIFY(switchTo(FormId::Form3));
        field(index)->setText(QString::number(std::array{86, 55, 1}[index]));
        QVERIFY(avanti());
        QVERIFY(endsAtA(picture(), 275.0, 4)); // the failed plot used colour 3
        QCOMPARE(ui->messages.size(), 2);
        QCOMPARE(ui->endCount, 0);
    }
};

QTEST_MAIN(TestParameterAndPlotWindows)
#include "test_parameter_and_plot_windows.moc"
