// The four window layouts against the windows the program builds from them:
// every control's kind, caption, position, font, colours, tab order and first
// value, the window captions and sizes, keyboard focus, the wrapped button
// captions and the title page. The expected values are the documented layouts,
// written out here independently of the layout tables.
//
// CTest runs this executable twice: at a device pixel ratio of 1 and with
// QT_SCALE_FACTOR=2, where every geometry must stay the same in
// device-independent pixels.

#include "app/program.h"
#include "app/start_up.h"
#include "controls/title_page_view.h"
#include "controls/wrapping_button.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "resources/layout.h"
#include "resources/title_page.h"
#include "support/recording_ui.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <optional>

using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::controls::TitlePageView;
using lumetra::controls::WrappingButton;
using lumetra::testing::RecordingUi;

Q_DECLARE_METATYPE(lumetra::app::FormId)

namespace {

enum class Kind { Button, Label, TextBox, ScrollBar, CheckBox, Frame, TitlePage };

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kDarkRed = 0xC00000;

// One control as the layouts document it: twips, tab index, own font (the
// face is always MS Sans Serif), text colour, and the label that names it.
struct Expected {
    FormId form;
    const char* name;
    Kind kind;
    const char* caption; // UTF-8
    int left;
    int top;
    int width;
    int height;
    int tab;
    const char* container = "";
    double points = 8.0;
    bool bold = false;
    std::optional<QRgb> text = std::nullopt;
    const char* labelledBy = "";
};

// clang-format off
const Expected kControls[] = {
    {FormId::Form1, "Command1", Kind::Button, "AVANTI", 3600, 5640, 2895, 855, 1},
    {FormId::Form1, "OLE1", Kind::TitlePage, "", 1410, 330, 8415, 5055, 0},

    {FormId::Form2, "Command3", Kind::Button, "ESCI", 360, 4080, 1695, 615, 4},
    {FormId::Form2, "Command2", Kind::Button,
     "KLICCARE  sulla barra di scorrimento fino a che la figura  risulti una CIRCONFERENZA",
     360, 1560, 6255, 735, 3},
    {FormId::Form2, "Command1", Kind::Button, "OK - continua", 3120, 2880, 1575, 615, 2},
    {FormId::Form2, "Text1", Kind::TextBox, "Text1", 360, 2880, 735, 375, 1},
    {FormId::Form2, "HScroll1", Kind::ScrollBar, "", 480, 1080, 5895, 255, 0},
    {FormId::Form2, "Label1", Kind::Label,
     "Per calibrare l' impostazione corretta della risoluzione dello SCHERMO",
     360, 240, 9135, 495, 5, "", 13.5, false, kRed},

    {FormId::Form3, "Text5", Kind::TextBox, "1", 5400, 3720, 615, 495, 8, "", 8.0, false,
     std::nullopt, "Label6"},
    {FormId::Form3, "Text1", Kind::TextBox, "86", 3720, 2040, 735, 495, 0, "", 8.0, false,
     std::nullopt, "Label2"},
    {FormId::Form3, "Text2", Kind::TextBox, "55", 3720, 2880, 735, 495, 1, "", 8.0, false,
     std::nullopt, "Label3"},
    {FormId::Form3, "Command1", Kind::Button, "ESCI", 1080, 5640, 1935, 735, 3},
    {FormId::Form3, "Command2", Kind::Button, "AVANTI", 5280, 5640, 1935, 735, 2},
    {FormId::Form3, "Label6", Kind::Label, "Incremento degli  ANGOLI di  OA",
     1800, 3840, 3015, 255, 7},
    {FormId::Form3, "Label1", Kind::Label, "IMPOSTARE I VALORI DELLE COSTANTI",
     1800, 360, 6135, 375, 6, "", 13.5, true, kRed},
    {FormId::Form3, "Label2", Kind::Label, "Valore  di OA", 720, 2040, 2175, 375, 5, "", 12.0},
    {FormId::Form3, "Label3", Kind::Label, "Angolo di OA con l'asse X",
     600, 2880, 2775, 375, 4, "", 12.0},

    {FormId::Form4, "Frame2", Kind::Frame, "Valore della segmentazione di OA",
     1080, 2760, 3375, 1695, 4},
    {FormId::Form4, "Command6", Kind::Button, "Cancel e traccia", 2040, 1080, 1095, 495, 8,
     "Frame2"},
    {FormId::Form4, "Command5", Kind::Button, "TRACCIA", 2040, 600, 1095, 375, 7, "Frame2"},
    {FormId::Form4, "Check2", Kind::CheckBox, "Y=OA Cos", 240, 960, 1455, 375, 6, "Frame2"},
    {FormId::Form4, "Check1", Kind::CheckBox, "X=OA Cos", 240, 600, 1455, 375, 5, "Frame2"},
    {FormId::Form4, "Label2", Kind::Label, " X per Sen  (normale)", 240, 240, 1695, 255, 9,
     "Frame2", 8.0, false, kDarkRed},
    {FormId::Form4, "Command4", Kind::Button,
     "Traccia le linee tra le curve di I\u00B0 livello", 3000, 1800, 1695, 615, 3},
    {FormId::Form4, "Command1", Kind::Button, "RIPRENDI i dati", 960, 720, 1695, 615, 2},
    {FormId::Form4, "Command2", Kind::Button, "Cancella e riprendi      i dati",
     3000, 720, 1695, 615, 1},
    {FormId::Form4, "Command3", Kind::Button, "ESCI", 960, 1800, 1695, 615, 0},
};
// clang-format on

struct ExpectedWindow {
    FormId form;
    const char* caption;
    int clientWidth; // twips
    int clientHeight;
    bool maximized;
    // The controls that take the focus, in tab order; the first has it first.
    QStringList tabOrder;
};

const QList<ExpectedWindow>& expectedWindows() {
    static const QList<ExpectedWindow> windows = {
        {FormId::Form1, "Form1", 11670, 7305, false, {QStringLiteral("Command1")}},
        {FormId::Form2,
         "Form2",
         9855,
         6840,
         true,
         {QStringLiteral("HScroll1"), QStringLiteral("Text1"), QStringLiteral("Command1"),
          QStringLiteral("Command2"), QStringLiteral("Command3")}},
        {FormId::Form3,
         " ",
         10605,
         7245,
         true,
         {QStringLiteral("Text1"), QStringLiteral("Text2"), QStringLiteral("Command2"),
          QStringLiteral("Command1"), QStringLiteral("Text5")}},
        {FormId::Form4,
         "Form4",
         10605,
         6780,
         true,
         {QStringLiteral("Command3"), QStringLiteral("Command2"), QStringLiteral("Command1"),
          QStringLiteral("Command4"), QStringLiteral("Check1"), QStringLiteral("Check2"),
          QStringLiteral("Command5"), QStringLiteral("Command6")}},
    };
    return windows;
}

const char* formName(FormId id) {
    static const char* const names[] = {"Form1", "Form2", "Form3", "Form4"};
    return names[static_cast<int>(id)];
}

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

double pixels(int twips) {
    return twips / 15.0;
}

QRect pixelRect(const Expected& e) {
    return {static_cast<int>(pixels(e.left)), static_cast<int>(pixels(e.top)),
            static_cast<int>(pixels(e.width)), static_cast<int>(pixels(e.height))};
}

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

QWidget* control(Program& program, FormId id, const QString& name) {
    return controlsOf(program, id).widget(name);
}

// The face that stands in where a layout's face is not installed.
QString resolvedFace(const QString& face, const QString& standIn) {
    return QFontDatabase::hasFamily(face) ? face : standIn;
}

QString sansFace() {
    return resolvedFace(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QString monoFace() {
    return resolvedFace(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

bool takesTabFocus(const QWidget* widget, const QWidget* window) {
    return widget != window && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
           widget->isVisibleTo(window);
}

// The focus chain from `first` round to `first` again, focusable controls only.
QStringList focusWalk(QWidget* first, bool forward) {
    QStringList names;
    QWidget* window = first->window();
    QWidget* widget = first;
    do {
        if (takesTabFocus(widget, window)) {
            names << widget->objectName();
        }
        widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain();
    } while (widget != first && names.size() < 64);
    return names;
}

// The plot window's activation reads the calibration factor; give it the one
// every activation of the calibration window sets.
void prepareFor(Program& program, FormId id) {
    if (id == FormId::Form4) {
        program.form2().Form_Activate();
    }
}

bool showAndWaitActive(Program& program, FormId id) {
    prepareFor(program, id);
    program.show(id);
    // The window's activation handler has run once the program counts it active.
    return QTest::qWaitForWindowActive(&program.window(id)) &&
           QTest::qWaitFor([&program, id] { return program.tracker().lastActive() == id; });
}

QImage grabImage(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool isDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// Rows (in logical pixels) that hold dark pixels, grouped into bands of
// consecutive rows; each band with its leftmost and rightmost dark column.
struct Band {
    double top;
    double bottom;
    double left;
    double right;
};

QList<Band> darkBands(const QImage& image, int margin) {
    const qreal ratio = image.devicePixelRatio();
    QList<Band> bands;
    bool inBand = false;
    for (int y = margin; y < image.height() - margin; ++y) {
        int left = -1;
        int right = -1;
        for (int x = margin; x < image.width() - margin; ++x) {
            if (isDark(image.pixel(x, y))) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        if (left < 0) {
            inBand = false;
            continue;
        }
        if (!inBand) {
            bands.append({y / ratio, y / ratio, left / ratio, right / ratio});
            inBand = true;
        }
        Band& band = bands.last();
        band.bottom = (y + 1) / ratio;
        band.left = std::min(band.left, left / ratio);
        band.right = std::max(band.right, (right + 1) / ratio);
    }
    return bands;
}

int countColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class TestLayouts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void layoutTablesInDocumentedOrder_data();
    void layoutTablesInDocumentedOrder();
    void controls_data();
    void controls();
    void controlFonts_data();
    void controlFonts();
    void labelsAreOpaqueLeftAlignedAndWrapped_data();
    void labelsAreOpaqueLeftAlignedAndWrapped();
    void textBoxesAndButtonsLook();
    void scrollBarRange();
    void accessibleNames_data();
    void accessibleNames();

    void windows_data();
    void windows();
    void focusChain_data();
    void focusChain();
    void tabKeysFollowTabIndexAndWrap_data();
    void tabKeysFollowTabIndexAndWrap();
    void labelsAndFramesTakeNoFocus();
    void noDefaultOrCancelButton();
    void enterAndEscapePressNothing_data();
    void enterAndEscapePressNothing();
    void checkBoxesStartClear();

    void captionsWrapAtWordBoundaries_data();
    void captionsWrapAtWordBoundaries();
    void wrappedCaptionLines();
    void wrappedLinesAreCentred_data();
    void wrappedLinesAreCentred();

    void titlePageFace();
    void titlePageTextOrigins();
    void titlePageShowsOnlyItsTwoTexts();
};

void TestLayouts::initTestCase() {
    lumetra::app::prepareApplication();
}

void TestLayouts::layoutTablesInDocumentedOrder_data() {
    QTest::addColumn<FormId>("form");
    for (const ExpectedWindow& w : expectedWindows()) {
        QTest::newRow(formName(w.form)) << w.form;
    }
}

// The tables keep the layouts' own order.
void TestLayouts::layoutTablesInDocumentedOrder() {
    QFETCH(FormId, form);
    QStringList expected;
    for (const Expected& e : kControls) {
        if (e.form == form) {
            expected << utf8(e.name);
        }
    }
    QStringList actual;
    for (const auto& spec : layoutOf(form).controls) {
        actual << lumetra::forms::text(spec.name);
    }
    QCOMPARE(actual, expected);
}

void TestLayouts::controls_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kControls)); ++i) {
        const Expected& e = kControls[i];
        QTest::addRow("%s/%s", formName(e.form), e.name) << i;
    }
}

void TestLayouts::controls() {
    QFETCH(int, row);
    const Expected& e = kControls[row];
    RecordingUi ui;
    Program program(ui);
    QWidget& window = program.window(e.form);
    QWidget* widget = control(program, e.form, utf8(e.name));
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->objectName(), utf8(e.name));

    // The layout table says the same as the documented layout.
    const auto& spec = lumetra::resources::control(layoutOf(e.form), e.name);
    QCOMPARE(lumetra::forms::text(spec.caption), utf8(e.caption));
    QCOMPARE(QRect(spec.left, spec.top, spec.width, spec.height),
             QRect(e.left, e.top, e.width, e.height));
    QCOMPARE(spec.tabIndex, e.tab);
    QCOMPARE(lumetra::forms::text(spec.container), utf8(e.container));

    // The built control: its container, position and size in device-independent
    // pixels, measured from the container's client area.
    QWidget* container =
        *e.container == '\0' ? &window : control(program, e.form, utf8(e.container));
    QCOMPARE(widget->parentWidget(), container);
    QCOMPARE(widget->geometry(), pixelRect(e));
    QVERIFY(widget->isVisibleTo(&window));
    QVERIFY(widget->isEnabled());

    const QString caption = utf8(e.caption);
    switch (e.kind) {
    case Kind::Button: {
        auto* button = dynamic_cast<WrappingButton*>(widget);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), caption);
        break;
    }
    case Kind::Label:
        QVERIFY(qobject_cast<QLabel*>(widget) != nullptr);
        QCOMPARE(qobject_cast<QLabel*>(widget)->text(), caption);
        break;
    case Kind::TextBox:
        QVERIFY(qobject_cast<QLineEdit*>(widget) != nullptr);
        QCOMPARE(qobject_cast<QLineEdit*>(widget)->text(), caption);
        break;
    case Kind::ScrollBar:
        QVERIFY(qobject_cast<QScrollBar*>(widget) != nullptr);
        QCOMPARE(qobject_cast<QScrollBar*>(widget)->orientation(), Qt::Horizontal);
        break;
    case Kind::CheckBox:
        QVERIFY(qobject_cast<QCheckBox*>(widget) != nullptr);
        QCOMPARE(qobject_cast<QCheckBox*>(widget)->text(), caption);
        break;
    case Kind::Frame:
        QVERIFY(qobject_cast<QGroupBox*>(widget) != nullptr);
        QCOMPARE(qobject_cast<QGroupBox*>(widget)->title(), caption);
        break;
    case Kind::TitlePage:
        QVERIFY(dynamic_cast<TitlePageView*>(widget) != nullptr);
        break;
    }
}

