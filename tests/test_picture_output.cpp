// SPDX-License-Identifier: GPL-3.0-or-later
// The picture off the screen: SVG and PDF drawn again from the plot record,
// PNG from the kept image, the clipboard and Qt's dialogs in Italian. Then
// saves that fail where users meet them, each forced for real: a full disk,
// a file-size limit, no permission on the file or its folder, a sync that
// fails, a folder where the file should be. The folder is left as it was,
// the old file with its bytes and no temporary file beside it, and the
// message is Italian whatever the locale. Last, the folder remembered for
// the save dialog, which only a save that worked changes.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/picture_file.h"
#include "support/files.h"
#include "support/hermetic_main.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstddef>

using namespace Qt::StringLiterals;
using namespace lumetra::testing;
using namespace lumetra::output;

namespace {

constexpr int kNotWritten = 1;
// Smaller than any picture of a curve in any format.
constexpr rlim_t kSmallLimit = 1024;

// How a run of the program is made to fail its write.
enum class Forcing {
    None,
    OwnMounts,    // a user namespace of its own, where it mounts a small tmpfs
    OrdinaryUser, // uid 1000 with no capabilities, which root is not
    FailingSync,  // a seccomp filter: a sync of any file but the standard ones fails with EIO
};

// A failure forced on a run of the program: how, the shell's setup (see
// TestPictureOutput::lumetra()), the file in the folder, the reason (@ the folder).
struct Failure {
    Forcing forcing;
    QString setup, file, reason;
};

// A seccomp filter: the system call `call` fails with `error` when its
// argument `index` is above `above`; other calls go through.
std::vector<sock_filter> failingCall(unsigned call, unsigned index, unsigned above,
                                     unsigned error) {
    // The low half of the 64-bit argument.
    const unsigned argument = offsetof(seccomp_data, args) + 8 * index +
                              (std::endian::native == std::endian::big ? 4 : 0);
    return {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, argument),
        BPF_JUMP(BPF_JMP | BPF_JGT | BPF_K, above, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (error & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
}

// `filter` for the process itself from now on; only for a child between fork and exec.
void installFilter(const std::vector<sock_filter>& filter) {
    const sock_fprog program{static_cast<unsigned short>(filter.size()),
                             const_cast<sock_filter*>(filter.data())};
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program);
}

} // namespace

class TestPictureOutput : public QObject, Session {
    Q_OBJECT

    std::optional<QTemporaryDir> dir;

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
    static Picture workedExample(int plots) {
        Picture picture{QImage(), {}, QSize(500, 275), Qt::black, Qt::lightGray};
        for (int i = 0; i < plots; ++i) {
            picture.record.add({86, 55, 1, 0.55, 500, 275, static_cast<std::int16_t>(i), false,
                                false, i == 0, i == 0});
        }
        return picture;
    }

    QString path(const QString& name) { return dir->filePath(name); }
    // The drawing area's part of the kept image, which a larger window before may have grown.
    QImage areaOnScreen() { return shownArea(program->form4().surface()); }
    bool plotClick(const QString& caption) { return click(program->form4(), caption); }
    bool showLegend(bool on) { return choose(program->form4(), u"Legenda nell'immagine"_s, on); }

