// The rest of the player's protocol towards a visualization plug-in: the
// queries a plug-in sends to the player's main window, the player's commands,
// the embed window record and the service object's messages. The layouts are
// the player's on 32-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/records.h"

// A query is the message WM_USER (0x0400) to the player's main window with
// its id in lParam and its argument in wParam. The player answers 1 to an id
// it does not know, so plug-ins compare answers against 1.
namespace PlayerQuery {
constexpr int32_t Version = 0;
constexpr int32_t IsPlaying = 104;   // 1 playing, 3 paused, 0 stopped
constexpr int32_t OutputTime = 105;  // wParam 0 position in ms, 1 length in s, 2 length in ms
constexpr int32_t ListLength = 124;
constexpr int32_t ListPosition = 125;
constexpr int32_t Skin = 201;          // wParam: a buffer for the skin's folder, or 0
constexpr int32_t PlaylistFile = 211;  // wParam: the playlist index
constexpr int32_t PlaylistTitle = 212;
constexpr int32_t PlaylistTitleWide = 213;
constexpr int32_t Shuffle = 250;
constexpr int32_t Repeat = 251;
constexpr int32_t IniFile = 334;
constexpr int32_t IniFolder = 335;
constexpr int32_t PluginFolder = 336;
constexpr int32_t DialogParent = 365;
constexpr int32_t PlayingVideo = 501;
constexpr int32_t EmbedInterface = 505;  // wParam 0: the embed function; else an embedWindowState
constexpr int32_t SetVisWindow = 611;
constexpr int32_t GetVisWindow = 612;
constexpr int32_t RandomPresetNotice = 628;
constexpr int32_t FullScreenFlag = 631;
constexpr int32_t IniFileWide = 1334;
constexpr int32_t IniFolderWide = 1335;
constexpr int32_t PluginFolderWide = 1336;
constexpr int32_t IsModernSkinMain = 2004;
constexpr int32_t RandomFunction = 3015;  // a cdecl int(void) giving a non-negative 31-bit number
constexpr int32_t ServiceObject = 3025;
constexpr int32_t D3dx9Library = 3044;
}  // namespace PlayerQuery

// The version the player answers: 5.92.
constexpr int32_t PlayerVersion = 0x5092;

// WM_COMMAND ids of the player's buttons, which plug-ins send as the keys do.
namespace PlayerCommand {
constexpr uint16_t Previous = 40044;
constexpr uint16_t Play = 40045;
constexpr uint16_t Pause = 40046;
constexpr uint16_t Stop = 40047;
constexpr uint16_t Next = 40048;
constexpr uint16_t BackFiveSeconds = 40144;
constexpr uint16_t ForwardFiveSeconds = 40148;
constexpr uint16_t ToggleRepeat = 40022;
constexpr uint16_t ToggleShuffle = 40023;
}  // namespace PlayerCommand

// The frame window the player makes for a plug-in that asks for one.
struct EmbedRect {
    int32_t left, top, right, bottom;
};

struct embedWindowState {
    HWND__* me;  // the frame, once made
    int32_t flags;
    EmbedRect r;  // where the frame is; the player keeps it up to date
    void* user_ptr;
    intptr_t extra_data[64];
};

namespace EmbedFlag {
constexpr int32_t NoResize = 0x1;
constexpr int32_t NoTransparency = 0x2;
constexpr int32_t NoWindowMenu = 0x4;
constexpr int32_t Guid = 0x8;  // the player has written a GUID at extra_data[4]
constexpr int32_t Callback = 0x10;
constexpr int32_t Legacy = 0x20;
}  // namespace EmbedFlag

// The embed function handed out for EmbedInterface with wParam 0.
using EmbedFunction = HWND__*(VIS_CDECL*)(embedWindowState* state);

// The service objects' calling convention: the plug-ins' compiler passes
// `this` in ECX on 32-bit Windows.
#if defined(_WIN32) && defined(__i386__)
#define VIS_THISCALL __thiscall
#else
#define VIS_THISCALL
#endif

// Messages to the frame, beyond the platform's own.
constexpr uint32_t EmbedShowNoActivate = 0x0400 + 102;
constexpr uint32_t EmbedFocusChild = 0x0400 + 103;

// Where the frame puts its first child: left, top, and what the child leaves
// of the frame's width and height.
constexpr int EmbedChildLeft = 11, EmbedChildTop = 20, EmbedChildWidthLess = 19, EmbedChildHeightLess = 34;
constexpr int EmbedMinWidth = 275, EmbedMinHeight = 116;

// The service object's messages: it, its factories and the interfaces they
// give have one virtual method, int _dispatch(int message, void* result,
// void** params, int count), thiscall on 32-bit Windows; params[i] points at
// argument i, and the result is written to *result when it answers 1.
namespace ServiceMessage {
constexpr int GetServiceByGuid = 50;      // (GUID) -> factory
constexpr int FactoryGetInterface = 300;  // (lock) -> interface
}  // namespace ServiceMessage

// The language interface's messages.
namespace LanguageMessage {
constexpr int String = 10;  // (hinstance, owner, id, buffer, size) -> char*
constexpr int StringWide = 11;
constexpr int StartSupport = 30;       // (hinstance, GUID) -> hinstance
constexpr int CreateLocalDialog = 50;  // (localised, original, id, parent, procedure, parameter) -> window
constexpr int LocalDialogBox = 51;     // -> result
constexpr int LoadLocalMenu = 52;      // (localised, original, id) -> menu
constexpr int CreateLocalDialogWide = 53;
constexpr int LocalDialogBoxWide = 54;
constexpr int LoadLocalMenuWide = 55;
constexpr int NumericLocale = 91;  // -> null
}  // namespace LanguageMessage

// {30AED4E5-EF10-4277-8D49-27AB5570E891}
struct ServiceGuid {
    uint32_t data1;
    uint16_t data2, data3;
    uint8_t data4[8];
};
constexpr ServiceGuid LanguageServiceGuid = {
    0x30AED4E5, 0xEF10, 0x4277, {0x8D, 0x49, 0x27, 0xAB, 0x55, 0x70, 0xE8, 0x91}};

static_assert(sizeof(ServiceGuid) == 16, "GUID size");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(embedWindowState) == 284, "embed record size");
static_assert(offsetof(embedWindowState, me) == 0, "me");
static_assert(offsetof(embedWindowState, flags) == 4, "flags");
static_assert(offsetof(embedWindowState, r) == 8, "r");
static_assert(offsetof(embedWindowState, user_ptr) == 24, "user_ptr");
static_assert(offsetof(embedWindowState, extra_data) == 28, "extra_data");
static_assert(offsetof(embedWindowState, extra_data) + 4 * sizeof(intptr_t) == 44, "the GUID's place");
#endif