void TestLayouts::controlFonts_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kControls)); ++i) {
        // The title page carries its own face (titlePageFace).
        if (kControls[i].kind != Kind::TitlePage) {
            QTest::addRow("%s/%s", formName(kControls[i].form), kControls[i].name) << i;
        }
    }
}

void TestLayouts::controlFonts() {
    QFETCH(int, row);
    const Expected& e = kControls[row];
    RecordingUi ui;
    Program program(ui);
    const QFont font = control(program, e.form, utf8(e.name))->font();
    QCOMPARE(font.pointSizeF(), e.points);
    QCOMPARE(font.bold(), e.bold);
    QCOMPARE(font.italic(), false);
    QCOMPARE(font.underline(), false);
    QCOMPARE(font.strikeOut(), false);
    const QFontInfo resolved(font);
    QCOMPARE(resolved.family(), sansFace());
    QCOMPARE(resolved.bold(), e.bold);
    QVERIFY2(qAbs(resolved.pointSizeF() - e.points) < 0.5,
             qPrintable(QStringLiteral("resolved at %1 pt").arg(resolved.pointSizeF())));
}

void TestLayouts::labelsAreOpaqueLeftAlignedAndWrapped_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kControls)); ++i) {
        if (kControls[i].kind == Kind::Label) {
            QTest::addRow("%s/%s", formName(kControls[i].form), kControls[i].name) << i;
        }
    }
}

