// What the player window and the visualization thread share while a module runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "host/audio/pcm_audio.h"
#include "host/core/options.h"
#include "host/core/transport.h"
#include "host/win/call_watch.h"
#include "host/win/player_messages.h"
#include "host/win/plugin_loader.h"
#include "plugin/records.h"

// Messages the visualization thread posts to the player window.
constexpr UINT WM_HOST_VIS_STARTED = WM_APP + 1;  // the module's Init succeeded
constexpr UINT WM_HOST_VIS_ENDED = WM_APP + 2;    // the thread has called Quit (or Init failed)
// Posted by the call watch, live, when a call has run past the limit (wParam
// is its CallUnderWay) and when it has returned after all (wParam 0).
constexpr UINT WM_HOST_CALL_HUNG = WM_APP + 3;

class BoxWatch;
class FrameClock;
class PpmStream;

struct HostSession {
    const HostOptions* options = nullptr;
    GetHeaderFunction getHeader = nullptr;
    HINSTANCE pluginInstance = nullptr;
    const PcmAudio* audio = nullptr;  // no frames when nothing plays
    Transport* transport = nullptr;
    FrameClock* frameClock = nullptr;  // capture mode only
    PpmStream* stream = nullptr;       // capture to a stream only
    PlayerServices services;           // answers to the plug-in's queries, on the main thread

    HWND playerWindow = nullptr;
    DWORD visThreadId = 0;
    std::atomic<bool> stopRequested{false};
    // The running module's record, for Config from the main thread.
    std::atomic<winampVisModule*> runningModule{nullptr};

    // Used by the visualization thread alone.
    BoxWatch* boxWatch = nullptr;  // capture mode only: no one answers a box

    std::string configError;  // written on the main thread

    // The calls under way on the visualization thread and on the main one.
    CallUnderWay visCall, mainCall;
    std::atomic<bool> callHung{false};          // live: a call has run past the limit
    std::atomic<bool> quitAfterGoodRun{false};  // the capture ended well before Quit

    // Written by the visualization thread before it posts WM_HOST_VIS_ENDED.
    int exitCode = 0;
    std::string error;
    std::string notice;  // the module ended itself; the run still ends well
    int capturedFrames = 0;
    double frameMs = 0;                   // the capture's pace
    int frameWidth = 0, frameHeight = 0;  // of the last frame captured
};
