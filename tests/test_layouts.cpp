// The four windows walked against their layout tables control by control, spot
// checks of the texts that matter most, focus and keys. CTest runs it again at
// QT_SCALE_FACTOR=2, where every geometry must stay the same.

#include "app/program.h"
#include "app/start_up.h"
#include "controls/title_page_view.h"
#include "controls/wrapping_button.h"
#include "forms/form2.h"
#include "forms/form_builder.h"
#include "resources/title_page.h"
#include "support/recording_ui.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using lumetra::forms::FormId;
using lumetra::app::Program;
using lumetra::controls::TitlePageView;
using lumetra::controls::WrappingButton;
using lumetra::forms::text;
using lumetra::resources::ControlLayout;
using lumetra::resources::WindowLayout;
using lumetra::testing::RecordingUi;
using K = lumetra::resources::ControlKind;
using lumetra::resources::SystemColour;

Q_DECLARE_METATYPE(lumetra::forms::FormId)

namespace {

const WindowLayout& layoutOf(FormId id) {
    using namespace lumetra::resources;
    const WindowLayout* layouts[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                     &form4Layout()};
    return *layouts[static_cast<int>(id)];
}

QWidget* find(Program& program, FormId form, std::string_view name) {
    return program.window(form).findChild<QWidget*>(text(name));
}

QString face(const char* wanted, const char* standIn) {
    return QLatin1String(QFontDatabase::hasFamily(QLatin1String(wanted)) ? wanted : standIn);
}

const lumetra::resources::Colour kButtonText{std::nullopt, SystemColour::ButtonText};

QColor colourOf(const lumetra::resources::Colour& colour) {
    const QPalette::ColorRole roles[] = {QPalette::Button, QPalette::ButtonText, QPalette::Base,
                                         QPalette::HighlightedText}; // by SystemColour
    return colour.rgb ? QColor::fromRgb(*colour.rgb)
                      : QApplication::palette().color(roles[static_cast<int>(*colour.role)]);
}

// The class each kind of control is built as, in the order of ControlKind.
const char* const kClass[] = {"QPushButton", "QLabel",    "QLineEdit", "QScrollBar",
                              "QCheckBox",   "QGroupBox", "QWidget"};

} // namespace