// What the user sees: the label's face in the button-face colour edge to edge
// and its text in the colour of its row.
void TestLayouts::labelsAreOpaqueLeftAlignedAndWrapped() {
    QFETCH(int, row);
    const Expected& e = kControls[row];
    RecordingUi ui;
    Program program(ui);
    auto* label = qobject_cast<QLabel*>(control(program, e.form, utf8(e.name)));
    QVERIFY(label != nullptr);
    QVERIFY(label->autoFillBackground());
    QVERIFY(label->wordWrap());
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);

    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    const QColor textColour =
        e.text ? QColor::fromRgb(*e.text) : QApplication::palette().color(QPalette::ButtonText);
    QCOMPARE(label->palette().color(QPalette::Window), buttonFace);
    QCOMPARE(label->palette().color(QPalette::WindowText), textColour);

    const QImage image = grabImage(label);
    QCOMPARE(QColor(image.pixel(0, 0)), buttonFace);
    QCOMPARE(QColor(image.pixel(image.width() - 1, image.height() - 1)), buttonFace);
    QVERIFY2(countColour(image, textColour.rgb()) > 0, "no pixel in the text colour");
    // Left-aligned: the text starts at the label's left edge.
    const QList<Band> bands = darkBands(image, 0);
    QVERIFY(!bands.isEmpty());
    const QString caption = utf8(e.caption);
    const QString blanks = caption.left(caption.size() - caption.trimmed().size());
    const double start = QFontMetricsF(label->font()).horizontalAdvance(blanks);
    QVERIFY2(bands.first().left < start + 4.0, qPrintable(QString::number(bands.first().left)));
}

