// Steps taken back and done again in the plot window: the pixels and the
// colour counter around each kind of step, the menu's two entries and their keys.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using lumetra::app::FormId;
using lumetra::testing::click;
using lumetra::testing::waitActive;
using namespace Qt::StringLiterals;

class TestUndo : public QObject {
    Q_OBJECT

    std::optional<lumetra::testing::RecordingUi> ui;
    std::optional<lumetra::app::Program> program;
    const QString curve = u"curva (OA 86 · 55°)"_s;

    lumetra::forms::Form4& form4() { return program->form4(); }
    // The picture, beyond the window's area too, and the colour counter.
    QPair<QImage, int> now() { return {form4().surface().image(), program->form3().Miocolor()}; }
    // "Annulla" and "Ripeti" as the menu shows them, a disabled one in brackets.
    QString shown(QAction* a) { return a->isEnabled() ? a->text() : u'[' + a->text() + u']'; }
    QString entries() { return shown(form4().actions()[0]) + u'/' + shown(form4().actions()[1]); }
    void press(Qt::KeyboardModifiers keys) { QTest::keyClick(&form4(), Qt::Key_Z, keys); }
    bool avanti(const QString& increment) {
        program->form3().controls().get<QLineEdit>(u"Text5"_s)->setText(increment);
        return click(program->form3(), u"AVANTI"_s) && waitActive(*program, FormId::Form4);
    }

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }

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
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        // The activation's curve, the same again over it, the same with its chords,
        // then one with X=OA Cos.
        QVERIFY(lumetra::testing::reachParameterWindow(*program));
        QVERIFY(avanti(u"1"_s));
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
            QVERIFY(waitActive(*program, FormId::Form3));
            QVERIFY(avanti(step));
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

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
