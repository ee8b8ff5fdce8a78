// Every platform function that vis_kt.dll imports fails in turn, in three
// ways, while a whole session runs: start-up beside a player window, frames
// while playing, timer ticks, a drag, the spectrum toggle, Configure with Ok,
// shut-down. Then the fault is lifted and the same library starts again.
// Each case must end with nothing crashed or spinning, the Configure dialog
// ended by its own Ok, every object released and a later start-up that works
// and shows the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "host/win/import_table.h"
#include "settings/dialog_ids.h"
#include "tests/wine/accounting_fixture.h"
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
    void* stand;
    int row;
};

template <int Row, typename Function>
Import Faulted(const char* dll, const char* name) {
    return {dll, name, reinterpret_cast<void*>(&Stand<Function>::template Call<Row>), Row};
}

constexpr int FirstRow = __COUNTER__ + 1;
#define FAIL_IT(dll, function) Faulted<__COUNTER__ - FirstRow, decltype(&function)>(dll, #function)
#define GDI(function) FAIL_IT("gdi32.dll", function)
#define KERNEL(function) FAIL_IT("kernel32.dll", function)
#define USER(function) FAIL_IT("user32.dll", function)

// Every function of the DLL's import table is here or in RuntimeImports;
// the rows stay packed, in the order of the import table.
// clang-format off
const Import Imports[] = {
    GDI(BitBlt), GDI(CreateCompatibleBitmap), GDI(CreateCompatibleDC), GDI(CreateSolidBrush), GDI(DeleteDC),
    GDI(DeleteObject), GDI(SelectObject), GDI(StretchBlt), KERNEL(GetCurrentThreadId), KERNEL(GetModuleFileNameA),
    KERNEL(GetModuleHandleA), KERNEL(GetPrivateProfileIntA), KERNEL(GetProcAddress),
    KERNEL(WritePrivateProfileStringA), USER(AppendMenuA), USER(BeginPaint), USER(CheckDlgButton),
    USER(ClientToScreen), USER(ClipCursor), USER(CreatePopupMenu), USER(CreateWindowExA), USER(DefWindowProcA),
    USER(DestroyMenu), USER(DestroyWindow), USER(DialogBoxParamA), USER(EnableWindow), USER(EndDialog),
    USER(EndPaint), USER(FillRect), USER(FindWindowA), USER(GetDC), USER(GetDlgItem), USER(GetSystemMetrics),
    USER(GetWindowLongA), USER(GetWindowRect), USER(GetWindowThreadProcessId), USER(IntersectRect), USER(KillTimer),
    USER(LoadBitmapA), USER(MessageBoxA), USER(MoveWindow), USER(PostMessageA), USER(PostQuitMessage),
    USER(RegisterClassA), USER(ReleaseCapture), USER(ReleaseDC), USER(SendMessageA), USER(SetCapture),
    USER(SetForegroundWindow), USER(SetTimer), USER(SetWindowLongA), USER(SetWindowPos), USER(ShowWindow),
    USER(SystemParametersInfoA), USER(TrackPopupMenu), USER(UnregisterClassA), USER(ValidateRect),
};
// clang-format on
static_assert(__COUNTER__ - FirstRow <= static_cast<int>(sizeof Forward / sizeof Forward[0]));

// Not made to fail: they serve the compiler's and the C library's start-up,
// exit and thread-local data, not the plug-in's own code.
// clang-format off
const char* const RuntimeImports[] = {
    "kernel32.dll DeleteCriticalSection", "kernel32.dll EnterCriticalSection", "kernel32.dll FreeLibrary",
    "kernel32.dll GetLastError", "kernel32.dll InitializeCriticalSection", "kernel32.dll LeaveCriticalSection",
    "kernel32.dll LoadLibraryA", "kernel32.dll Sleep", "kernel32.dll TlsGetValue", "kernel32.dll VirtualProtect",
    "kernel32.dll VirtualQuery", "msvcrt.dll __setusermatherr", "msvcrt.dll _amsg_exit", "msvcrt.dll _errno",
    "msvcrt.dll _initterm", "msvcrt.dll _iob", "msvcrt.dll _lock", "msvcrt.dll _unlock", "msvcrt.dll abort",
    "msvcrt.dll calloc", "msvcrt.dll free", "msvcrt.dll fwrite", "msvcrt.dll realloc", "msvcrt.dll strlen",
    "msvcrt.dll strncmp", "msvcrt.dll strrchr", "msvcrt.dll vfprintf",
};
// clang-format on

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