void TestLayouts::textBoxesAndButtonsLook() {
    RecordingUi ui;
    Program program(ui);
    const QPalette app = QApplication::palette();
    for (const Expected& e : kControls) {
        QWidget* widget = control(program, e.form, utf8(e.name));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(edit->palette().color(QPalette::Base), app.color(QPalette::Base));
            QCOMPARE(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            QVERIFY(!edit->isReadOnly());
            QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        }
    }
    // The calibration window's two coloured buttons carry their colours.
    QCOMPARE(control(program, FormId::Form2, QStringLiteral("Command2"))
                 ->palette()
                 .color(QPalette::Button),
             QColor(255, 192, 128));
    QCOMPARE(control(program, FormId::Form2, QStringLiteral("Command1"))
                 ->palette()
                 .color(QPalette::Button),
             app.color(QPalette::HighlightedText));
}

void TestLayouts::scrollBarRange() {
    RecordingUi ui;
    Program program(ui);
    auto* bar =
        qobject_cast<QScrollBar*>(control(program, FormId::Form2, QStringLiteral("HScroll1")));
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 30);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), 1);
    QCOMPARE(bar->value(), 1);
}

void TestLayouts::accessibleNames_data() {
    controls_data();
}

// Assistive tools read a control's caption, or for a text box the label
// beside it.
void TestLayouts::accessibleNames() {
    QFETCH(int, row);
    const Expected& e = kControls[row];
    RecordingUi ui;
    Program program(ui);
    QWidget* widget = control(program, e.form, utf8(e.name));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible != nullptr);
    const QString name = accessible->text(QAccessible::Name);
    if (*e.labelledBy != '\0') {
        auto* label = qobject_cast<QLabel*>(control(program, e.form, utf8(e.labelledBy)));
        QVERIFY(label != nullptr);
        QCOMPARE(name, label->text());
    } else if (e.kind != Kind::TextBox && *e.caption != '\0') {
        QCOMPARE(name, utf8(e.caption));
    } else {
        QVERIFY2(!name.trimmed().isEmpty(), "a control without a name");
        QVERIFY2(name != utf8(e.caption), "a text box named after its first text");
    }
}