    // The program run as a script runs it, in the C locale, made to fail by
    // `forcing`. A shell runs `setup` with $dir the folder and $name the
    // file's name, then the program with `arguments`. The exit status,
    // standard error, and the folder's listing ("/" after a folder) with the
    // file's bytes, before the program and after it.
    std::tuple<int, QString, QByteArray, QByteArray> lumetra(Forcing forcing, const QString& setup,
                                                             const QString& name,
                                                             const QStringList& arguments) {
        // The system's own texts are English in the C locale: none of them may come through.
        const QString script = u"dir=$1 name=$2; shift 2; export LC_ALL=C; unset LANGUAGE\n"_s +
                               setup +
                               u" || exit 90\n"
                               u"state() { ls -Ap \"$dir\"; cat \"$dir/$name\" 2>/dev/null; }\n"
                               u"state; echo ==; \"$@\"; status=$?; state; exit $status\n"_s;
        const QString unshare = forcing == Forcing::OwnMounts
                                    ? u"unshare --user --map-root-user --mount "_s
                                : forcing == Forcing::OrdinaryUser
                                    ? u"unshare --user --map-user=1000 --map-group=1000 "_s
                                    : QString();
        const std::vector<sock_filter> filter = forcing == Forcing::FailingSync
                                                    ? failingCall(SYS_fsync, 0, 2, EIO)
                                                    : std::vector<sock_filter>();
        const QStringList command =
            (unshare + u"sh -c"_s).split(u' ') +
            QStringList{script, u"sh"_s, dir->path(), name, QStringLiteral(LUMETRA_BINARY)};
        const Run run = runProgram(command + arguments, [&filter](QProcess& process) {
            if (!filter.empty()) {
                process.setChildProcessModifier([filter] { installFilter(filter); });
            }
        });
        // Back to what the test process may remove, whatever the setup did.
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const qsizetype middle = run.out.indexOf("==\n");
        return {run.status, run.err, run.out.first(std::max<qsizetype>(middle, 0)),
                run.out.mid(middle + 3)};
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        lumetra::app::prepareApplication();
        const QDialogButtonBox box(QDialogButtonBox::Cancel); // Qt's own dialogs speak Italian
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), u"Annulla"_s);
    }

    // Each test in the plot window after its first curve.
    void init() {
        dir.emplace();
        QVERIFY(dir->isValid());
        QSettings().setValue(u"picture/screenBackground"_s,
                             true); // pixels compared with the screen's
        restart();
        QVERIFY(reachPlotWindow(*program));
    }

    void svgOfTheWorkedExample() {
        const QByteArray text = *svgPicture(workedExample(2), {});
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
        QVERIFY(writeFile(path(u"plot.svg"_s), text));
        readWith(u"rsvg-convert"_s, {u"-o"_s, path(u"svg.png"_s), path(u"plot.svg"_s)});
        QCOMPARE(QImage(path(u"svg.png"_s)).pixel(309, 66), qRgb(0, 128, 128));
    }

    void pdfHoldsVectorsOnOnePage() {
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(writePdf(buffer, workedExample(1), {}));
        const QByteArray& pdf = buffer.data();
        const QString name = path(u"plot.pdf"_s);
        QVERIFY(writeFile(name, pdf));
        QVERIFY(readWith(u"pdfinfo"_s, {name}).contains(QRegularExpression(u"Pages: +1\n"_s)));
        // Moves, lines and strokes inside the compressed page, not an image of it.
        const qsizetype start = pdf.indexOf("stream\n", pdf.indexOf("/FlateDecode")) + 7;
        const QByteArray page = pdf.mid(start, pdf.indexOf("endstream", start) - start);
        const QByteArray operators = qUncompress(QByteArray::fromHex("00100000") + page);
        QVERIFY(operators.count(" m\n") > 1800);
        QVERIFY(operators.contains(" l\n"));
        QVERIFY(operators.contains("S\n"));
    }

    // The legend, if asked for, stays in the top-left corner; all else is the screen's.
    void pngHasTheScreenPixelsAndText_data() {
        QTest::addColumn<bool>("withLegend");
        QTest::newRow("plain") << false;
        QTest::newRow("legend") << true;
    }
    void pngHasTheScreenPixelsAndText() {
        QFETCH(bool, withLegend);
        QVERIFY(showLegend(withLegend));
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

    // Ctrl+C with the focus on a button: the pixels on the screen and the SVG of the curves.
    void copyFromAnyFocus() {
        auto& form = program->form4();
        showLegend(false);
        QTest::keyClick(buttonShowing(form, u"TRACCIA"_s), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32),
                 areaOnScreen());
        QCOMPARE(marks(copied->data(u"image/svg+xml"_s)).filter(u"circle "_s).size(), 2 * 901);
    }

    // The thirty curves of a script that ran out of room: each way to fail
    // once, and a full disk in every format.
    void commandLineLeavesTheFolderAsItWas_data() {
        QTest::addColumn<Failure>("failure");
        const QString old = u"printf old > \"$dir/$name\""_s;
        const QString tmpfs = u"mount -t tmpfs -o size=8k tmpfs \"$dir\" && "_s + old;
        QTest::newRow("full disk")
            << Failure{Forcing::OwnMounts, tmpfs, u"keep.png"_s, u"disco pieno"_s};
        QTest::newRow("full disk, SVG")
            << Failure{Forcing::OwnMounts, tmpfs, u"keep.svg"_s, u"disco pieno"_s};
        QTest::newRow("full disk, PDF")
            << Failure{Forcing::OwnMounts, tmpfs, u"keep.pdf"_s, u"disco pieno"_s};
        // The limit in blocks of 512 bytes, SIGXFSZ left at its default.
        QTest::newRow("file-size limit") << Failure{Forcing::None, old + u" && ulimit -f 2"_s,
                                                    u"keep.svg"_s, u"file troppo grande"_s};
        QTest::newRow("read-only file")
            << Failure{Forcing::OrdinaryUser, old + u" && chmod 444 \"$dir/$name\""_s,
                       u"keep.png"_s, u"permesso negato"_s};
        QTest::newRow("read-only folder")
            << Failure{Forcing::OrdinaryUser, old + u" && chmod 555 \"$dir\""_s, u"keep.pdf"_s,
                       u"la cartella @ non è scrivibile"_s};
        QTest::newRow("sync") << Failure{Forcing::FailingSync, old, u"keep.pdf"_s,
                                         u"errore di scrittura sul dispositivo"_s};
        QTest::newRow("a folder in the file's place")
            << Failure{Forcing::None, u"mkdir \"$dir/$name\""_s, u"keep.png"_s,
                       u"@/keep.png è una cartella"_s};
    }
    void commandLineLeavesTheFolderAsItWas() {
        QFETCH(Failure, failure);
        const QString target = QDir(dir->path()).filePath(failure.file);
        QStringList arguments{u"-o"_s, target};
        for (int curve = 1; curve <= 30; ++curve) {
            arguments << u"--angolo"_s << QString::number(curve * 12);
        }
        const auto [status, err, before, after] =
            lumetra(failure.forcing, failure.setup, QFileInfo(failure.file).fileName(), arguments);
        QCOMPARE(err, u"lumetra: Impossibile salvare l'immagine %1: %2\n"_s.arg(
                          target, failure.reason.replace(u'@', dir->path())));
        QCOMPARE(status, kNotWritten);
        QCOMPARE(after, before);
    }

    // The plot window's save over the file-size limit: its message, nothing
    // left, the folder the save dialog opens in kept; a save that works moves it there.
    void windowRemembersOnlyAFolderThatTookThePicture() {
        const QString first = path(u"first"_s), second = path(u"second"_s);
        QVERIFY(QDir().mkpath(second));
        QSettings().setValue(u"picture/folder"_s, first);
        const QString big = second + u"/big.svg"_s;
        const rlim_t before = limitFileSize(kSmallLimit);
        program->form4().pictureMenu().saveAs(big, PictureFormat::Svg);
        limitFileSize(before);
        QCOMPARE(ui->messages,
                 QStringList{u"Impossibile salvare l'immagine %1: file troppo grande"_s.arg(big)});
        QCOMPARE(QDir(second).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(QSettings().value(u"picture/folder"_s).toString(), first);
        program->form4().pictureMenu().saveAs(second + u"/small.png"_s, PictureFormat::Png);
        QCOMPARE(QSettings().value(u"picture/folder"_s).toString(), second);
    }
};

LUMETRA_HERMETIC_MAIN(TestPictureOutput, QApplication)

#include "test_picture_output.moc"
