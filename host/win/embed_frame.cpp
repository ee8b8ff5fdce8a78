#include "host/win/embed_frame.h"

#include <windowsx.h>

#include <atomic>
#include <string>

const char* const EmbedFrameClass = "vis_host embed";

namespace {

constexpr int TitleHeight = 16, Border = 4, CloseSize = 10;
constexpr COLORREF Dark = RGB(24, 24, 32), Edge = RGB(72, 72, 88), TitleText = RGB(200, 200, 210);

HWND Owner = nullptr;
std::string Title;
std::atomic<HWND> First{nullptr};
SIZE Forced = {0, 0};  // the frame's size when the user asked for a display size

embedWindowState* StateOf(HWND frame) {
    return reinterpret_cast<embedWindowState*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

RECT CloseBox(HWND frame) {
    RECT client;
    GetClientRect(frame, &client);
    const int top = (TitleHeight - CloseSize) / 2;
    return {client.right - Border - CloseSize, top, client.right - Border, top + CloseSize};
}

// The frame's first child: the plug-in's window.
void PlaceChild(HWND frame) {
    HWND child = GetWindow(frame, GW_CHILD);
    if (!child) return;
    RECT client;
    GetClientRect(frame, &client);
    SetWindowPos(child, nullptr, EmbedChildLeft, EmbedChildTop, client.right - EmbedChildWidthLess,
                 client.bottom - EmbedChildHeightLess, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The plug-in ends itself when its window is asked to close.
void CloseChild(HWND frame) {
    HWND child = GetWindow(frame, GW_CHILD);
    if (child) PostMessageA(child, WM_CLOSE, 0, 0);
}

void Paint(HWND frame) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    RECT client;
    GetClientRect(frame, &client);
    HBRUSH dark = CreateSolidBrush(Dark), edge = CreateSolidBrush(Edge);
    FillRect(dc, &client, dark);
    FrameRect(dc, &client, edge);
    char title[256] = {};
    GetWindowTextA(frame, title, sizeof title);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TitleText);
    const RECT box = CloseBox(frame);
    RECT text = {Border + 2, 0, box.left - 4, TitleHeight};
    DrawTextA(dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    FrameRect(dc, &box, edge);
    HPEN pen = CreatePen(PS_SOLID, 1, TitleText);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, box.left + 2, box.top + 2, nullptr);
    LineTo(dc, box.right - 2, box.bottom - 2);
    MoveToEx(dc, box.right - 3, box.top + 2, nullptr);
    LineTo(dc, box.left + 1, box.bottom - 2);
    SelectObject(dc, previous);
    DeleteObject(pen);
    DeleteObject(dark);
    DeleteObject(edge);
    EndPaint(frame, &paint);
}

// Dragged by its title bar, sized by its edges unless the plug-in forbids it.
LRESULT HitTest(HWND frame, LPARAM where) {
    POINT at = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    ScreenToClient(frame, &at);
    RECT client;
    GetClientRect(frame, &client);
    const RECT box = CloseBox(frame);
    if (PtInRect(&box, at)) return HTCLIENT;
    const embedWindowState* state = StateOf(frame);
    if (!state || !(state->flags & EmbedFlag::NoResize)) {
        const bool left = at.x < Border, right = at.x >= client.right - Border;
        const bool top = at.y < Border, bottom = at.y >= client.bottom - Border;
        if (bottom) return right ? HTBOTTOMRIGHT : left ? HTBOTTOMLEFT : HTBOTTOM;
        if (top) return right ? HTTOPRIGHT : left ? HTTOPLEFT : HTTOP;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    return at.y < TitleHeight ? HTCAPTION : HTCLIENT;
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return HitTest(frame, lParam);
    case WM_LBUTTONUP: {
        const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT box = CloseBox(frame);
        if (PtInRect(&box, at)) CloseChild(frame);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_F4 && (GetKeyState(VK_CONTROL) & 0x8000)) CloseChild(frame);
        return 0;
    case WM_CLOSE: CloseChild(frame); return 0;
    case WM_SHOWWINDOW:
        if (wParam) PlaceChild(frame);
        break;
    case WM_SIZE: PlaceChild(frame); return 0;
    case WM_WINDOWPOSCHANGING:
        if (Forced.cx) {
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            position->cx = Forced.cx, position->cy = Forced.cy;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        embedWindowState* state = StateOf(frame);
        RECT now;
        if (state && GetWindowRect(frame, &now)) state->r = {now.left, now.top, now.right, now.bottom};
        break;  // on to WM_SIZE and WM_MOVE
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(frame, message, wParam, lParam);
        InvalidateRect(frame, nullptr, FALSE);
        return result;
    }
    case EmbedShowNoActivate: ShowWindow(frame, SW_SHOWNA); return 0;
    case EmbedFocusChild:
        if (HWND child = GetWindow(frame, GW_CHILD)) SetFocus(child);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(frame); return 0;
    case WM_NCDESTROY: {
        HWND self = frame;
        First.compare_exchange_strong(self, nullptr);
        SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
        break;
    }
    }
    return DefWindowProcA(frame, message, wParam, lParam);
}

}  // namespace

void SetEmbedOwner(HWND mainWindow, const char* title) {
    Owner = mainWindow;
    Title = title ? title : "";
    WNDCLASSA frameClass{};
    frameClass.style = CS_DBLCLKS;
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    frameClass.lpszClassName = EmbedFrameClass;
    RegisterClassA(&frameClass);
}

HWND VIS_CDECL EmbedFrame(embedWindowState* state) {
    if (!state) return nullptr;
    const EmbedRect r = state->r;
    int width = r.right - r.left < EmbedMinWidth ? EmbedMinWidth : r.right - r.left;
    int height = r.bottom - r.top < EmbedMinHeight ? EmbedMinHeight : r.bottom - r.top;
    if (Forced.cx) width = Forced.cx, height = Forced.cy;
    HWND frame = CreateWindowExA(WS_EX_TOOLWINDOW, EmbedFrameClass, Title.c_str(), WS_POPUP | WS_CLIPCHILDREN, r.left,
                                 r.top, width, height, Owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!frame) return nullptr;
    state->me = reinterpret_cast<HWND__*>(frame);
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->r = {r.left, r.top, r.left + width, r.top + height};
    HWND none = nullptr;
    First.compare_exchange_strong(none, frame);
    return frame;
}

HWND FirstEmbedFrame() { return First; }

void SetEmbedDisplaySize(int width, int height) {
    Forced = {width + EmbedChildWidthLess, height + EmbedChildHeightLess};
}

void FitEmbedChild(HWND frame) { PlaceChild(frame); }