// Set when a dialog was still open 500 ms after its Ok.
bool DialogEndedFromOutside = false;

// Ends a dialog that did not end itself, so that the session goes on.
void CALLBACK EndStuckDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    DialogEndedFromOutside = true;
    EndDialog(dialog, IDCANCEL);
}

// Without these a dialog cannot end itself; any other failing import must
// leave it able to.
bool DialogNeedsToEndItself(const char* import) {
    return std::strcmp(import, "EndDialog") == 0 || std::strcmp(import, "DialogBoxParamA") == 0;
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
std::string RunSession(winampVisModule* module, const char* import) {
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
        DialogEndedFromOutside = false;
        module->Config(module);
        UnhookWindowsHookEx(hook);
        if (DialogEndedFromOutside && !DialogNeedsToEndItself(import)) {
            problems += " the Configure dialog stayed open after Ok;";
        }
        settle("Configure");
    }
    module->Quit(module);
    settle("shut-down");
    if (HWND left = FindPluginWindow()) {
        MEMORY_BASIC_INFORMATION code = {};
        VirtualQuery(reinterpret_cast<void*>(GetWindowLongPtrA(left, GWLP_WNDPROC)), &code, sizeof code);
        if (code.AllocationBase == LoadPluginLibrary().module)
            problems += " a window left by shut-down runs the plug-in's code;";
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

// What a failed shut-down left behind goes, so that one case does not decide the next.
void ClearLeftovers() {
    if (HWND window = FindPluginWindow()) DestroyWindow(window);
    Settles();
    UnregisterClassA("DAVevUri", LoadPluginLibrary().module);
}

const char* WayName(Way way) {
    return way == Way::EveryCall ? "every call" : way == Way::FirstCall ? "first call" : "every call after Init";
}

// A case that hangs ends the program with its name rather than at CTest's timeout.
std::atomic<int> Progress{0};
std::atomic<const char*> CurrentCase{""};

void StartWatchdog() {
    std::thread([] {
        for (int seen = -1; seen != Progress; Sleep(60000)) seen = Progress;
        std::printf("hung: %s\n", CurrentCase.load());
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }).detach();
}

// Puts a stand-in into every slot of the table.
void RedirectImports() {
    HMODULE dll = LoadPluginLibrary().module;
    ASSERT_NE(dll, nullptr);
    std::vector<std::string> listed(std::begin(RuntimeImports), std::end(RuntimeImports));
    for (const Import& import : Imports) {
        listed.push_back(std::string(import.dll) + " " + import.name);
        Forward[import.row] = PatchImport(dll, import.dll, import.name, import.stand);
        if (!Forward[import.row]) ADD_FAILURE() << "listed but not imported: " << listed.back();
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

// All cases in one process: a Wine start costs more than many cases under
// emulation, and a case that crashes fails the test all the same.
TEST(ImportFaultTest, EachImportFailingLeavesASessionThatEndsWellAndAWorkingStart) {
    RedirectImports();
    ASSERT_FALSE(HasFailure());
    for (const Way way : {Way::EveryCall, Way::FirstCall, Way::AfterInit}) {
        for (const Import& import : Imports) {
            const std::string name = std::string(import.name) + ", " + WayName(way);
            CurrentCase = name.c_str();
            ++Progress;
            RemovePluginIni();
            WriteModeSetting(DeduzodoSection, 0);
            OpenPlayerWindow(PlayerLeft, PlayerTop, PlayerWidth, PlayerHeight);
            Ledger.ResetCounts();
            const int heldBefore = Ledger.HeldTotal();
            Active = {import.row, way};
            std::string problems = RunSession(GetModule(0), import.name);
            Active.row = -1;
            problems += RestartShowsTheSkin();
            if (Ledger.HeldTotal() > heldBefore) problems += " still held: " + DescribeHeld() + ";";
            ClosePlayerWindow();
            ClearLeftovers();
            if (!problems.empty()) ADD_FAILURE() << name << ":" << problems;
        }
    }
    RemovePluginIni();
}
