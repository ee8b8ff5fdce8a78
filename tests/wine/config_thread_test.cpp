// The player calls Config on its main thread, many times, while the module
// renders at full speed on its own thread. Every drawing call must stay on
// the module's thread, no frame may start inside another, and the window ends
// where the last confirmed mode puts it.
#include <atomic>
#include <cstdlib>
#include <thread>

#include "tests/wine/accounting_fixture.h"
#include "tests/wine/dialog_driver.h"

namespace {

int ConfigRuns() {
    const char* runs = std::getenv("VIS_CONFIG_RUNS");
    return runs ? std::atoi(runs) : 1000;
}

}  // namespace

TEST_F(AccountingTest, ConfigFromThePlayersThreadWhileRendering) {
    WriteModeSetting(DeduzodoSection, 1);
    winampVisModule* record = GetModule(0);
    record->hwndParent = Player.window;
    record->hDllInstance = GetModuleHandleA("vis_kt.dll");
    std::atomic<bool> stop{false}, started{false}, finished{false};
    std::atomic<long> frames{0};
    std::thread vis([&] {
        if (record->Init(record) == 0) {
            started = true;
            while (!stop) {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
                record->Render(record);
                ++frames;
            }
            record->Quit(record);
        }
        finished = true;
    });
    while (!started && !finished) Sleep(5);
    ASSERT_TRUE(started);

    // Each run flips between docked at the top and at the bottom, and the
    // on-top mark every fourth run.
    const int runs = ConfigRuns();
    bool atTop = false, onTop = false;
    int confirmed = 0;
    for (int run = 0; run < runs; ++run) {
        const bool wantTop = !atTop;
        const bool wantOnTop = (run % 4 == 3) ? !onTop : onTop;
        DialogDriver driver("Configure Deduzodo", [&](HWND dialog) {
            Click(dialog, wantTop ? 111 : 112);
            if (wantOnTop != onTop) Click(dialog, 115);
            Click(dialog, 101);
        });
        record->Config(record);
        driver.join();
        if (!driver.found()) break;
        ++confirmed;
        atTop = wantTop;
        onTop = wantOnTop;
    }
    EXPECT_EQ(confirmed, runs);

    HWND window = FindPluginWindow();
    const RECT rect = WindowRectOf(window);
    EXPECT_EQ(rect.left, PlayerLeft);
    EXPECT_EQ(atTop ? rect.bottom : rect.top, atTop ? PlayerTop : PlayerTop + PlayerHeight);
    stop = true;
    while (!finished) {
        PumpMessages();
        Sleep(2);
    }
    vis.join();
    EXPECT_GT(frames.load(), runs);
    EXPECT_EQ(Ledger.foreignThreadDrawing, 0);
    EXPECT_EQ(Ledger.frameReentries, 0);
    // Each confirmed mode shows at once, in a frame drawn on the module's thread.
    EXPECT_GE(Ledger.frameStarts, confirmed);
    printf("%d Config runs during %ld frames\n", confirmed, frames.load());
}
