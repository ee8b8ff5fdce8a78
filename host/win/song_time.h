// The song's time as a captured plug-in sees it, shared by the hooks (on the
// plug-in's threads) and the capture loop (on the visualization thread).
// The plug-in's clocks read it; its timed waits end when it reaches them;
// the capture moves it a frame at a time, and waits for the plug-in's
// threads only as long as one of them can still present the frame.
#pragma once

#include <windows.h>

#include <cstdint>

#include "host/core/song_clock.h"

// From here on the plug-in's clocks read the song's time, at 0. The thread
// given renders: no frame can end its waits, so they pass on the clock.
void StartSongTime(DWORD renderingThread);
// One frame is numerator / denominator seconds; before the first frame.
void SetSongFramePeriod(int64_t numerator, int64_t denominator);
bool SongTimeStarted();
bool SongTimeRunning();  // started, and the frames have not ended
bool OnRenderingThread();

// A read of a clock by the plug-in.
ClockReadings ReadSongClock();
int64_t SongNow();

// The frame cycle, on the rendering thread: the clock moves to the next
// frame's start and the window timers due tick; then (after Render) the waits
// due end and the threads held in their presents go on. The player's last
// Render when playback stops is a frame at the instant the last one ended:
// its clock does not move.
void BeginSongFrame(bool clockMoves = true);
void ReleaseSongFrame();
// Ends the frames: every wait and hold ends, later ones wait on the wall's
// clock. Before Quit, so that the plug-in's threads can end.
void EndSongFrames();
bool SongFramesRunning();  // from the first frame until the frames end
bool SongFramesEnded();

// A wait of the plug-in with a timeout, ended by an object, a message or the
// song's clock. `wait` waits on the platform, with `extra` (when not null)
// added after the caller's objects, and returns the platform's result; a
// result for `extra` (WAIT_OBJECT_0 + extraIndex) never reaches the caller.
// Without room for an extra object it is polled.
using PlatformWait = DWORD (*)(void* context, HANDLE extra, DWORD milliseconds);
DWORD SongWait(DWORD milliseconds, bool roomForExtra, DWORD extraIndex, PlatformWait wait, void* context);

// Sleep and SleepEx on the song's clock; the thread that renders sleeps
// only on the song's clock.
DWORD SongSleep(DWORD milliseconds, BOOL alertable);
// A wait that the thread that renders made: its time passes on the clock.
void SkipSongTime(DWORD milliseconds);

// A plug-in thread that presented outside Render waits here until the frame
// after the one it presented for has been rendered: one present, one frame.
// Its presents are awaited from then on.
void HoldPresenter();
// A thread the plug-in started: the frames wait for its presents and hold
// it after each. Other threads that run plug-in code (the host's, the
// platform's) are neither waited for nor held.
void NotePluginThread(DWORD id);
// A thread the plug-in started has presented.
bool PluginThreadPresented();

// Whether a plug-in thread can still present the frame: one that presented
// before (or, in the first frames, any) is running, or its wait has ended.
bool PluginThreadsMayPresent(bool firstFrames);

// Every thread the plug-in started has run far enough to read a clock, wait
// or present (or has ended): on the song's clock from the first frame on,
// whenever the machine let it start.
bool PluginThreadsUnderWay();

// The timers on the song's clock (timer_hooks.cpp): window timers tick at a
// frame's start, before Render; multimedia timers when the frame is released.
using SongTimerTick = void (*)(int64_t now);
void SetSongTimerTicks(SongTimerTick atBegin, SongTimerTick atRelease);