void TestLayouts::windows_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < expectedWindows().size(); ++i) {
        QTest::newRow(formName(expectedWindows()[i].form)) << i;
    }
}

void TestLayouts::windows() {
    QFETCH(int, index);
    const ExpectedWindow& w = expectedWindows()[index];
    RecordingUi ui;
    Program program(ui);
    QWidget& window = program.window(w.form);
    QVERIFY(window.isWindow());
    QCOMPARE(window.windowTitle(), utf8(w.caption));
    QCOMPARE(window.size(), QSize(static_cast<int>(pixels(w.clientWidth)),
                                  static_cast<int>(pixels(w.clientHeight))));
    QVERIFY(showAndWaitActive(program, w.form));
    QCOMPARE(window.windowHandle()->title(), utf8(w.caption));
    QCOMPARE(window.isMaximized(), w.maximized);
    if (!w.maximized) {
        QCOMPARE(window.size(), QSize(778, 487));
    }
}

void TestLayouts::focusChain_data() {
    windows_data();
}

// The chain itself, window hidden: from the first focus through the tab
// indexes and round again, and backwards.
void TestLayouts::focusChain() {
    QFETCH(int, index);
    const ExpectedWindow& w = expectedWindows()[index];
    RecordingUi ui;
    Program program(ui);
    const auto& controls = controlsOf(program, w.form);
    QWidget* first = lumetra::forms::firstFocus(controls, layoutOf(w.form));
    QVERIFY(first != nullptr);
    QCOMPARE(first->objectName(), w.tabOrder.first());
    QCOMPARE(focusWalk(first, true), w.tabOrder);
    QStringList backwards = w.tabOrder.mid(1);
    std::reverse(backwards.begin(), backwards.end());
    backwards.prepend(w.tabOrder.first());
    QCOMPARE(focusWalk(first, false), backwards);
}

