// Ends vis_host from any thread when a thread of the plug-in may never come
// back (it faulted with no one to handle it, or a call into it does not
// return): the frames and the stream written so far stay whole, and the
// process ends at once, since an orderly exit would wait for that thread.
#pragma once

class PpmStream;

// Called once on the main thread before any plug-in code runs.
void PrepareAbruptEnd();
// The stream of frames that an abrupt end hands what it holds.
void SetStreamForAbruptEnd(PpmStream* stream);

// Held by the thread that writes a frame while it writes it; an abrupt end
// waits for the frame under way.
void LockFrameOutput();
void UnlockFrameOutput();

// Counts a frame written, under the lock above.
void CountFrameWritten();

// Lets a frame under way end (two seconds at most), writes "vis_host: "
// and the line DESCRIBE makes of CONTEXT and the frames written to the
// error output, hands the stream what it holds and terminates the process
// with CODE. Takes nothing from the heap: the thread that faulted may hold
// its lock.
using DescribeEnd = void (*)(const void* context, int framesKept, char (&line)[512]);
[[noreturn]] void EndAbruptly(int code, DescribeEnd describe, const void* context);
