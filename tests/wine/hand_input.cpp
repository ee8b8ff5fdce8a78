#include "tests/wine/hand_input.h"

#include <gtest/gtest.h>

#include "tests/wine/fake_player.h"

namespace {

// Event times, in milliseconds: separate clicks lie further apart than the
// double-click time, so no two of them, in one case or in the next, ever
// make a double-click by chance.
DWORD EventTime(DWORD gapMs) {
    static DWORD clock = GetTickCount();
    clock += gapMs;
    return clock;
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD gapMs = 1000) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    input.mi.time = EventTime(gapMs);
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
    PumpMessages();
}

// The smallest normalised coordinate that lands on pixel p of a screen
// `size` pixels wide: the platform takes floor(n * size / 65536).
LONG Normalised(int p, int size) { return static_cast<LONG>((static_cast<int64_t>(p) * 65536 + size - 1) / size); }

}  // namespace

bool TryMoveMouseTo(int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(x, width), Normalised(y, height), 1);
    POINT at;
    return GetCursorPos(&at) && at.x == x && at.y == y;
}

void MoveMouseTo(int x, int y) { ASSERT_TRUE(TryMoveMouseTo(x, y)) << "the cursor did not land on " << x << "," << y; }

void PressLeft() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void ReleaseLeft() { SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 1); }

void DoubleClickLeft() {
    PressLeft();
    ReleaseLeft();
    SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0, 1);
    ReleaseLeft();
}

void PressRight() { SendMouse(MOUSEEVENTF_RIGHTDOWN); }
void ReleaseRight() { SendMouse(MOUSEEVENTF_RIGHTUP, 0, 0, 1); }

void HoldShift(bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SHIFT;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
    PumpMessages();
}
