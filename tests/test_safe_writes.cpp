// Saves that fail where users meet them, each forced for real: a full disk, a
// file-size limit, a read-only file system, no permission, a quota, a sync
// that fails, a folder where the file should be. The folder is left as it
// was, the old file with its bytes and no temporary file beside it, and the
// message is Italian whatever the locale. Then the folder the save dialog
// opens in, which only a save that worked changes.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "support/recording_ui.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstddef>

using lumetra::output::PictureFormat;
using namespace Qt::StringLiterals;
using namespace lumetra::testing;

namespace {

constexpr int kNotWritten = 1;
// Smaller than any picture of a curve in any format.
constexpr rlim_t kSmallLimit = 1024;

// How a run of the program is made to fail its write.
enum class Forcing {
    None,
    OwnMounts,     // a user namespace of its own, where it mounts a small or read-only tmpfs
    OrdinaryUser,  // uid 1000 with no capabilities, which root is not
    QuotaOnWrites, // a seccomp filter: a write of more than a page fails with EDQUOT
    FailingSync,   // a seccomp filter: a sync of any file but the standard ones fails with EIO
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

// Sets this process's file-size limit to `bytes`; the limit it had.
rlim_t limitFileSize(rlim_t bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t before = std::exchange(limit.rlim_cur, bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
    return before;
}

QString canonical(const QString& folder) {
    return QFileInfo(folder).canonicalFilePath();
}

} // namespace

class TestSafeWrites : public QObject {
    Q_OBJECT

    std::optional<RecordingUi> ui;
    std::optional<lumetra::app::Program> program;
    std::optional<QTemporaryDir> dir;

    // The program run as a script runs it, in the C locale, made to fail by
    // `forcing`. A shell runs `setup` with $dir the folder and $name the
    // file's name, then the program with `arguments`. The exit status,
    // standard error, and the folder's listing ("/" after a folder) with the
    // file's bytes, before the program and after it.
    std::tuple<int, QString, QByteArray, QByteArray> lumetra(Forcing forcing, const QString& setup,
                                                             const QString& name,
                                                             const QStringList& arguments) {
        const QString script = u"dir=$1 name=$2; shift 2\n"_s + setup +
                               u" || exit 90\n"
                               u"state() { ls -Ap \"$dir\"; cat \"$dir/$name\" 2>/dev/null; }\n"
                               u"state; echo ==; \"$@\"; status=$?; state; exit $status\n"_s;
        QStringList command{
            u"sh"_s, u"-c"_s, script, u"sh"_s, dir->path(), name, QStringLiteral(LUMETRA_BINARY)};
        if (forcing == Forcing::OwnMounts || forcing == Forcing::OrdinaryUser) {
            command = QStringList{u"unshare"_s, u"--user"_s} +
                      (forcing == Forcing::OwnMounts
                           ? QStringList{u"--map-root-user"_s, u"--mount"_s}
                           : QStringList{u"--map-user=1000"_s, u"--map-group=1000"_s}) +
                      command;
        }
        const std::vector<sock_filter> filter =
            forcing == Forcing::QuotaOnWrites ? failingCall(SYS_write, 2, 4096, EDQUOT)
            : forcing == Forcing::FailingSync ? failingCall(SYS_fsync, 0, 2, EIO)
                                              : std::vector<sock_filter>();
        const Run run = runProgram(command + arguments, [&](QProcess& process) {
            QProcessEnvironment environment = process.processEnvironment();
            environment.remove(u"LANGUAGE"_s);
            // The system's own texts are English here: none of them may come through.
            environment.insert(u"LC_ALL"_s, u"C"_s);
            process.setProcessEnvironment(environment);
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

    // Opens the save dialog with Ctrl+S in the plot window, runs `inDialog`
    // on it, and closes it if `inDialog` did not.
    void withSaveDialog(const std::function<void(QFileDialog&)>& inDialog) {
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && !seen) {
                seen = true;
                inDialog(*dialog);
                if (dialog->isVisible()) {
                    dialog->reject();
                }
            }
        });
        poll.start(10);
        // A dialog closed before leaves the window inactive, and the shortcut is the window's.
        program->form4().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program->form4()));
        QTest::keyClick(buttonShowing(program->form4(), u"TRACCIA"_s), Qt::Key_S,
                        Qt::ControlModifier);
        QVERIFY(seen);
    }

    QString dialogFolder() {
        QString folder;
        withSaveDialog([&folder](QFileDialog& dialog) { folder = dialog.directory().path(); });
        return canonical(folder);
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        lumetra::app::prepareApplication();
    }

    void init() {
        dir.emplace();
        QVERIFY(dir->isValid());
        QSettings().remove(u"picture/folder"_s);
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        QVERIFY(reachPlotWindow(*program));
    }

