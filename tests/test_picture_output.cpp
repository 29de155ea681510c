// The picture off the screen: SVG and PDF drawn again from the plot record,
// PNG from the kept image, the record itself, a cancelled save, the
// clipboard, the context menu and Qt's dialogs in Italian.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/picture_file.h"
#include "support/recording_ui.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using lumetra::output::PictureFormat;
using namespace Qt::StringLiterals;
using namespace lumetra::testing;

class TestPictureOutput : public QObject {
    Q_OBJECT

    std::optional<RecordingUi> ui;
    std::optional<lumetra::app::Program> program;
    QTemporaryDir dir;

    // Each circle as "circle cx cy fill", each line as "line x1 y1 x2 y2 stroke",
    // coordinates to four decimals, each title as "title text", each text as "text fill text".
    static QStringList marks(const QByteArray& svg) {
        QStringList found;
        QXmlStreamReader xml(svg);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            QString mark = xml.name().toString();
            for (const char* name : {"cx", "cy", "x1", "y1", "x2", "y2", "fill", "stroke"}) {
                const QString value = xml.attributes().value(QLatin1String(name)).toString();
                bool number = false;
                const double x = value.toDouble(&number);
                mark += value.isEmpty() ? QString()
                                        : u' ' + (number ? QString::number(x, 'f', 4) : value);
            }
            const bool words = xml.name() == "title"_L1 || xml.name() == "text"_L1;
            found << (words ? mark + u' ' + xml.readElementText() : mark);
        }
        return found;
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
    static bool write(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    // What a reader of pictures prints, or why it printed nothing, with the
    // Debian package to install should it be missing.
    static std::pair<bool, QString> read(const QString& tool, const QStringList& arguments) {
        const Run run = runProgram(QStringList{tool} + arguments);
        const QString package = tool == u"rsvg-convert" ? u"librsvg2-bin"_s : u"poppler-utils"_s;
        return {run.status == 0, run.status == 0 ? QString::fromUtf8(run.out)
                                                 : tool + u" (Debian package "_s + package +
                                                       u") failed: "_s + run.err};
    }

    // The drawing area's part of the kept image, which a larger window before may have grown.
    QImage areaOnScreen() {
        const auto& s = program->form4().surface();
        return s.image().copy(QRect(QPoint(), s.logicalSize() * s.devicePixelRatio()));
    }
    bool plotClick(const QString& caption) { return click(program->form4(), caption); }
    // The window's last action, as the menu's list below shows.
    void showLegend(bool on) {
        for (QAction* action : program->form4().actions()) {
            if (action->text() == u"Legenda nell'immagine"_s) {
                action->setChecked(on);
            }
        }
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        lumetra::app::prepareApplication();
        const QDialogButtonBox box(QDialogButtonBox::Cancel); // Qt's own dialogs speak Italian
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), u"Annulla"_s);
    }

    // Each test in the plot window after its first curve.
    void init() {
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        QVERIFY(reachPlotWindow(*program));
    }

    void svgOfTheWorkedExample() {
        const QByteArray text = *lumetra::output::svgPicture(workedExample(2), {});
        const QStringList svg = marks(text);
        QCOMPARE(svg.filter(u"circle "_s).size(), 4 * 901);
        // The axes and the chords of the first plot.
        QCOMPARE(svg.filter(u"line "_s).size(), 2 + 56);
        for (const char* mark :
             {"line 260.0000 0.0000 260.0000 275.0000 #000000", "circle 260.0861 137.3770 #000000",
              "circle 263.7465 137.3116 #008000", "circle 307.3320 99.3204 #008080",
              "line 261.2913 135.6559 262.2500 137.4246 #008000"}) {
            QVERIFY2(svg.contains(QLatin1String(mark)), mark);
        }
        QCOMPARE(svg.filter(u"title "_s),
                 (QStringList{u"title LUMETRA"_s, u"title OA 86 · 55° · incr. 1 · corde"_s,
                              u"title OA 86 · 55° · incr. 1"_s}));
        // Another renderer reads it: the last dot drawn, the second plot's at A, over others.
        QVERIFY(write(path(u"plot.svg"_s), text));
        const auto [converted, why] =
            read(u"rsvg-convert"_s, {u"-o"_s, path(u"svg.png"_s), path(u"plot.svg"_s)});
        QVERIFY2(converted, qPrintable(why));
        QCOMPARE(QImage(path(u"svg.png"_s)).pixel(309, 66), qRgb(0, 128, 128));
    }

    void pdfHoldsVectorsOnOnePage() {
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(lumetra::output::writePdf(buffer, workedExample(1), {}));
        const QByteArray& pdf = buffer.data();
        const QString name = path(u"plot.pdf"_s);
        QVERIFY(write(name, pdf));
        const auto [infoRead, info] = read(u"pdfinfo"_s, {name});
        QVERIFY2(infoRead, qPrintable(info));
        QVERIFY(info.contains(QRegularExpression(u"Pages: +1\n"_s)));
        // Moves, lines and strokes inside the compressed page, not an image of it.
        const qsizetype start = pdf.indexOf("stream\n", pdf.indexOf("/FlateDecode")) + 7;
        const QByteArray page = pdf.mid(start, pdf.indexOf("endstream", start) - start);
        const QByteArray operators = qUncompress(QByteArray::fromHex("00100000") + page);
        QVERIFY(operators.count(" m\n") > 1800);
        QVERIFY(operators.contains(" l\n"));
        QVERIFY(operators.contains("S\n"));
    }

    // Numbers of 1000 and more read as typed, without group separators, in the
    // picture's texts and its legend.
    void largeNumbersWithoutGroupSeparators() {
        lumetra::output::Picture picture = workedExample(0);
        picture.record.add({1500, 1000, 2, 0.55, 500, 275, 0, false, false, true, true});
        picture.legend = true;
        const QString curve = u"OA 1500 · 1000° · incr. 2 · corde"_s;
        const QStringList svg = marks(*lumetra::output::svgPicture(picture, {}));
        QCOMPARE(svg.filter(u"title OA"_s), QStringList{u"title "_s + curve});
        QCOMPARE(svg.filter(u"text "_s), QStringList{u"text #000000 "_s + curve});
    }

    // The window's record keeps what its picture shows since the last clear.
    void recordFollowsTheClears() {
        const auto& shown = program->form4().record();
        QVERIFY(plotClick(u"Cancel e traccia"_s));
        QCOMPARE(shown.size(), std::size_t{1});
        QVERIFY(plotClick(u"Cancella e riprendi      i dati"_s));
        QVERIFY(shown.empty());
    }

    // The legend, if asked for, stays in the top-left corner; all else is the screen's.
    void pngHasTheScreenPixelsAndText_data() {
        QTest::addColumn<bool>("withLegend");
        QTest::newRow("plain") << false;
        QTest::newRow("legend") << true;
    }
    void pngHasTheScreenPixelsAndText() {
        QFETCH(bool, withLegend);
        showLegend(withLegend);
        program->form4().pictureMenu().saveAs(path(u"saved"_s), PictureFormat::Png);
        QImageReader reader(path(u"saved.png"_s));
        QCOMPARE(reader.text(u"Title"_s), u"LUMETRA"_s);
        QCOMPARE(reader.text(u"Description"_s), u"OA 86 · 55° · incr. 1"_s);
        const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
        const QImage screen = areaOnScreen();
        QCOMPARE(saved.dotsPerMeterX(), qRound(96 * screen.devicePixelRatio() / 0.0254));
        const int w = saved.width(), h = saved.height();
        for (const QRect rest : {QRect(w / 2, 0, w, h), QRect(0, h / 4, w, h)}) {
            QCOMPARE(saved.copy(rest), screen.copy(rest));
        }
        QCOMPARE(saved.copy(0, 0, w / 2, h / 4) != screen.copy(0, 0, w / 2, h / 4), withLegend);
    }

    // From 1000 curves on a progress dialog shows; cancelling it leaves the file as it was.
    void cancelledSaveLeavesNoFile_data() {
        QTest::addColumn<PictureFormat>("format");
        QTest::newRow("svg") << PictureFormat::Svg;
        QTest::newRow("pdf") << PictureFormat::Pdf;
    }
    void cancelledSaveLeavesNoFile() {
        QFETCH(PictureFormat, format);
        for (int i = 1; i < 1000; ++i) {
            QVERIFY(plotClick(u"TRACCIA"_s));
        }
        const QString file = u"old."_s + lumetra::output::extensionOf(format);
        QVERIFY(write(path(file), "old"));
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                dialog->cancel();
            }
        });
        cancel.start(0);
        program->form4().pictureMenu().saveAs(path(file), format);
        QFile old(path(file));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList({file + u'*'}), QStringList{file}); // no temporary left
        QVERIFY(ui->messages.isEmpty());
    }

    void copyFromAnyFocusAndTheMenuOnTheDrawingOnly() {
        auto& form = program->form4();
        showLegend(false);
        QTest::keyClick(buttonShowing(form, u"TRACCIA"_s), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32),
                 areaOnScreen());
        QCOMPARE(marks(copied->data(u"image/svg+xml"_s)).filter(u"circle "_s).size(), 2 * 901);
        const QPoint onButton = buttonShowing(form, u"ESCI"_s)->geometry().center();
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, onButton);
        QVERIFY(!QApplication::activePopupWidget());
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, QPoint(5, 5));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList texts;
        for (QAction* a : menu->actions()) {
            texts << a->text() + u' ' + a->shortcut().toString();
        }
        QCOMPARE(texts, (QStringList{u"Annulla curva (OA 86 · 55°) Ctrl+Z"_s, u"Ripeti Ctrl+Y"_s,
                                     u" "_s, u"Apri… Ctrl+O"_s, u"File recenti "_s, u" "_s,
                                     u"Salva immagine… Ctrl+S"_s, u"Copia immagine Ctrl+C"_s,
                                     u" "_s, u"Stampa… Ctrl+P"_s, u"Anteprima di stampa… "_s,
                                     u" "_s, u"Legenda nell'immagine "_s}));
        menu->close();
    }
};

QTEST_MAIN(TestPictureOutput)
#include "test_picture_output.moc"
