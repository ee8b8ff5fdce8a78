// player_probe.dll: a plug-in that uses what the player offers, built as the
// player's own 5.x plug-ins are, and logs what it got, one line each, to the
// file named by PROBE_LOG:
//   from winampVisGetHeader: the service object, through a virtual call, and
//   the language service's string from the probe's own resources;
//   from Init: every query of the player's table ("ask ID ARG = ANSWER"), and
//   the embed frame, in which its window lives as the frame's child;
//   from Render: the spectrum it was handed (a checksum of both channels),
//   and a fault and a C++ exception of its compiler, both caught by its own
//   handler, which the host must leave alone.
// Module 0 "Player probe" does all that; module 1 "Player probe box" shows a
// message box from Init, as a plug-in does that finds its player too old.
#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin/player_protocol.h"
#include "plugin/records.h"

namespace {

constexpr int ProbeStringId = 1;

void Log(const std::string& line) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("PROBE_LOG", path, MAX_PATH)) return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

HINSTANCE Self() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&Log), &self);
    return self;
}

// The service objects as a plug-in of the player declares them.
class Dispatchable {
public:
    virtual int VIS_THISCALL _dispatch(int message, void* result, void** params, int count) = 0;

protected:
    ~Dispatchable() = default;
};

void* Ask(Dispatchable* object, int message, void** params, int count) {
    void* result = nullptr;
    return object && object->_dispatch(message, &result, params, count) ? result : nullptr;
}

