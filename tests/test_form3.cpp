// The parameter window in real widgets, offscreen: the first activation's
// defaults, the field checks with their messages and red marks, the locale
// rules for numbers, the colour counter's wrap and the return from the plot
// window. The road to the window is the user's: the calibration window's
// scroll bar, then "OK - continua".

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "support/recording_ui.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::forms::Form3;
using lumetra::runtime::Value;
using lumetra::testing::RecordingUi;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

QLineEdit* field(Form3& form, const QString& name) {
    return form.controls().get<QLineEdit>(name);
}

QPushButton* button(const lumetra::forms::Controls& controls, const char* name) {
    return controls.get<QPushButton>(QString::fromLatin1(name));
}

QColor background(const QLineEdit* edit) {
    return edit->palette().color(QPalette::Base);
}

void paint(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

const Value& variableOf(Form3& form, const QString& fieldName) {
    if (fieldName == QLatin1String("Text1")) {
        return form.VALa();
    }
    if (fieldName == QLatin1String("Text2")) {
        return form.VALb();
    }
    return form.VALe();
}

bool isActive(const Program& program, FormId id) {
    return program.tracker().lastActive() == id;
}

} // namespace

class TestForm3 : public QObject {
    Q_OBJECT

private:
    // Calibrates to 0.55 on the calibration window and goes on to this one.
    static bool openParameters(Program& program);
    static void pressAvanti(Program& program);

    QLocale startLocale_;

private slots:
    void initTestCase();
    void cleanup();

    void firstActivationWritesDefaultsOnWhite();
    void accessorsCreateTheWindowWithoutActivatingIt();
    void captionAndHeading();
    void tabOrderReachesTheIncrementLast();
    void oneInvalidFieldIsReportedThenClearedAndMarked_data();
    void oneInvalidFieldIsReportedThenClearedAndMarked();
    void onlyTheFirstOfTwoInvalidFieldsIsReported();
    void numbersFollowTheLocale_data();
    void numbersFollowTheLocale();
    void avantiWrapsTheColourCounterAbove14_data();
    void avantiWrapsTheColourCounterAbove14();
    void redMarkSurvivesSuccessUntilTheReturn();
    void esciEndsTheProgram();
};

