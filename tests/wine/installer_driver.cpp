// Drives the installer's window as a user would, for the installer tests
// (tools/release/test-release.sh): on the folder page, presses Install and
// prints the text of the message box that answers. Then
//   ok:              presses OK, prints the window title, presses Cancel;
//   retry STOPFILE:  creates STOPFILE (the fake player quits on it), presses
//                    Retry, waits for the install to complete, presses Close.
// Usage: installer_driver.exe "FOLDER PAGE WINDOW TITLE" ok|retry [STOPFILE]
// Exit code 0 when every step found its window, else the failing step.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND exclude;
    HWND found;
};

// A visible top-level dialog of the process other than `exclude`.
BOOL CALLBACK FindOtherDialog(HWND window, LPARAM parameter) {
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == search.process && window != search.exclude && IsWindowVisible(window) &&
        std::string(className) == "#32770") {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM parameter) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "Static") {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(parameter) += text;
    }
    return TRUE;
}

std::string Title(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND WaitForTitle(const char* title, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (HWND window = FindWindowA(nullptr, title)) return window;
        Sleep(100);
    }
    return nullptr;
}

// Polls every 20 ms until `done` holds or timeoutMs pass; whether it held.
template <typename Condition>
bool WaitUntil(Condition done, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        Sleep(20);
    }
    return done();
}

// The page shows: its inner dialog is visible and Install can be pressed.
bool PageShown(HWND installer) {
    HWND page = FindWindowExA(installer, nullptr, "#32770", nullptr);
    HWND install = GetDlgItem(installer, IDOK);
    return page && IsWindowVisible(page) && install && IsWindowEnabled(install);
}

}  // namespace

int main(int argc, char** argv) {
    const bool retry = argc == 4 && std::string(argv[2]) == "retry";
    if (!retry && !(argc == 3 && std::string(argv[2]) == "ok")) return 10;
    HWND installer = WaitForTitle(argv[1], 60000);
    if (!installer) {
        std::printf("no window titled %s\n", argv[1]);
        return 1;
    }
    WaitUntil([&] { return PageShown(installer); }, 10000);
    // Posted: the page's check shows a modal box before the click returns.
    PostMessageA(GetDlgItem(installer, IDOK), BM_CLICK, 0, 0);
    Search search = {0, installer, nullptr};
    GetWindowThreadProcessId(installer, &search.process);
    for (int waited = 0; waited < 10000 && !search.found; waited += 100) {
        Sleep(100);
        EnumWindows(FindOtherDialog, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found) {
        std::printf("no message box after Install; page now: %s\n", Title(installer).c_str());
        // Lets the installer end, whichever page it shows.
        PostMessageA(GetDlgItem(installer, IDCANCEL), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(installer, IDOK), BM_CLICK, 0, 0);
        return 2;
    }
    std::string text;
    EnumChildWindows(search.found, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("message: %s\n", text.c_str());
    if (retry) {
        // Retry once the player has closed its window, which the installer looks for.
        if (FILE* stop = std::fopen(argv[3], "w")) std::fclose(stop);
        WaitUntil([] { return FindWindowA("Winamp v1.x", nullptr) == nullptr; }, 10000);
        PostMessageA(search.found, WM_COMMAND, IDRETRY, 0);
        const std::string done = std::string(Title(installer)).substr(0, Title(installer).find(':')) + ": Completed";
        for (int waited = 0; waited < 30000 && IsWindow(installer) && Title(installer) != done; waited += 100) {
            Sleep(100);
        }
        std::printf("after the box: %s\n", IsWindow(installer) ? Title(installer).c_str() : "(installer gone)");
        PostMessageA(GetDlgItem(installer, IDOK), BM_CLICK, 0, 0);
        return 0;
    }
    // The box gone, the page has had its say: a page that moved on would
    // have changed the title by the time a short wait ends.
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(search.found); }, 10000);
    Sleep(200);
    std::printf("after the box: %s\n", IsWindow(installer) ? Title(installer).c_str() : "(installer gone)");
    PostMessageA(GetDlgItem(installer, IDCANCEL), BM_CLICK, 0, 0);
    return 0;
}
