#include "cli/command_line.h"

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

} // namespace

// Without arguments the windows; with any, the command line, which draws
// into a file and loads no widget library.
int main(int argc, char* argv[]) {
    if (argc > 1) {
        return lumetra::cli::runCommandLine(argc, argv);
    }
    const WindowsEntry windows = loadWindows();
    return windows != nullptr ? windows(argc, argv) : 1;
}