class TestLayouts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }

    void controls_data() {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<int>("index");
        for (FormId form : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4}) {
            const WindowLayout& layout = layoutOf(form);
            for (std::size_t i = 0; i < layout.controls.size(); ++i) {
                QTest::addRow("%s/%s", layout.name.data(), layout.controls[i].name.data())
                    << form << static_cast<int>(i);
            }
        }
    }

    // Each control as its layout row describes it; positions in device-independent
    // pixels from the container's client area.
    void controls() {
        QFETCH(FormId, form);
        QFETCH(int, index);
        const ControlLayout& entry = layoutOf(form).controls[static_cast<std::size_t>(index)];
        RecordingUi ui;
        Program program(ui);
        QWidget& window = program.window(form);
        QWidget* w = find(program, form, entry.name);
        QVERIFY(w != nullptr && w->inherits(kClass[static_cast<int>(entry.kind)]));
        QCOMPARE(dynamic_cast<WrappingButton*>(w) != nullptr, entry.kind == K::CommandButton);
        QCOMPARE(dynamic_cast<TitlePageView*>(w) != nullptr, entry.kind == K::TitlePage);
        const QString caption = text(entry.caption);
        QCOMPARE(w->property(entry.kind == K::Frame ? "title" : "text").toString(), caption);
        QCOMPARE(w->parentWidget(),
                 entry.container.empty() ? &window : find(program, form, entry.container));
        QCOMPARE(w->geometry(),
                 QRect(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15));
        QVERIFY(w->isVisibleTo(&window) && w->isEnabled());
        const bool focusless = entry.kind == K::Label || entry.kind == K::Frame;
        QVERIFY(!focusless || w->focusPolicy() == Qt::NoFocus);
        if (entry.kind != K::TitlePage) {
            const auto font = entry.font.value_or(lumetra::resources::kWindowFont);
            QCOMPARE(w->font().pointSizeF(), font.pointSize);
            QCOMPARE(w->font().bold(), font.weight >= 700);
            QCOMPARE(QFontInfo(w->font()).family(), face("MS Sans Serif", "Liberation Sans"));
        }
        const QPalette app = QApplication::palette();
        const QColor ink = colourOf(entry.foreground.value_or(kButtonText));
        QCOMPARE(w->palette().color(w->foregroundRole()), ink);
        QVERIFY(!entry.background ||
                w->palette().color(QPalette::Button) == colourOf(*entry.background));
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), "no accessible name");
        QVERIFY(entry.kind == K::TextBox ? name != caption : caption.isEmpty() || name == caption);

        if (auto* label = qobject_cast<QLabel*>(w)) {
            // Opaque in the button-face colour, the text in the row's colour.
            const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(image.pixelColor(0, 0), app.color(QPalette::Button));
            const auto* first = reinterpret_cast<const QRgb*>(image.constBits());
            QVERIFY(std::count(first, first + image.width() * image.height(), ink.rgb()) > 0);
        }
    }

    // The texts whose exact form matters most, quoted independently of the tables.
    void quotedTexts() {
        RecordingUi ui;
        Program program(ui);
        auto lines = [&program](FormId form) {
            return dynamic_cast<WrappingButton*>(find(program, form, "Command2"))->captionLines();
        };
        QCOMPARE(lines(FormId::Form4), QStringList({QStringLiteral("Cancella e riprendi      "),
                                                    QStringLiteral("i dati")}));
        QCOMPARE(find(program, FormId::Form4, "Command4")->property("text").toString(),
                 QStringLiteral("Traccia le linee tra le curve di I\u00B0 livello"));
        QCOMPARE(
            lines(FormId::Form2).join(QString()),
            QStringLiteral("KLICCARE  sulla barra di scorrimento fino a che la figura  risulti "
                           "una CIRCONFERENZA"));
        QCOMPARE(lines(FormId::Form2).size(), 2);
        for (auto [box, label] :
             {std::pair{"Text1", "Label2"}, {"Text2", "Label3"}, {"Text5", "Label6"}}) {
            QCOMPARE(find(program, FormId::Form3, box)->accessibleName(),
                     find(program, FormId::Form3, label)->property("text").toString());
        }
        // The title page: "PROGRAMMA: " from 602 twips with its baseline at 206,
        // line 4 from the left edge at 1021, in a fixed-pitch face.
        const auto& page = lumetra::resources::titlePage();
        QCOMPARE(text(page.lines.at(0).text), QStringLiteral("PROGRAMMA: "));
        QCOMPARE(text(page.lines.at(1).text),
                 QStringLiteral("  DALLA PAGINA  \u201CLUMETRA\u201D"));
        QFont font(text(page.fontFamily));
        font.setPointSizeF(page.pointSize);
        QCOMPARE(QFontInfo(font).family(), face("Courier New", "Liberation Mono"));
        QVERIFY(QFontInfo(font).fixedPitch() && font.pointSizeF() == 12.0);
        const QPointF first = TitlePageView::textOrigin(1, page.lines[0].leftUnits);
        const QPointF fourth = TitlePageView::textOrigin(4, page.lines[1].leftUnits);
        QVERIFY(qAbs(first.x() - 602 / 15.0) < 0.1 && qAbs(first.y() - 206 / 15.0) < 0.1);
        QVERIFY(fourth.x() >= 0.0 && fourth.x() < 0.5 && qAbs(fourth.y() - 1021 / 15.0) < 0.2);
    }

    void windows_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QString>("firstFocus");
        QTest::newRow("Form1") << "Form1" << FormId::Form1 << "Command1";
        QTest::newRow("Form2") << "Form2" << FormId::Form2 << "HScroll1";
        QTest::newRow("Form3") << " " << FormId::Form3 << "Text1";
        QTest::newRow("Form4") << "Form4" << FormId::Form4 << "Command3";
    }

    // Caption, size, check boxes clear, first focus; Tab and Shift+Tab go round the
    // tab indexes; Enter in a text box and Escape press nothing ("OK - continua"
    // would give its message, "AVANTI" open the plot window, "ESCI" end).
    void windows() {
        QFETCH(QString, caption);
        QFETCH(FormId, form);
        QFETCH(QString, firstFocus);
        RecordingUi ui;
        Program program(ui);
        const WindowLayout& layout = layoutOf(form);
        QWidget& window = program.window(form);
        QCOMPARE(window.size(), QSize(layout.clientWidth / 15, layout.clientHeight / 15));
        if (form == FormId::Form4) {
            program.form2().Form_Activate(); // sets the factor the plot window reads
        }
        program.show(form);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(program.tracker().lastActive(), form); // its activation has run
        QCOMPARE(window.windowHandle()->title(), caption);
        QCOMPARE(window.isMaximized(), layout.maximized);
        QVERIFY(form != FormId::Form1 || window.size() == QSize(778, 487));
        for (auto* box : window.findChildren<QCheckBox*>()) {
            QVERIFY(box->checkState() == Qt::Unchecked && !box->isTristate());
        }
        QMap<int, QWidget*> byTabIndex; // the controls that take the focus
        for (const ControlLayout& entry : layout.controls) {
            if (entry.kind != K::Label && entry.kind != K::Frame && entry.kind != K::TitlePage) {
                byTabIndex.insert(entry.tabIndex, find(program, form, entry.name));
            }
        }
        const QList<QWidget*> order = byTabIndex.values();
        QCOMPARE(order.first()->objectName(), firstFocus);
        QTRY_COMPARE(QApplication::focusWidget(), order.first());
        const auto n = order.size();
        for (qsizetype step = 1; step <= 2 * n; ++step) {
            QWidget* focus = QApplication::focusWidget();
            if (qobject_cast<QLineEdit*>(focus) != nullptr) {
                QTest::keyClick(focus, Qt::Key_Return);
                QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
            }
            QTest::keyClick(focus, Qt::Key_Escape);
            const bool back = step > n;
            QTest::keyClick(focus, back ? Qt::Key_Backtab : Qt::Key_Tab,
                            back ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QApplication::focusWidget(), order[(back ? 2 * n - step : step) % n]);
        }
        QCoreApplication::processEvents();
        QVERIFY(ui.messages.isEmpty() && ui.endCount == 0);
        QCOMPARE(program.exists(FormId::Form4), form == FormId::Form4);
        QCOMPARE(QApplication::activeWindow(), &window);
    }
};

QTEST_MAIN(TestLayouts)
#include "test_layouts.moc"