std::string Narrow(const wchar_t* text) {
    char narrow[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

HWND Player = nullptr;
HWND Frame = nullptr, Child = nullptr;
embedWindowState Embed{};

LRESULT Query(WPARAM argument, LPARAM id) { return SendMessageA(Player, WM_USER, argument, id); }

// Every query of the table, with its answer as text: numbers, the texts
// pointed at, and what a pointer or handle is.
void AskEverything() {
    auto ask = [](int id, WPARAM argument, const std::string& answer) {
        Log("ask " + std::to_string(id) + " " + std::to_string(argument) + " = " + answer);
    };
    auto number = [&](int id, WPARAM argument = 0) { ask(id, argument, std::to_string(long(Query(argument, id)))); };
    auto text = [&](int id, WPARAM argument = 0) {
        const auto* answer = reinterpret_cast<const char*>(Query(argument, id));
        ask(id, argument, answer ? answer : "null");
    };
    auto wide = [&](int id, WPARAM argument = 0) {
        const auto* answer = reinterpret_cast<const wchar_t*>(Query(argument, id));
        ask(id, argument, answer ? Narrow(answer) : "null");
    };
    for (int id : {0, 104, 124, 125, 250, 251, 501, 2004, 9999}) number(id);
    for (WPARAM what : {0, 1, 2}) number(PlayerQuery::OutputTime, what);
    text(PlayerQuery::Skin);
    char skin[MAX_PATH] = "unchanged";
    Query(reinterpret_cast<WPARAM>(skin), PlayerQuery::Skin);
    ask(PlayerQuery::Skin, 1, skin);
    for (WPARAM index : {0, 1}) {
        text(PlayerQuery::PlaylistFile, index);
        text(PlayerQuery::PlaylistTitle, index);
        wide(PlayerQuery::PlaylistTitleWide, index);
    }
    for (int id : {334, 335, 336}) text(id);
    for (int id : {1334, 1335, 1336}) wide(id);
    ask(PlayerQuery::DialogParent, 0, Query(0, PlayerQuery::DialogParent) == LRESULT(Player) ? "main" : "other");
    number(PlayerQuery::SetVisWindow, WPARAM(Child));
    ask(PlayerQuery::GetVisWindow, 0, Query(0, PlayerQuery::GetVisWindow) == LRESULT(Child) ? "set" : "other");
    number(PlayerQuery::RandomPresetNotice, 1);
    number(PlayerQuery::FullScreenFlag, 1);
    const auto random = reinterpret_cast<int(VIS_CDECL*)()>(Query(0, PlayerQuery::RandomFunction));
    bool inRange = random != nullptr;
    for (int i = 0; i < 100 && random; ++i) inRange = inRange && random() >= 0;
    ask(PlayerQuery::RandomFunction, 0, inRange ? "non-negative" : "bad");
    ask(PlayerQuery::ServiceObject, 0, Query(0, PlayerQuery::ServiceObject) ? "object" : "null");
    const auto d3dx9 = HMODULE(Query(0, PlayerQuery::D3dx9Library));
    char name[MAX_PATH] = "none";
    if (d3dx9) GetModuleFileNameA(d3dx9, name, MAX_PATH);
    const std::string file = name;
    ask(PlayerQuery::D3dx9Library, 0, file.substr(file.find_last_of('\\') + 1));
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Log("child asked to close");
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) Child = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Where the child sits in the frame and where the frame says it is.
void LogPlacement(const char* when) {
    RECT child{}, frame{};
    GetWindowRect(Child, &child);
    MapWindowPoints(HWND_DESKTOP, Frame, reinterpret_cast<POINT*>(&child), 2);
    GetWindowRect(Frame, &frame);
    const EmbedRect& r = Embed.r;
    Log(std::string("embed ") + when + " child=" + RectText(child) + " frame=" + RectText(frame) +
        " r=" + RectText({r.left, r.top, r.right, r.bottom}) + " visible=" + std::to_string(IsWindowVisible(Frame)));
}

void LiveInFrame(HINSTANCE self) {
    const auto embed = reinterpret_cast<EmbedFunction>(Query(0, PlayerQuery::EmbedInterface));
    Embed.r = {100, 100, 200, 150};  // smaller than the frame may be
    Embed.flags = EmbedFlag::NoWindowMenu;
    Frame = embed ? reinterpret_cast<HWND>(embed(&Embed)) : nullptr;
    Log("embed frame=" + std::string(Frame && reinterpret_cast<HWND>(Embed.me) == Frame ? "me" : "none") +
        " owner=" + (GetWindow(Frame, GW_OWNER) == Player ? "main" : "other") +
        " visible=" + std::to_string(IsWindowVisible(Frame)));
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = ChildProc;
    childClass.hInstance = self;
    childClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    childClass.lpszClassName = "PlayerProbeChild";
    RegisterClassA(&childClass);
    Child =
        CreateWindowExA(0, "PlayerProbeChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Frame, nullptr, self, nullptr);
    SendMessageA(Frame, EmbedShowNoActivate, 0, 0);
    LogPlacement("shown");
    SetWindowPos(Frame, nullptr, 40, 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    LogPlacement("resized");
}

int32_t VIS_CDECL Init(winampVisModule* module) {
    Player = reinterpret_cast<HWND>(module->hwndParent);
    LiveInFrame(reinterpret_cast<HINSTANCE>(module->hDllInstance));
    char caption[256] = {};
    GetWindowTextA(Player, caption, sizeof caption);
    Log(std::string("caption ") + caption);
    AskEverything();
    return Frame && Child ? 0 : 1;
}

#if defined(__i386__)
// A handler of the probe's own on the thread's chain, as a compiler's __try
// puts there: it takes the probe's fault and the exception, and goes on.
int Caught = 0;

EXCEPTION_DISPOSITION __cdecl OwnHandler(EXCEPTION_RECORD* record, void*, CONTEXT* context, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
        context->Eip += 2;  // over the two-byte load below
    } else if (record->ExceptionCode != 0xE06D7363) {
        return ExceptionContinueSearch;
    }
    ++Caught;
    return ExceptionContinueExecution;
}

int FaultUnderOwnHandler() {
    Caught = 0;
    void* frame[2] = {nullptr, reinterpret_cast<void*>(&OwnHandler)};
    asm volatile("movl %%fs:0, %0" : "=r"(frame[0]));
    asm volatile("movl %0, %%fs:0" : : "r"(frame) : "memory");
    asm volatile("xorl %%eax, %%eax\n\tmovl (%%eax), %%eax" : : : "eax", "memory");  // 8B 00
    RaiseException(0xE06D7363, 0, 0, nullptr);                                       // how that compiler throws
    asm volatile("movl %0, %%fs:0" : : "r"(frame[0]) : "memory");
    return Caught;
}
#else
int FaultUnderOwnHandler() { return -1; }
#endif

int RendersSinceInit = 0;

int32_t VIS_CDECL Render(winampVisModule* module) {
    if (++RendersSinceInit == 1) {
        uint32_t checksum = 2166136261u;  // FNV-1a over both channels
        for (const auto& channel : module->spectrumData)
            for (unsigned char byte : channel) checksum = (checksum ^ byte) * 16777619u;
        Log("render spectrum=" + std::to_string(checksum) + " w0=" + std::to_string(int(module->waveformData[0][0])));
        Log("render own_handler_caught=" + std::to_string(FaultUnderOwnHandler()));
    }
    return Child ? 0 : 1;  // the module ends once its window is closed
}

void VIS_CDECL Quit(winampVisModule*) {
    Log("quit");
    if (Frame) DestroyWindow(Frame);
    Frame = Child = nullptr;
    UnregisterClassA("PlayerProbeChild", Self());
}

int32_t VIS_CDECL BoxInit(winampVisModule* module) {
    MessageBoxA(reinterpret_cast<HWND>(module->hwndParent), "This probe needs a newer player", "Uh Oh", MB_OK);
    Log("box closed");
    return 1;
}

winampVisModule Modules[] = {
    {"Player probe", nullptr, nullptr, 0, 0, 0, 25, 2, 2, {}, {}, nullptr, Init, Render, Quit, nullptr},
    {"Player probe box", nullptr, nullptr, 0, 0, 0, 25, 0, 2, {}, {}, nullptr, BoxInit, Render, Quit, nullptr},
};

winampVisModule* VIS_CDECL GetModule(int32_t index) { return index == 0 || index == 1 ? &Modules[index] : nullptr; }

winampVisHeader Header = {0x101, "Player probe library", GetModule};

// Asks the language service for a string of the probe's own, as the
// player's plug-ins do before anything else.
void UseLanguageService(HWND player) {
    auto* services = reinterpret_cast<Dispatchable*>(SendMessageA(player, WM_USER, 0, PlayerQuery::ServiceObject));
    ServiceGuid guid = LanguageServiceGuid;
    void* byGuid[] = {&guid};
    auto* factory = static_cast<Dispatchable*>(Ask(services, ServiceMessage::GetServiceByGuid, byGuid, 1));
    ServiceGuid other = guid;
    other.data1 ^= 1;
    void* byOther[] = {&other};
    const bool otherNull = Ask(services, ServiceMessage::GetServiceByGuid, byOther, 1) == nullptr;
    int lock = 1;
    void* lockParams[] = {&lock};
    auto* language = static_cast<Dispatchable*>(Ask(factory, ServiceMessage::FactoryGetInterface, lockParams, 1));
    HINSTANCE self = Self();
    void* startParams[] = {&self, &guid};
    const bool started = Ask(language, LanguageMessage::StartSupport, startParams, 2) == self;
    UINT id = ProbeStringId;
    char buffer[64] = {};
    char* into = buffer;
    size_t size = sizeof buffer;
    void* stringParams[] = {&self, &self, &id, &into, &size};
    const char* string = static_cast<const char*>(Ask(language, LanguageMessage::String, stringParams, 5));
    char* none = nullptr;
    void* ownBufferParams[] = {&self, &self, &id, &none, &size};
    const char* own = static_cast<const char*>(Ask(language, LanguageMessage::String, ownBufferParams, 5));
    Log(std::string("header language=") + (language ? "object" : "null") +
        " other_guid=" + (otherNull ? "null" : "object") + " started=" + std::to_string(started) +
        " string=" + (string == buffer ? buffer : "?") + " own_buffer=" + (own && own != buffer ? own : "?"));
}

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader(HWND player) {
    UseLanguageService(player);
    return &Header;
}
