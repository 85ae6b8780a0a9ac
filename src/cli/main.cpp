#include "cli/commands.h"

#ifdef _WIN32
#include <windows.h>
// <shellapi.h> needs <windows.h> first.
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/common/regular_file.h"

namespace {

// The arguments as UTF-8: main's argv is in the ANSI code page, which cannot
// hold every file name, so they are taken from the wide command line.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 0; i < count; ++i) {
        arguments.push_back(pictor::Utf8FromPath(std::filesystem::path(wide[i])));
    }
    ::LocalFree(wide);
    return arguments;
}

// The program writes UTF-8; the console shows it as such, and the status line's
// escape sequences (carriage return, clear to end of line) work.
void PrepareConsole() {
    ::SetConsoleOutputCP(CP_UTF8);
    for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = ::GetStdHandle(which);
        DWORD mode = 0;
        if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
            ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        }
    }
}

}  // namespace

int main() {
    PrepareConsole();
    std::vector<std::string> arguments = Utf8Arguments();
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return pictor::cli::Run(static_cast<int>(arguments.size()), argv.data());
}

#else

int main(int argc, char** argv) {
    return pictor::cli::Run(argc, argv);
}

#endif
