// Every platform function that vis_kt.dll imports fails in turn, in three
// ways, while a whole session runs: start-up beside a player window, frames
// while playing, timer ticks, a drag, the spectrum toggle, Configure with Ok,
// shut-down. Then the fault is lifted and the same library starts again.
// Each case must end with nothing crashed or spinning, every object released
// and a later start-up that works and shows the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "settings/dialog_ids.h"
#include "tests/wine/accounting_fixture.h"
#include "tests/wine/import_patch.h"
#include "tests/wine/plugin_library.h"

namespace {

constexpr UINT_PTR RenderTimer = 1001;

enum class Way { EveryCall, FirstCall, AfterInit };

struct ActiveFault {
    int row = -1;
    Way way = Way::EveryCall;
    bool initReturned = false;
    int calls = 0;
} Active;

void* Forward[64];  // the function each redirected slot held before

bool Failing(int row) {
    if (row != Active.row) return false;
    if (Active.way == Way::FirstCall) return Active.calls++ == 0;
    return Active.way == Way::EveryCall || Active.initReturned;
}

// A stand-in with the function's own signature: it fails (returns zero, or
// does nothing) when its row is the active fault and forwards otherwise.
template <typename Function>
struct Stand;
template <typename Result, typename... Args>
struct Stand<Result(WINAPI*)(Args...)> {
    template <int Row>
    static Result WINAPI Call(Args... args) {
        if (Failing(Row)) return Result();
        return reinterpret_cast<Result(WINAPI*)(Args...)>(Forward[Row])(args...);
    }
};

struct Import {
    const char* dll;
    const char* name;
    void* stand = nullptr;  // null: not made to fail
    int row = -1;
};

template <int Row, typename Function>
Import Faulted(const char* dll, const char* name) {
    return {dll, name, reinterpret_cast<void*>(&Stand<Function>::template Call<Row>), Row};
}

constexpr int FirstRow = __COUNTER__ + 1;
#define FAIL_IT(dll, function) Faulted<__COUNTER__ - FirstRow, decltype(&function)>(dll, #function)
#define RUNTIME(dll, function) Import{dll, #function}

// The DLL's whole import table. The runtime rows serve the compiler's and C
// library's start-up, exit and thread-local data, not the plug-in's own code.
const Import Imports[] = {
    FAIL_IT("gdi32.dll", BitBlt), FAIL_IT("gdi32.dll", CreateCompatibleBitmap),
    FAIL_IT("gdi32.dll", CreateCompatibleDC), FAIL_IT("gdi32.dll", CreateSolidBrush), FAIL_IT("gdi32.dll", DeleteDC),
    FAIL_IT("gdi32.dll", DeleteObject), FAIL_IT("gdi32.dll", SelectObject), FAIL_IT("gdi32.dll", StretchBlt),
    FAIL_IT("kernel32.dll", GetCurrentThreadId), FAIL_IT("kernel32.dll", GetModuleFileNameA),
    FAIL_IT("kernel32.dll", GetModuleHandleA), FAIL_IT("kernel32.dll", GetPrivateProfileIntA),
    FAIL_IT("kernel32.dll", GetProcAddress), FAIL_IT("kernel32.dll", WritePrivateProfileStringA),
    FAIL_IT("user32.dll", AppendMenuA), FAIL_IT("user32.dll", BeginPaint), FAIL_IT("user32.dll", CheckDlgButton),
    FAIL_IT("user32.dll", ClientToScreen), FAIL_IT("user32.dll", ClipCursor), FAIL_IT("user32.dll", CreatePopupMenu),
    FAIL_IT("user32.dll", CreateWindowExA), FAIL_IT("user32.dll", DefWindowProcA), FAIL_IT("user32.dll", DestroyMenu),
    FAIL_IT("user32.dll", DestroyWindow), FAIL_IT("user32.dll", DialogBoxParamA), FAIL_IT("user32.dll", EnableWindow),
    FAIL_IT("user32.dll", EndDialog), FAIL_IT("user32.dll", EndPaint), FAIL_IT("user32.dll", FillRect),
    FAIL_IT("user32.dll", FindWindowA), FAIL_IT("user32.dll", GetDC), FAIL_IT("user32.dll", GetDlgItem),
    FAIL_IT("user32.dll", GetSystemMetrics), FAIL_IT("user32.dll", GetWindowLongA),
    FAIL_IT("user32.dll", GetWindowRect), FAIL_IT("user32.dll", GetWindowThreadProcessId),
    FAIL_IT("user32.dll", IntersectRect), FAIL_IT("user32.dll", KillTimer), FAIL_IT("user32.dll", LoadBitmapA),
    FAIL_IT("user32.dll", MessageBoxA), FAIL_IT("user32.dll", MoveWindow), FAIL_IT("user32.dll", PostMessageA),
    FAIL_IT("user32.dll", PostQuitMessage), FAIL_IT("user32.dll", RegisterClassA), FAIL_IT("user32.dll", ReleaseDC),
    FAIL_IT("user32.dll", SendMessageA), FAIL_IT("user32.dll", SetForegroundWindow), FAIL_IT("user32.dll", SetTimer),
    FAIL_IT("user32.dll", SetWindowLongA), FAIL_IT("user32.dll", SetWindowPos), FAIL_IT("user32.dll", ShowWindow),
    FAIL_IT("user32.dll", SystemParametersInfoA), FAIL_IT("user32.dll", TrackPopupMenu),
    FAIL_IT("user32.dll", UnregisterClassA),
    FAIL_IT("user32.dll", ValidateRect),
    RUNTIME("kernel32.dll", DeleteCriticalSection), RUNTIME("kernel32.dll", EnterCriticalSection),
    RUNTIME("kernel32.dll", FreeLibrary), RUNTIME("kernel32.dll", GetLastError),
    RUNTIME("kernel32.dll", InitializeCriticalSection), RUNTIME("kernel32.dll", LeaveCriticalSection),
    RUNTIME("kernel32.dll", LoadLibraryA), RUNTIME("kernel32.dll", Sleep), RUNTIME("kernel32.dll", TlsGetValue),
    RUNTIME("kernel32.dll", VirtualProtect), RUNTIME("kernel32.dll", VirtualQuery),
    RUNTIME("msvcrt.dll", __setusermatherr), RUNTIME("msvcrt.dll", _amsg_exit), RUNTIME("msvcrt.dll", _errno),
    RUNTIME("msvcrt.dll", _initterm), RUNTIME("msvcrt.dll", _iob), RUNTIME("msvcrt.dll", _lock),
    RUNTIME("msvcrt.dll", _unlock), RUNTIME("msvcrt.dll", abort), RUNTIME("msvcrt.dll", calloc),
    RUNTIME("msvcrt.dll", free), RUNTIME("msvcrt.dll", fwrite), RUNTIME("msvcrt.dll", realloc),
    RUNTIME("msvcrt.dll", strlen), RUNTIME("msvcrt.dll", strncmp), RUNTIME("msvcrt.dll", strrchr),
    RUNTIME("msvcrt.dll", vfprintf),
};
static_assert(__COUNTER__ - FirstRow <= static_cast<int>(sizeof Forward / sizeof Forward[0]));

// Dispatches what is queued; false when the queue never empties, as when a
// handler brings its own message back at once.
bool Settles() {
    MSG msg;
    for (int dispatched = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++dispatched) {
        if (dispatched > 500) return false;
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
    return true;
}

// Ends a dialog that cannot end itself (its EndDialog failing).
void CALLBACK EndStuckDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    EndDialog(dialog, IDCANCEL);
}

// Confirms the Configure dialog as a user would: attach the window, then Ok.
LRESULT CALLBACK ConfirmDialog(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        PostMessageA(call->hwnd, WM_COMMAND, IDC_ATTACH_WINDOW, 0);
        PostMessageA(call->hwnd, WM_COMMAND, IDC_DIALOG_OK, 0);
        SetTimer(call->hwnd, 1, 500, EndStuckDialog);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The whole session under the active fault; returns what went wrong.
std::string RunSession(winampVisModule* module) {
    std::string problems;
    auto settle = [&](const char* step) {
        if (!Settles()) problems += std::string(" the message loop spins after ") + step + ";";
    };
    const bool started = StartModule(module) == 0;
    Active.initReturned = true;
    HWND window = FindPluginWindow();
    settle("start-up");
    if (started) {
        Player.playingAnswer = 1;
        FillWaveform(module, 0x40, 0xC0);
        for (int frame = 0; frame < 2; ++frame) module->Render(module);
        SendMessageA(window, WM_TIMER, RenderTimer, 0);
        Player.playingAnswer = 0;
        for (int tick = 0; tick < 2; ++tick) SendMessageA(window, WM_TIMER, RenderTimer, 0);
        settle("frames and ticks");
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
        SendMessageA(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(SpectrumClickX, SpectrumClickY));
        settle("the drag and the toggle");
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, ConfirmDialog, nullptr, GetCurrentThreadId());
        module->Config(module);
        UnhookWindowsHookEx(hook);
        settle("Configure");
    }
    module->Quit(module);
    settle("shut-down");
    if (HWND left = FindPluginWindow()) {
        MEMORY_BASIC_INFORMATION code = {};
        VirtualQuery(reinterpret_cast<void*>(GetWindowLongPtrA(left, GWLP_WNDPROC)), &code, sizeof code);
        if (code.AllocationBase == LoadPluginLibrary().module) problems += " a window left by shut-down runs the plug-in's code;";
    }
    return problems;
}

// Starts again without a fault, beside the same player window.
std::string RestartShowsTheSkin() {
    WriteModeSetting(DeduzodoSection, 1);
    winampVisModule* module = GetModule(0);
    const int boxes = Ledger.messageBoxes;
    if (StartModule(module) != 0) return " the later start-up failed: " + Ledger.lastMessage + ";";
    std::string problems;
    if (Ledger.messageBoxes != boxes) problems += " the later start-up showed " + Ledger.lastMessage + ";";
    HWND window = FindPluginWindow();
    if (!Settles()) problems += " the later start-up's message loop spins;";
    module->Render(module);
    // The frame only: the meters may be switched off.
    const bool skin = IsLit(PixelAt(window, LeftBevel.left + 1, 20)) && IsLit(PixelAt(window, RightBevel.left + 1, 20));
    if (!skin) problems += " the later start-up's window does not show the skin;";
    module->Quit(module);
    Settles();
    return problems;
}

// What a failed shut-down left behind goes, so that one case does not
// decide the next.
void ClearLeftovers() {
    for (int i = 0; i < 4; ++i) {
        if (HWND window = FindPluginWindow()) DestroyWindow(window);
    }
    Settles();
    UnregisterClassA("DAVevUri", LoadPluginLibrary().module);
}

const char* WayName(Way way) {
    return way == Way::EveryCall ? "every call" : way == Way::FirstCall ? "first call" : "every call after Init";
}

std::string CaseName(Way way) {
    return way == Way::EveryCall ? "EveryCall" : way == Way::FirstCall ? "FirstCall" : "AfterInit";
}

// A case that hangs ends the program with its name rather than at CTest's timeout.
std::atomic<int> Progress{0};
std::atomic<const char*> CurrentCase{""};

void StartWatchdog() {
    std::thread([] {
        for (int seen = -1, still = 0;; Sleep(1000)) {
            still = Progress == seen ? still + 1 : 0;
            seen = Progress;
            if (still < 60) continue;
            std::printf("hung: %s\n", CurrentCase.load());
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }).detach();
}

// Puts a stand-in into every slot of the table, once per process.
void RedirectImports() {
    static bool done = false;
    if (done) return;
    done = true;
    HMODULE dll = LoadPluginLibrary().module;
    ASSERT_NE(dll, nullptr);
    std::vector<std::string> listed;
    for (const Import& import : Imports) {
        listed.push_back(std::string(import.dll) + " " + import.name);
        if (import.stand) Forward[import.row] = PatchImport(dll, import.dll, import.name, import.stand);
        if (import.stand && !Forward[import.row]) ADD_FAILURE() << "listed but not imported: " << listed.back();
    }
    // The ledger goes on top, so it counts every release the plug-in asks
    // for, also those that fail.
    for (const std::string& missing : InstallResourceLedger()) ADD_FAILURE() << "not imported: " << missing;
    for (const std::string& imported : ImportedFunctions(dll)) {
        if (std::find(listed.begin(), listed.end(), imported) == listed.end()) ADD_FAILURE() << "no row: " << imported;
    }
    StartWatchdog();
}

}  // namespace

class ImportFaultTest : public ::testing::TestWithParam<Way> {};

TEST_P(ImportFaultTest, SessionEndsWellAndTheNextStartWorks) {
    RedirectImports();
    ASSERT_FALSE(HasFailure());
    std::string failed;
    for (const Import& import : Imports) {
        if (!import.stand) continue;
        const std::string name = std::string(import.name) + ", " + WayName(GetParam());
        CurrentCase = name.c_str();
        ++Progress;
        RemovePluginIni();
        WriteModeSetting(DeduzodoSection, 0);
        OpenPlayerWindow(PlayerLeft, PlayerTop, PlayerWidth, PlayerHeight);
        Ledger.ResetCounts();
        const int heldBefore = Ledger.HeldTotal();
        Active = {import.row, GetParam()};
        std::string problems = RunSession(GetModule(0));
        Active.row = -1;
        problems += RestartShowsTheSkin();
        if (Ledger.HeldTotal() > heldBefore) problems += " still held: " + DescribeHeld() + ";";
        ClosePlayerWindow();
        ClearLeftovers();
        if (problems.empty()) continue;
        ADD_FAILURE() << name << ":" << problems;
        failed += "\n  " + name;
    }
    if (!failed.empty()) std::printf("failing cases:%s\n", failed.c_str());
    RemovePluginIni();
}

INSTANTIATE_TEST_SUITE_P(Ways, ImportFaultTest, ::testing::Values(Way::EveryCall, Way::FirstCall, Way::AfterInit),
                         [](const ::testing::TestParamInfo<Way>& info) { return CaseName(info.param); });