void TestLayouts::tabKeysFollowTabIndexAndWrap_data() {
    windows_data();
}

void TestLayouts::tabKeysFollowTabIndexAndWrap() {
    QFETCH(int, index);
    const ExpectedWindow& w = expectedWindows()[index];
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showAndWaitActive(program, w.form));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QCOMPARE(QApplication::focusWidget()->objectName(), w.tabOrder.first());

    const int n = static_cast<int>(w.tabOrder.size());
    for (int step = 1; step <= n; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), w.tabOrder[step % n]);
    }
    for (int step = 1; step <= n; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), w.tabOrder[(n - step) % n]);
    }
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(ui.endCount, 0);
}

void TestLayouts::labelsAndFramesTakeNoFocus() {
    RecordingUi ui;
    Program program(ui);
    for (const Expected& e : kControls) {
        if (e.kind == Kind::Label || e.kind == Kind::Frame) {
            QCOMPARE(control(program, e.form, utf8(e.name))->focusPolicy(), Qt::NoFocus);
        }
    }
}

void TestLayouts::noDefaultOrCancelButton() {
    RecordingUi ui;
    Program program(ui);
    int buttons = 0;
    for (const Expected& e : kControls) {
        if (auto* button = dynamic_cast<WrappingButton*>(control(program, e.form, utf8(e.name)))) {
            QVERIFY2(!button->isDefault(), e.name);
            QVERIFY2(!button->autoDefault(), e.name);
            QVERIFY2(button->shortcut().isEmpty(), e.name);
            QVERIFY2(!button->text().contains(QLatin1Char('&')), e.name);
            ++buttons;
        }
    }
    QCOMPARE(buttons, 12);
}

void TestLayouts::enterAndEscapePressNothing_data() {
    QTest::addColumn<FormId>("form");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("text"); // typed into the focused text box first
    QTest::addColumn<bool>("enter");
    // "OK - continua" at 0.51 would show its message; "ESCI" would end.
    QTest::newRow("Form2/Text1") << FormId::Form2 << QStringLiteral("Text1") << QString() << true;
    QTest::newRow("Form2/HScroll1")
        << FormId::Form2 << QStringLiteral("HScroll1") << QString() << false;
    // "AVANTI" would report the bad value, or with good ones open the plot window.
    QTest::newRow("Form3/Text1 bad")
        << FormId::Form3 << QStringLiteral("Text1") << QStringLiteral("abc") << true;
    QTest::newRow("Form3/Text1 good")
        << FormId::Form3 << QStringLiteral("Text1") << QStringLiteral("86") << true;
    QTest::newRow("Form3/Text5") << FormId::Form3 << QStringLiteral("Text5") << QString() << true;
    QTest::newRow("Form1/Command1")
        << FormId::Form1 << QStringLiteral("Command1") << QString() << false;
    QTest::newRow("Form4/Command3")
        << FormId::Form4 << QStringLiteral("Command3") << QString() << false;
}

void TestLayouts::enterAndEscapePressNothing() {
    QFETCH(FormId, form);
    QFETCH(QString, focus);
    QFETCH(QString, text);
    QFETCH(bool, enter);
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showAndWaitActive(program, form));
    QWidget* widget = control(program, form, focus);
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    if (!text.isEmpty()) {
        qobject_cast<QLineEdit*>(widget)->selectAll();
        QTest::keyClicks(widget, text);
    }
    const QStringList messagesBefore = ui.messages;
    const bool existed[] = {program.exists(FormId::Form1), program.exists(FormId::Form2),
                            program.exists(FormId::Form3), program.exists(FormId::Form4)};
    if (enter) {
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    }
    QTest::keyClick(widget, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(ui.messages, messagesBefore);
    QCOMPARE(ui.endCount, 0);
    QCOMPARE(program.exists(FormId::Form1), existed[0]);
    QCOMPARE(program.exists(FormId::Form2), existed[1]);
    QCOMPARE(program.exists(FormId::Form3), existed[2]);
    QCOMPARE(program.exists(FormId::Form4), existed[3]);
    QCOMPARE(QApplication::activeWindow(), &program.window(form));
}