bool TestForm3::openParameters(Program& program) {
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

void TestForm3::pressAvanti(Program& program) {
    QTest::mouseClick(button(program.form3().controls(), "Command2"), Qt::LeftButton);
}

void TestForm3::initTestCase() {
    lumetra::app::prepareApplication();
    startLocale_ = QLocale();
}

void TestForm3::cleanup() {
    QLocale::setDefault(startLocale_);
}

void TestForm3::firstActivationWritesDefaultsOnWhite() {
    RecordingUi ui;
    Program program(ui);
    Form3& form = program.form3();
    // Texts and colours that the first activation must replace.
    field(form, QStringLiteral("Text1"))->setText(QStringLiteral("12"));
    field(form, QStringLiteral("Text2"))->setText(QString());
    paint(field(form, QStringLiteral("Text5")), kRed);

    QVERIFY(openParameters(program));

    QCOMPARE(field(form, QStringLiteral("Text1"))->text(), QStringLiteral("86"));
    QCOMPARE(field(form, QStringLiteral("Text2"))->text(), QStringLiteral("55"));
    QCOMPARE(field(form, QStringLiteral("Text5"))->text(), QStringLiteral("1"));
    for (const char* name : {"Text1", "Text2", "Text5"}) {
        QCOMPARE(background(field(form, QString::fromLatin1(name))), kWhite);
    }
    QTRY_COMPARE(QApplication::focusWidget(), field(form, QStringLiteral("Text1")));
    QVERIFY(form.VALa().isEmpty());

    pressAvanti(program);
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(form.VALa().isDouble());
    QVERIFY(form.VALb().isDouble());
    QVERIFY(form.VALe().isDouble());
    QCOMPARE(form.VALa().arithmetic(), 86.0);
    QCOMPARE(form.VALb().arithmetic(), 55.0);
    QCOMPARE(form.VALe().arithmetic(), 1.0);
    QVERIFY(program.exists(FormId::Form4));
    QTRY_VERIFY(isActive(program, FormId::Form4));
    QVERIFY(program.form4().isVisible());
}

void TestForm3::accessorsCreateTheWindowWithoutActivatingIt() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(!program.exists(FormId::Form3));

    // What the plot window does when it reads the parameters.
    const Value& vale = program.form3().VALe();

    QVERIFY(program.exists(FormId::Form3));
    Form3& form = program.form3();
    QVERIFY(vale.isEmpty());
    QVERIFY(form.VALa().isEmpty());
    QVERIFY(form.VALb().isEmpty());
    QCOMPARE(form.Miocolor(), std::int16_t{0});
    QVERIFY(!form.isVisible());
    QTest::qWait(50);
    QVERIFY(!isActive(program, FormId::Form3));
    QCOMPARE(field(form, QStringLiteral("Text1"))->text(), QStringLiteral("86"));

    // Not yet activated: a text changed now is replaced at the first
    // activation, a text changed after it is kept at the next.
    field(form, QStringLiteral("Text1"))->setText(QStringLiteral("7"));
    QVERIFY(openParameters(program));
    QCOMPARE(field(form, QStringLiteral("Text1"))->text(), QStringLiteral("86"));
    field(form, QStringLiteral("Text1"))->setText(QStringLiteral("7"));
    program.form2().activateWindow();
    QTRY_VERIFY(isActive(program, FormId::Form2));
    form.activateWindow();
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QCOMPARE(field(form, QStringLiteral("Text1"))->text(), QStringLiteral("7"));
    QVERIFY(ui.messages.isEmpty());
}

void TestForm3::captionAndHeading() {
    RecordingUi ui;
    Program program(ui);
    Form3& form = program.form3();
    QCOMPARE(form.windowTitle(), QStringLiteral(" "));
    const auto& controls = form.controls();
    QCOMPARE(controls.get<QLabel>(QStringLiteral("Label1"))->text(),
             QStringLiteral("IMPOSTARE I VALORI DELLE COSTANTI"));
    QCOMPARE(button(controls, "Command2")->text(), QStringLiteral("AVANTI"));
    QCOMPARE(button(controls, "Command1")->text(), QStringLiteral("ESCI"));
}

void TestForm3::tabOrderReachesTheIncrementLast() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    const auto& controls = program.form3().controls();
    const QList<QWidget*> order = {
        controls.widget(QStringLiteral("Text1")),    controls.widget(QStringLiteral("Text2")),
        controls.widget(QStringLiteral("Command2")), controls.widget(QStringLiteral("Command1")),
        controls.widget(QStringLiteral("Text5")),    controls.widget(QStringLiteral("Text1")),
    };
    QTRY_COMPARE(QApplication::focusWidget(), order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), order[i]);
    }
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(ui.endCount, 0);
}

void TestForm3::oneInvalidFieldIsReportedThenClearedAndMarked_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    const QString vala = QStringLiteral("VALa non \u00E8 un numero");
    const QString valb = QStringLiteral("VALb non \u00E8 un numero");
    const QString vale = QStringLiteral("VALe non \u00E8 un numero");
    QTest::newRow("Text1 empty") << QStringLiteral("Text1") << QString() << vala;
    QTest::newRow("Text1 words") << QStringLiteral("Text1") << QStringLiteral("abc") << vala;
    QTest::newRow("Text1 inf") << QStringLiteral("Text1") << QStringLiteral("inf") << vala;
    QTest::newRow("Text2 blanks") << QStringLiteral("Text2") << QStringLiteral("   ") << valb;
    QTest::newRow("Text2 nan") << QStringLiteral("Text2") << QStringLiteral("nan") << valb;
    QTest::newRow("Text5 1e400") << QStringLiteral("Text5") << QStringLiteral("1e400") << vale;
    QTest::newRow("Text5 -inf") << QStringLiteral("Text5") << QStringLiteral("-inf") << vale;
}

