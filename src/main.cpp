// SPDX-License-Identifier: GPL-3.0-or-later
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

void complain(const std::string& reason) {
    std::fprintf(stderr, "lumetra: impossibile aprire le finestre: %s\n", reason.c_str());
}

// The windows module beside the program in a build folder, or where the
// package installs it, relative to the program. Never relative to the working
// folder, where anyone may have put a module of that name: without the
// program's own path there is no module to load.
WindowsEntry loadWindows() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute()) {
        complain("il percorso del programma è sconosciuto");
        return nullptr;
    }
    for (const char* place : {".", LUMETRA_WINDOWS_FOLDER}) {
        const std::string module =
            (program.parent_path() / place / "lumetra-windows.so").lexically_normal().string();
        if (void* handle = dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
            if (void* entry = dlsym(handle, "lumetra_windows")) {
                return reinterpret_cast<WindowsEntry>(entry);
            }
            complain(module + " non contiene lumetra_windows");
            return nullptr;
        }
    }
    complain(dlerror());
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