void TestLayouts::checkBoxesStartClear() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(showAndWaitActive(program, FormId::Form4));
    for (const char* name : {"Check1", "Check2"}) {
        auto* box = qobject_cast<QCheckBox*>(control(program, FormId::Form4, utf8(name)));
        QVERIFY(box != nullptr);
        QVERIFY(!box->isTristate());
        QCOMPARE(box->checkState(), Qt::Unchecked);
    }
}

void TestLayouts::captionsWrapAtWordBoundaries_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kControls)); ++i) {
        if (kControls[i].kind == Kind::Button) {
            QTest::addRow("%s/%s", formName(kControls[i].form), kControls[i].name) << i;
        }
    }
}

// Every button's lines, put together again, give its caption blank for
// blank; each line fits the button and breaks only after a blank.
void TestLayouts::captionsWrapAtWordBoundaries() {
    QFETCH(int, row);
    const Expected& e = kControls[row];
    RecordingUi ui;
    Program program(ui);
    auto* button = dynamic_cast<WrappingButton*>(control(program, e.form, utf8(e.name)));
    QVERIFY(button != nullptr);
    const QStringList lines = button->captionLines();
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.join(QString()), utf8(e.caption));
    const QFontMetricsF metrics(button->font());
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(metrics.horizontalAdvance(lines[i].trimmed()) <= button->width(),
                 qPrintable(lines[i]));
        if (i + 1 < lines.size()) {
            QVERIFY2(lines[i].endsWith(QLatin1Char(' ')), qPrintable(lines[i]));
        }
    }
    QVERIFY(metrics.height() * lines.size() <= button->height());
}

void TestLayouts::wrappedCaptionLines() {
    RecordingUi ui;
    Program program(ui);
    auto button = [&program](FormId form, const char* name) {
        return dynamic_cast<WrappingButton*>(control(program, form, utf8(name)));
    };
    const QStringList clear = button(FormId::Form4, "Command2")->captionLines();
    QCOMPARE(clear.size(), 2);
    QCOMPARE(clear[0], QStringLiteral("Cancella e riprendi      "));
    QCOMPARE(clear[1], QStringLiteral("i dati"));

    QCOMPARE(button(FormId::Form2, "Command2")->captionLines().size(), 2);

    const QStringList chords = button(FormId::Form4, "Command4")->captionLines();
    QVERIFY(chords.join(QString()).contains(QStringLiteral("I\u00B0 livello")));

    for (const char* oneLine : {"Command1", "Command3"}) {
        QCOMPARE(button(FormId::Form4, oneLine)->captionLines().size(), 1);
    }
}

void TestLayouts::wrappedLinesAreCentred_data() {
    QTest::addColumn<FormId>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    QTest::newRow("Form4/Command2") << FormId::Form4 << QStringLiteral("Command2") << 2;
    QTest::newRow("Form4/Command4") << FormId::Form4 << QStringLiteral("Command4") << 2;
    QTest::newRow("Form2/Command2") << FormId::Form2 << QStringLiteral("Command2") << 2;
    QTest::newRow("Form4/Command6") << FormId::Form4 << QStringLiteral("Command6") << 2;
    QTest::newRow("Form1/Command1") << FormId::Form1 << QStringLiteral("Command1") << 1;
}

// The painted button: one band of text per line, each centred across the
// button, trailing blanks not counted.
void TestLayouts::wrappedLinesAreCentred() {
    QFETCH(FormId, form);
    QFETCH(QString, name);
    QFETCH(int, lines);
    RecordingUi ui;
    Program program(ui);
    QWidget* widget = control(program, form, name);
    const QImage image = grabImage(widget);
    const int margin = static_cast<int>(4 * image.devicePixelRatio());
    const QList<Band> bands = darkBands(image, margin);
    QCOMPARE(bands.size(), lines);
    const double middle = widget->width() / 2.0;
    for (const Band& band : bands) {
        const double centre = (band.left + band.right) / 2.0;
        QVERIFY2(qAbs(centre - middle) <= 2.0, qPrintable(QStringLiteral("line %1..%2 in %3 px")
                                                              .arg(band.left)
                                                              .arg(band.right)
                                                              .arg(widget->width())));
    }
    // The lines sit together in the middle of the button's height.
    const double textMiddle = (bands.first().top + bands.last().bottom) / 2.0;
    QVERIFY2(qAbs(textMiddle - widget->height() / 2.0) <= 3.0,
             qPrintable(QString::number(textMiddle)));
}