void TestForm3::oneInvalidFieldIsReportedThenClearedAndMarked() {
    QFETCH(QString, fieldName);
    QFETCH(QString, text);
    QFETCH(QString, message);

    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    Form3& form = program.form3();
    QLineEdit* bad = field(form, fieldName);
    bad->setText(text);

    // While the box is open the field still shows what the user typed, white.
    int checksWhileOpen = 0;
    ui.onMessage = [&](const QString&) {
        ++checksWhileOpen;
        QCOMPARE(bad->text(), text);
        QCOMPARE(background(bad), kWhite);
        QVERIFY(!variableOf(form, fieldName).isString());
    };
    pressAvanti(program);

    QCOMPARE(ui.messages, QStringList{message});
    QCOMPARE(checksWhileOpen, 1);
    QCOMPARE(ui.messageWindows.front(), static_cast<QWidget*>(&form));
    QCOMPARE(bad->text(), QString());
    QCOMPARE(background(bad), kRed);
    const Value& variable = variableOf(form, fieldName);
    QVERIFY(variable.isString());
    QVERIFY(variable.equalsText(""));
    QVERIFY(!program.exists(FormId::Form4));

    // The fields before the failing one were stored, the later ones never read.
    const QStringList names = {QStringLiteral("Text1"), QStringLiteral("Text2"),
                               QStringLiteral("Text5")};
    const qsizetype failing = names.indexOf(fieldName);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i < failing) {
            QVERIFY(variableOf(form, names[i]).isDouble());
        } else if (i > failing) {
            QVERIFY(variableOf(form, names[i]).isEmpty());
        }
        if (i != failing) {
            QCOMPARE(background(field(form, names[i])), kWhite);
        }
    }
    QCOMPARE(ui.endCount, 0);
}

void TestForm3::onlyTheFirstOfTwoInvalidFieldsIsReported() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    Form3& form = program.form3();
    QLineEdit* text1 = field(form, QStringLiteral("Text1"));
    QLineEdit* text5 = field(form, QStringLiteral("Text5"));
    text1->setText(QStringLiteral("x"));
    text5->setText(QStringLiteral("y"));

    pressAvanti(program);
    QCOMPARE(ui.messages, QStringList{QStringLiteral("VALa non \u00E8 un numero")});
    QCOMPARE(text1->text(), QString());
    QCOMPARE(background(text1), kRed);
    QCOMPARE(text5->text(), QStringLiteral("y"));
    QCOMPARE(background(text5), kWhite);
    QVERIFY(form.VALe().isEmpty());

    text1->setText(QStringLiteral("86"));
    pressAvanti(program);
    QCOMPARE(ui.messages, (QStringList{QStringLiteral("VALa non \u00E8 un numero"),
                                       QStringLiteral("VALe non \u00E8 un numero")}));
    QCOMPARE(form.VALa().arithmetic(), 86.0);
    QCOMPARE(text5->text(), QString());
    QCOMPARE(background(text5), kRed);
    QVERIFY(form.VALe().equalsText(""));
    // A corrected field keeps its red mark: only an activation whitens it.
    QCOMPARE(background(text1), kRed);
    QVERIFY(!program.exists(FormId::Form4));
}

void TestForm3::numbersFollowTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("it 12,5") << italian << QStringLiteral("12,5") << true << 12.5;
    QTest::newRow("it 12.5") << italian << QStringLiteral("12.5") << false << 0.0;
    QTest::newRow("it -1,5E2") << italian << QStringLiteral("-1,5E2") << true << -150.0;
    QTest::newRow("it 1e400") << italian << QStringLiteral("1e400") << false << 0.0;
    QTest::newRow("en 12.5") << english << QStringLiteral("12.5") << true << 12.5;
    QTest::newRow("en 12,5") << english << QStringLiteral("12,5") << false << 0.0;
    QTest::newRow("en -1.5E2") << english << QStringLiteral("-1.5E2") << true << -150.0;
    QTest::newRow("en inf") << english << QStringLiteral("inf") << false << 0.0;
}

