// White-box: the About box's result, and both templates' geometry and texts
// as built into the DLL.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/dialogs.h"
#include "tests/wine/dialog_driver.h"

namespace {

winampVisModule RecordWithDllResources() {
    winampVisModule record{};
    record.hDllInstance = LoadLibraryA("vis_kt.dll");
    return record;
}

struct ControlCase {
    int order;
    int id;
    const char* className;
    RECT units;  // x, y, width, height in dialog units
    const char* text;
};

// Each control's class, position, size and text, read back from the
// running dialog and compared in dialog units.
void ExpectControls(HWND dialog, const ControlCase* controls, int count) {
    HWND child = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < count; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlCase& c = controls[i];
        SCOPED_TRACE(c.order);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(c.id));
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(CharUpperA(className), c.className);
        // Position and size map to pixels each on its own, as the dialog
        // manager does when it creates the control.
        RECT expected = c.units;
        MapDialogRect(dialog, &expected);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (c.text) {
            EXPECT_STREQ(text, c.text);
        }
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_TRUE(style & WS_CHILD);
    }
}

}  // namespace

TEST(AboutDialog, OkGivesOneAndEscZero) {
    winampVisModule record = RecordWithDllResources();
    {
        DialogDriver driver("About Deduzodo", [](HWND dialog) { Click(dialog, 101); });
        EXPECT_EQ(OpenAboutDialog(&record, nullptr), 1);
    }
    {
        DialogDriver driver("About Deduzodo", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); });
        EXPECT_EQ(OpenAboutDialog(&record, nullptr), 0);
    }
    {
        DialogDriver driver("About Deduzodo", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
        EXPECT_EQ(OpenAboutDialog(&record, nullptr), 0);
    }
}

TEST(AboutDialog, TemplateGeometryAndTexts) {
    winampVisModule record = RecordWithDllResources();
    const ControlCase controls[] = {
        {1, 101, "BUTTON", {55, 80, 50, 13}, "Ok"},
        {2, 0xFFFF, "STATIC", {20, 47, 119, 8}, nullptr},
        {3, 0xFFFF, "STATIC", {17, 55, 125, 8}, nullptr},
        {4, 0xFFFF, "STATIC", {5, 5, 150, 27}, ""},
        {5, 0xFFFF, "STATIC", {20, 37, 119, 8}, nullptr},
        {6, 0xFFFF, "STATIC", {15, 9, 129, 8}, "ANALYZER - the visualization Plugin"},
    };
    DialogDriver driver("About Deduzodo", [&](HWND dialog) {
        ExpectControls(dialog, controls, 6);
        RECT client;
        GetClientRect(dialog, &client);
        RECT size = {0, 0, 161, 95};
        MapDialogRect(dialog, &size);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
        const LONG style = GetWindowLongA(dialog, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(style & DS_MODALFRAME);
        Click(dialog, 101);
    });
    OpenAboutDialog(&record, nullptr);
}

TEST(ConfigDialog, TemplateGeometryAndTexts) {
    winampVisModule record = RecordWithDllResources();
    record.description = "Deduzodo";
    const ControlCase controls[] = {
        {1, 101, "BUTTON", {88, 7, 50, 13}, "Ok"},
        {2, 0xFFFF, "STATIC", {5, 5, 72, 51}, ""},
        {3, 102, "BUTTON", {88, 26, 50, 13}, "Cancel"},
        {4, 110, "BUTTON", {12, 11, 60, 12}, "&attach window"},
        {5, 111, "BUTTON", {12, 27, 60, 12}, "at &top"},
        {6, 112, "BUTTON", {12, 39, 60, 12}, "at &bottom"},
        {7, 115, "BUTTON", {83, 44, 60, 12}, "always on t&op"},
    };
    DialogDriver driver("Configure Deduzodo", [&](HWND dialog) {
        ExpectControls(dialog, controls, 7);
        const DWORD buttonTypes[] = {
            BS_DEFPUSHBUTTON, 0, BS_PUSHBUTTON, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_AUTORADIOBUTTON,
            BS_AUTOCHECKBOX};
        const int ids[] = {101, 0, 102, 110, 111, 112, 115};
        for (int i = 0; i < 7; ++i) {
            if (!ids[i]) continue;
            const LONG style = GetWindowLongA(GetDlgItem(dialog, ids[i]), GWL_STYLE);
            EXPECT_EQ(static_cast<DWORD>(style) & BS_TYPEMASK, buttonTypes[i]) << ids[i];
            EXPECT_FALSE(style & WS_GROUP) << ids[i];
        }
        Click(dialog, 102);
    });
    uint8_t mode = 0;
    EXPECT_FALSE(RunConfigDialog(&record, nullptr, mode));
}