void TestLayouts::titlePageFace() {
    const auto& page = lumetra::resources::titlePage();
    QFont font(lumetra::forms::text(page.fontFamily));
    font.setPointSizeF(page.pointSize);
    QCOMPARE(font.pointSizeF(), 12.0);
    const QFontInfo resolved(font);
    QCOMPARE(resolved.family(), monoFace());
    QVERIFY(resolved.fixedPitch());
    QVERIFY(!resolved.bold());
    QVERIFY(!resolved.italic());
}

// Where the two visible lines start and lie, in device-independent pixels
// from the control's top-left corner.
void TestLayouts::titlePageTextOrigins() {
    const auto& page = lumetra::resources::titlePage();
    QCOMPARE(page.lines.size(), std::size_t{2});
    QCOMPARE(page.lines[0].paragraph, 1);
    QCOMPARE(lumetra::forms::text(page.lines[0].text), QStringLiteral("PROGRAMMA: "));
    QCOMPARE(page.lines[1].paragraph, 4);
    QCOMPARE(lumetra::forms::text(page.lines[1].text),
             QStringLiteral("  DALLA PAGINA  \u201CLUMETRA\u201D"));

    const QPointF first = TitlePageView::textOrigin(1, page.lines[0].leftUnits);
    QVERIFY2(qAbs(first.x() - 602 / 15.0) < 0.1, qPrintable(QString::number(first.x())));
    QVERIFY2(qAbs(first.y() - 206 / 15.0) < 0.1, qPrintable(QString::number(first.y())));
    const QPointF fourth = TitlePageView::textOrigin(4, page.lines[1].leftUnits);
    QVERIFY2(fourth.x() >= 0.0 && fourth.x() < 0.5, qPrintable(QString::number(fourth.x())));
    QVERIFY2(qAbs(fourth.y() - 1021 / 15.0) < 0.2, qPrintable(QString::number(fourth.y())));
}

// Rendered, the control shows dark pixels only in the bands of its two lines,
// each line starting where the page puts it.
void TestLayouts::titlePageShowsOnlyItsTwoTexts() {
    RecordingUi ui;
    Program program(ui);
    QWidget* view = control(program, FormId::Form1, QStringLiteral("OLE1"));
    const qreal ratio = view->devicePixelRatioF();
    QImage image((view->size() * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    view->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    const auto& page = lumetra::resources::titlePage();
    QFont font(lumetra::forms::text(page.fontFamily));
    font.setPointSizeF(page.pointSize);
    const QFontMetricsF metrics(font);
    const QList<Band> bands = darkBands(image, 0);
    QCOMPARE(bands.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const auto& line = page.lines[static_cast<std::size_t>(i)];
        const QPointF origin = TitlePageView::textOrigin(line.paragraph, line.leftUnits);
        const Band& band = bands[i];
        // Capitals, a colon and quotes: the ink stands on the baseline and
        // reaches about cap height.
        QVERIFY2(qAbs(band.bottom - origin.y()) <= 1.0 &&
                     band.top >= origin.y() - metrics.ascent() &&
                     band.top <= origin.y() - metrics.capHeight() + 1.5,
                 qPrintable(QStringLiteral("line %1: rows %2..%3, baseline %4")
                                .arg(line.paragraph)
                                .arg(band.top)
                                .arg(band.bottom)
                                .arg(origin.y())));
        // The first character with ink: "P" of line 1; "D" after line 4's two blanks.
        const QString text = lumetra::forms::text(line.text);
        int blanks = 0;
        while (text[blanks] == QLatin1Char(' ')) {
            ++blanks;
        }
        const double inkStart = origin.x() + blanks * metrics.horizontalAdvance(QLatin1Char(' '));
        QVERIFY2(band.left >= inkStart - 0.5 && band.left <= inkStart + 3.0,
                 qPrintable(QStringLiteral("line %1 starts at %2, expected about %3")
                                .arg(line.paragraph)
                                .arg(band.left)
                                .arg(inkStart)));
    }
}

QTEST_MAIN(TestLayouts)
#include "test_layouts.moc"
