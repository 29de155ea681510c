// The picture off the screen: SVG and PDF drawn again from the plot record,
// PNG from the kept image, the record itself, failed and cancelled saves, the
// clipboard, the context menu and Qt's dialogs in Italian.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/picture_file.h"
#include "output/replay.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using lumetra::app::FormId;
using lumetra::output::PictureFormat;
using lumetra::output::RecordedPlot;
using namespace Qt::StringLiterals;

class TestPictureOutput : public QObject {
    Q_OBJECT

    std::optional<lumetra::testing::RecordingUi> ui;
    std::optional<lumetra::app::Program> program;
    QTemporaryDir dir;

    struct Mark {
        QPointF a, b; // a circle's centre, or a line's two ends
        QString colour;
    };
    struct Svg {
        QList<Mark> circles, lines;
        QStringList titles;
    };
    static Svg parse(const QByteArray& svg) {
        Svg found;
        QXmlStreamReader xml(svg);
        const auto number = [&](const char* name) {
            return xml.attributes().value(QLatin1String(name)).toDouble();
        };
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == "circle"_L1) {
                found.circles.append({{number("cx"), number("cy")},
                                      {},
                                      xml.attributes().value("fill"_L1).toString()});
            } else if (xml.name() == "line"_L1) {
                found.lines.append({{number("x1"), number("y1")},
                                    {number("x2"), number("y2")},
                                    xml.attributes().value("stroke"_L1).toString()});
            } else if (xml.name() == "title"_L1) {
                found.titles << xml.readElementText();
            }
        }
        return found;
    }
    static bool near(QPointF p, QPointF q) {
        return std::abs(p.x() - q.x()) < 5e-5 && std::abs(p.y() - q.y()) < 5e-5;
    }
    static bool has(const QList<Mark>& marks, QPointF a, const QString& colour, QPointF b = {}) {
        return std::any_of(marks.begin(), marks.end(), [&](const Mark& m) {
            return near(m.a, a) && near(m.b, b) && m.colour == colour;
        });
    }

    // The worked example on a 500 x 275 area at Incr 0.55: one user unit per pixel.
    static lumetra::output::Picture workedExample(int plots) {
        lumetra::output::Picture picture{QImage(), {}, QSize(500, 275), Qt::black, Qt::lightGray};
        for (int i = 0; i < plots; ++i) {
            picture.record.add({86, 55, 1, 0.55, 500, 275, static_cast<std::int16_t>(i), false,
                                false, i == 0, i == 0});
        }
        return picture;
    }

    QString path(const QString& name) { return dir.filePath(name); }
    static QByteArray contents(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
    }
    static QString run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.start(tool, arguments);
        return process.waitForFinished() ? QString::fromUtf8(process.readAllStandardOutput())
                                         : QString();
    }

    void openPlotWindow() {
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        QVERIFY(lumetra::testing::reachParameterWindow(*program));
        QVERIFY(lumetra::testing::click(program->form3(), u"AVANTI"_s));
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
    }
    // The drawing area's part of the kept image, which a larger window before may have grown.
    QImage areaOnScreen() {
        const auto& surface = program->form4().surface();
        const QSize pixels = (QSizeF(surface.logicalSize()) * surface.devicePixelRatio()).toSize();
        return surface.image().copy(QRect(QPoint(0, 0), pixels));
    }
    bool plotClick(const QString& caption) {
        return lumetra::testing::click(program->form4(), caption);
    }
    QAction* action(const QString& text) {
        for (QAction* a : program->form4().actions()) {
            if (a->text() == text) {
                return a;
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        lumetra::app::prepareApplication();
    }

    void qtDialogsSpeakItalian() {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), u"Annulla"_s);
    }

    void svgOfTheWorkedExample() {
        const QByteArray text = *lumetra::output::svgPicture(workedExample(2), {});
        const Svg svg = parse(text);
        const QString green = u"#008000"_s, cyan = u"#008080"_s, black = u"#000000"_s;
        QCOMPARE(svg.circles.size(), 4 * 901);
        QCOMPARE(svg.lines.size(), 2 + 56); // the axes and the chords of the first plot
        QVERIFY(has(svg.lines, {260, 0}, black, {260, 275}));
        QVERIFY(has(svg.circles, {260.0861, 137.3770}, black));
        QVERIFY(has(svg.circles, {263.7465, 137.3116}, green));
        QVERIFY(has(svg.circles, {307.3320, 99.3204}, cyan));
        QVERIFY(has(svg.lines, {261.2913, 135.6559}, green, {262.2500, 137.4246}));
        QCOMPARE(svg.titles, (QStringList{u"LUMETRA"_s, u"OA 86 · 55° · incr. 1 · corde"_s,
                                          u"OA 86 · 55° · incr. 1"_s}));
        // Another renderer reads it: the last dot drawn, the second plot's at A, over others.
        QFile file(path(u"plot.svg"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        run(u"rsvg-convert"_s, {u"-o"_s, path(u"svg.png"_s), file.fileName()});
        QCOMPARE(QImage(path(u"svg.png"_s)).pixel(309, 66), qRgb(0, 128, 128));
    }

    void pdfHoldsVectorsOnOnePage() {
        QFile file(path(u"plot.pdf"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(lumetra::output::writePdf(file, workedExample(1), {}));
        file.close();
        const QByteArray pdf = contents(file.fileName());
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(
            run(u"pdfinfo"_s, {file.fileName()}).contains(QRegularExpression(u"Pages: +1\n"_s)));
        QCOMPARE(run(u"pdfimages"_s, {u"-list"_s, file.fileName()}).count(u'\n'), 2); // header only
        // Moves, lines and strokes inside the compressed page.
        const qsizetype start = pdf.indexOf("stream\n", pdf.indexOf("/FlateDecode")) + 7;
        const QByteArray operators =
            qUncompress(QByteArray::fromHex("00100000") +
                        pdf.mid(start, pdf.indexOf("endstream", start) - start));
        QVERIFY(operators.count(" m\n") > 1800 && operators.contains(" l\n") &&
                operators.contains("S\n"));
    }

    void recordCostsAndClear() {
        lumetra::output::PlotRecord record;
        for (int i = 0; i < 10000; ++i) {
            record.add(RecordedPlot{});
        }
        qInfo("record: %zu bytes per plot", record.bytes() / record.size());
        QVERIFY(record.bytes() / record.size() <= 200);
        record.clear();
        QVERIFY(record.empty() && record.bytes() == sizeof(record));
    }

    // What the window drew, a plot that stopped on an error included, is what the record draws.
    void theRecordDrawsWhatTheScreenShows() {
        openPlotWindow();
        QVERIFY(plotClick(u"Traccia le linee tra le curve di I° livello"_s));
        QVERIFY(plotClick(u"RIPRENDI i dati"_s) &&
                lumetra::testing::waitActive(*program, FormId::Form3));
        program->form3().controls().get<QLineEdit>(u"Text5"_s)->setText(u"400"_s);
        QVERIFY(lumetra::testing::click(program->form3(), u"AVANTI"_s));
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
        QCOMPARE(ui->messages, QStringList{u"Overflow"_s});
        const auto& form = program->form4();
        QCOMPARE(form.record().size(), 3U);
        lumetra::surface::DrawingSurface again(form.surface().foreground(),
                                               form.surface().background());
        again.resize(form.surface().logicalSize(), form.surface().devicePixelRatio());
        QVERIFY(lumetra::output::replay(form.record(), again, {}));
        QCOMPARE(again.image(), form.surface().image().copy(again.image().rect()));
        QVERIFY(plotClick(u"Cancel e traccia"_s));
        QCOMPARE(form.record().size(), 1U);
        QVERIFY(plotClick(u"Cancella e riprendi      i dati"_s));
        QVERIFY(form.record().empty());
    }

    void pngHasTheScreenPixelsAndText_data() {
        QTest::addColumn<bool>("legend");
        QTest::newRow("plain") << false;
        QTest::newRow("legend") << true;
    }
    void pngHasTheScreenPixelsAndText() {
        QFETCH(bool, legend);
        openPlotWindow();
        action(u"Legenda nell'immagine"_s)->setChecked(legend);
        program->form4().pictureMenu().saveAs(path(u"saved"_s), PictureFormat::Png);
        QImageReader reader(path(u"saved.png"_s));
        QCOMPARE(reader.text(u"Title"_s), u"LUMETRA"_s);
        QCOMPARE(reader.text(u"Description"_s), u"OA 86 · 55° · incr. 1"_s);
        const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
        const QImage screen = areaOnScreen();
        QCOMPARE(saved.dotsPerMeterX(), qRound(96 * screen.devicePixelRatio() / 0.0254));
        int changed = 0;
        for (int y = 0; y < saved.height(); ++y) {
            for (int x = 0; x < saved.width(); ++x) {
                if (saved.pixel(x, y) != screen.pixel(x, y)) {
                    ++changed;
                    QVERIFY(x < saved.width() / 2 && y < saved.height() / 4); // the legend's corner
                }
            }
        }
        QCOMPARE(changed > 0, legend);
    }

    void unwritableFolderShowsTheMessage() {
        openPlotWindow();
        QFile notAFolder(path(u"file"_s));
        QVERIFY(notAFolder.open(QIODevice::WriteOnly));
        program->form4().pictureMenu().saveAs(path(u"file/a.svg"_s), PictureFormat::Png);
        QCOMPARE(ui->messages.size(), 1);
        QVERIFY(ui->messages[0].startsWith(u"Impossibile salvare l'immagine "_s +
                                           path(u"file/a.svg: "_s)));
        QVERIFY(ui->messages[0].size() > 40);
    }

    // From 1000 curves on a progress dialog shows; cancelling it leaves the file as it was.
    void cancelledSaveLeavesNoFile_data() {
        QTest::addColumn<PictureFormat>("format");
        QTest::newRow("svg") << PictureFormat::Svg;
        QTest::newRow("pdf") << PictureFormat::Pdf;
    }
    void cancelledSaveLeavesNoFile() {
        QFETCH(PictureFormat, format);
        openPlotWindow();
        for (int i = 1; i < 1000; ++i) {
            QVERIFY(plotClick(u"TRACCIA"_s));
        }
        const QString name = path(u"old."_s + lumetra::output::extensionOf(format));
        QFile old(name);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                dialog->cancel();
            }
        });
        cancel.start(0);
        program->form4().pictureMenu().saveAs(name, format);
        QCOMPARE(contents(name), QByteArray("old"));
        const QString file = name.section(u'/', -1);
        QCOMPARE(QDir(dir.path()).entryList({file + u'*'}), QStringList{file}); // no temporary left
        QVERIFY(ui->messages.isEmpty());
    }

    void copyFromAnyFocusAndTheMenuOnTheDrawingOnly() {
        openPlotWindow();
        auto& form = program->form4();
        QApplication::clipboard()->clear();
        action(u"Legenda nell'immagine"_s)->setChecked(false);
        QTest::keyClick(lumetra::testing::buttonShowing(form, u"TRACCIA"_s), Qt::Key_C,
                        Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32),
                 areaOnScreen());
        QCOMPARE(parse(copied->data(u"image/svg+xml"_s)).circles.size(), 2 * 901);

        const QPoint onButton =
            lumetra::testing::buttonShowing(form, u"ESCI"_s)->geometry().center();
        for (const QPoint at : {onButton, QPoint(5, 5)}) {
            QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, at);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QCOMPARE(menu != nullptr, at != onButton);
        }
        QStringList texts;
        for (QAction* a : qobject_cast<QMenu*>(QApplication::activePopupWidget())->actions()) {
            texts << a->text() + u' ' + a->shortcut().toString();
        }
        QCOMPARE(texts,
                 (QStringList{u"Annulla curva (OA 86 · 55°) Ctrl+Z"_s, u"Ripeti Ctrl+Y"_s, u" "_s,
                              u"Salva immagine… Ctrl+S"_s, u"Copia immagine Ctrl+C"_s, u" "_s,
                              u"Stampa… Ctrl+P"_s, u"Anteprima di stampa… "_s, u" "_s,
                              u"Legenda nell'immagine "_s}));
        QApplication::activePopupWidget()->close();
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier); // nothing left to take back
        QVERIFY(action(u"Annulla"_s) && !action(u"Annulla"_s)->isEnabled());
    }
};

QTEST_MAIN(TestPictureOutput)
#include "test_picture_output.moc"
