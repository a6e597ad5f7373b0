// Windows only: prints the text of the console that the running process
// named PROGRAM (speckwipe.exe, say) shows, one line per console row,
// trailing blanks dropped, into FILE. The end-to-end tests read with it
// what a console window of the program's own would show its user.
//   console_text PROGRAM FILE

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

DWORD processNamed(const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && found == 0;
         more = Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

// The rows of the attached console's screen buffer, as text.
std::vector<std::string> consoleRows() {
    HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    std::vector<std::string> rows;
    if (!GetConsoleScreenBufferInfo(screen, &info)) return rows;
    std::vector<char> row(static_cast<std::size_t>(info.dwSize.X));
    for (SHORT y = 0; y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterA(screen, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &read);
        std::string text(row.data(), read);
        text.erase(text.find_last_not_of(' ') + 1);
        rows.push_back(text);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const DWORD program = processNamed(argv[1]);
    FreeConsole();
    if (program == 0 || !AttachConsole(program)) return 1;
    std::ofstream out(argv[2]);
    for (const std::string& row : consoleRows()) out << row << "\n";
    return 0;
}