void TestForm3::numbersFollowTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);

    QLocale::setDefault(locale);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    Form3& form = program.form3();
    field(form, QStringLiteral("Text2"))->setText(text);

    pressAvanti(program);

    if (accepted) {
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(form.VALb().isDouble());
        QCOMPARE(form.VALb().arithmetic(), value);
        QVERIFY(program.exists(FormId::Form4));
        QTRY_VERIFY(isActive(program, FormId::Form4));
    } else {
        QCOMPARE(ui.messages, QStringList{QStringLiteral("VALb non \u00E8 un numero")});
        QVERIFY(form.VALb().equalsText(""));
        QVERIFY(!program.exists(FormId::Form4));
    }
    QCOMPARE(ui.endCount, 0);
}

void TestForm3::avantiWrapsTheColourCounterAbove14_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("atShow");

    QTest::newRow("14 stays") << 14 << 14;
    QTest::newRow("15 wraps") << 15 << 0;
    QTest::newRow("32767 wraps") << 32767 << 0;
    QTest::newRow("0 stays") << 0 << 0;
}

void TestForm3::avantiWrapsTheColourCounterAbove14() {
    QFETCH(int, before);
    QFETCH(int, atShow);

    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    Form3& form = program.form3();
    form.setMiocolor(static_cast<std::int16_t>(before));

    // Look at the counter the moment the plot window is asked to show, before
    // its activation plots and advances it.
    int seen = -1;
    QObject::connect(button(form.controls(), "Command2"), &QPushButton::clicked, &form,
                     [&] { seen = form.Miocolor(); });
    pressAvanti(program);
    QCOMPARE(seen, atShow);

    // The plot that follows advances it by one; from 14 the first curve
    // point uses the last palette colour and the counter runs past it.
    QTRY_VERIFY(isActive(program, FormId::Form4));
    QCOMPARE(int{form.Miocolor()}, atShow == 14 ? 15 : atShow + 1);
    QVERIFY(ui.messages.isEmpty());
}

void TestForm3::redMarkSurvivesSuccessUntilTheReturn() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    Form3& form = program.form3();
    QLineEdit* text1 = field(form, QStringLiteral("Text1"));
    QLineEdit* text2 = field(form, QStringLiteral("Text2"));
    QLineEdit* text5 = field(form, QStringLiteral("Text5"));
    text1->setText(QStringLiteral("abc"));
    pressAvanti(program);
    QCOMPARE(background(text1), kRed);

    text1->setText(QStringLiteral("90"));
    text2->setText(QStringLiteral("40"));
    pressAvanti(program);
    QTRY_VERIFY(isActive(program, FormId::Form4));
    QCOMPARE(form.VALa().arithmetic(), 90.0);
    QCOMPARE(form.VALb().arithmetic(), 40.0);
    QCOMPARE(background(text1), kRed);

    QTest::mouseClick(button(program.form4().controls(), "Command1"), Qt::LeftButton);
    QTRY_VERIFY(isActive(program, FormId::Form3));
    QCOMPARE(text1->text(), QStringLiteral("90"));
    QCOMPARE(text2->text(), QStringLiteral("40"));
    QCOMPARE(text5->text(), QStringLiteral("1"));
    for (const QLineEdit* edit : {text1, text2, text5}) {
        QCOMPARE(background(edit), kWhite);
    }
    QCOMPARE(ui.messages.size(), 1);
}

void TestForm3::esciEndsTheProgram() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(openParameters(program));
    QCOMPARE(ui.endCount, 0);
    QTest::mouseClick(button(program.form3().controls(), "Command1"), Qt::LeftButton);
    QCOMPARE(ui.endCount, 1);
    QVERIFY(program.ended());
    QVERIFY(!program.exists(FormId::Form4));
}

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