    // The thirty curves of a script that ran out of room; each way to fail
    // once, and the full disk in each format. Row: the forcing, the setup (see
    // lumetra()), the file in the folder, the reason (@ the folder).
    void commandLineLeavesTheFolderAsItWas_data() {
        QTest::addColumn<Forcing>("forcing");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const QString old = u"printf old > \"$dir/$name\""_s;
        const QString tmpfs = u"mount -t tmpfs -o size=8k tmpfs \"$dir\" && "_s + old;
        for (const QString& format : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            QTest::addRow("%s on a full disk", qPrintable(format))
                << Forcing::OwnMounts << tmpfs << u"keep."_s + format << u"disco pieno"_s;
        }
        // The limit in blocks of 512 bytes, SIGXFSZ left at its default.
        QTest::newRow("file-size limit") << Forcing::None << old + u" && ulimit -f 2"_s
                                         << u"keep.svg"_s << u"file troppo grande"_s;
        QTest::newRow("read-only file system")
            << Forcing::OwnMounts << tmpfs + u" && mount -o remount,bind,ro \"$dir\""_s
            << u"keep.pdf"_s << u"file system di sola lettura"_s;
        QTest::newRow("read-only file")
            << Forcing::OrdinaryUser << old + u" && chmod 444 \"$dir/$name\""_s << u"keep.png"_s
            << u"permesso negato"_s;
        QTest::newRow("read-only folder")
            << Forcing::OrdinaryUser << old + u" && chmod 555 \"$dir\""_s << u"keep.pdf"_s
            << u"la cartella @ non è scrivibile"_s;
        QTest::newRow("quota") << Forcing::QuotaOnWrites << old << u"keep.svg"_s
                               << u"quota del disco superata"_s;
        QTest::newRow("sync") << Forcing::FailingSync << old << u"keep.pdf"_s
                              << u"errore di scrittura sul dispositivo"_s;
        QTest::newRow("a folder in the file's place")
            << Forcing::None << u"mkdir \"$dir/$name\""_s << u"keep.png"_s
            << u"@/keep.png è una cartella"_s;
        // Root may write /proc by its permissions, yet it takes no file; others may not.
        QTest::newRow("a folder that takes no file")
            << Forcing::None << u"true"_s << u"/proc/lumetra.png"_s
            << (geteuid() == 0 ? u"nella cartella /proc non si possono creare file"_s
                               : u"la cartella /proc non è scrivibile"_s);
    }
    void commandLineLeavesTheFolderAsItWas() {
        QFETCH(Forcing, forcing);
        QFETCH(QString, setup);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const QString target = QDir(dir->path()).filePath(file);
        QStringList arguments{u"-o"_s, target};
        for (int curve = 1; curve <= 30; ++curve) {
            arguments << u"--angolo"_s << QString::number(curve * 12);
        }
        const auto [status, err, before, after] =
            lumetra(forcing, setup, QFileInfo(file).fileName(), arguments);
        QCOMPARE(err, u"lumetra: Impossibile salvare l'immagine %1: %2\n"_s.arg(
                          target, reason.replace(u'@', dir->path())));
        QCOMPARE(status, kNotWritten);
        QCOMPARE(after, before);
    }

    // The dialog opens in the folder of the last picture saved while it takes
    // files, else in the pictures folder, else at home. Row: the remembered
    // folder (@ this test's folder), whether ~/Pictures exists, where the
    // dialog opens (~ home).
    void dialogOpensWhereFilesGo_data() {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<bool>("withPictures");
        QTest::addColumn<QString>("opensIn");
        QTest::newRow("remembered") << u"@/saved"_s << true << u"@/saved"_s;
        QTest::newRow("gone") << u"@/gone"_s << true << u"~/Pictures"_s;
        QTest::newRow("takes no file") << u"/proc"_s << true << u"~/Pictures"_s;
        QTest::newRow("no pictures") << u"@/gone"_s << false << u"~"_s;
    }
    void dialogOpensWhereFilesGo() {
        QFETCH(QString, remembered);
        QFETCH(bool, withPictures);
        QFETCH(QString, opensIn);
        const auto place = [this](QString folder) {
            return folder.replace(u'@', dir->path()).replace(u'~', QDir::homePath());
        };
        QVERIFY(QDir().mkpath(place(u"@/saved"_s)));
        QDir pictures(place(u"~/Pictures"_s));
        QVERIFY(withPictures ? pictures.mkpath(u"."_s) : pictures.removeRecursively());
        QSettings().setValue(u"picture/folder"_s, place(remembered));
        QCOMPARE(dialogFolder(), canonical(place(opensIn)));
    }

    // The plot window's save over the file-size limit: its message, nothing
    // left, the dialog where it was; a save that works moves the dialog there.
    void dialogRemembersOnlyAFolderThatTookThePicture() {
        const QString first = dir->filePath(u"first"_s), second = dir->filePath(u"second"_s);
        QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
        QSettings().setValue(u"picture/folder"_s, first);
        const QString big = second + u"/big.svg"_s;
        const rlim_t before = limitFileSize(kSmallLimit);
        program->form4().pictureMenu().saveAs(big, PictureFormat::Svg);
        limitFileSize(before);
        QCOMPARE(ui->messages,
                 QStringList{u"Impossibile salvare l'immagine %1: file troppo grande"_s.arg(big)});
        QCOMPARE(QDir(second).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(dialogFolder(), canonical(first));
        program->form4().pictureMenu().saveAs(second + u"/small.png"_s, PictureFormat::Png);
        QCOMPARE(dialogFolder(), canonical(second));
    }
};

// Its own home, settings and data, never the user's, from before Qt reads them.
int main(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u".config"_s)));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u".local/share"_s)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(u".cache"_s)));
    QApplication application(argc, argv);
    TestSafeWrites test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_safe_writes.moc"
