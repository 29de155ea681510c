#include "cli/command_line.h"
#include "cli/launch.h"

#include <QString>
#include <QStringList>

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

using WindowsEntry = int (*)(int, char**);

// The windows module beside the program in a build folder, or where the
// package installs it, relative to the program.
WindowsEntry loadWindows() {
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    for (const char* place : {".", LUMETRA_WINDOWS_FOLDER}) {
        const std::string module = (folder / place / "lumetra-windows.so").string();
        if (void* handle = dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
            return reinterpret_cast<WindowsEntry>(dlsym(handle, "lumetra_windows"));
        }
    }
    std::fprintf(stderr, "lumetra: impossibile aprire le finestre: %s\n", dlerror());
    return nullptr;
}

// The arguments after the program's own name, as the command line reads them.
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

// The windows without arguments, with Qt's own switches or with a picture to
// open; else the command line, which draws into a file and loads no widget
// library. The windows take the arguments as they came: QApplication removes
// its switches itself.
int main(int argc, char* argv[]) {
    if (!lumetra::cli::startsWindows(argumentsOf(argc, argv))) {
        return lumetra::cli::runCommandLine(argc, argv);
    }
    const WindowsEntry windows = loadWindows();
    return windows != nullptr ? windows(argc, argv) : 1;
}
