// The "OpenGL" module: a GL context on a child of the embed frame; each
// Render clears the bands one scissor box at a time, below a black strip
// (OpenGL counts rows from the bottom), and swaps the buffers.
#include <GL/gl.h>

#include "tests/wine/kind_probe.h"

namespace {

embedWindowState Embed;
HWND Frame = nullptr, Child = nullptr;
HDC Dc = nullptr;
HGLRC Context = nullptr;
int Renders = 0;

bool StartContext() {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    Dc = GetDC(Child);
    const int chosen = Dc ? ChoosePixelFormat(Dc, &format) : 0;
    const bool set = chosen && SetPixelFormat(Dc, chosen, &format);
    Context = set ? wglCreateContext(Dc) : nullptr;
    const bool current = Context && wglMakeCurrent(Dc, Context);
    ProbeLog("opengl format=%d set=%d context=%d current=%d", chosen, set, Context != nullptr, current);
    return current;
}

}  // namespace

int32_t VIS_CDECL OpenGLInit(winampVisModule* module) {
    Renders = 0;
    Child = MakeEmbedChild(module, Embed, Frame);
    const bool started = Child && StartContext();
    ProbeLog("opengl init started=%d", started);
    if (!started) OpenGLQuit(module);
    return started ? 0 : 1;
}

int32_t VIS_CDECL OpenGLRender(winampVisModule* module) {
    const BandPicture picture = PictureOf(module, ++Renders);
    RECT client;
    GetClientRect(Child, &client);
    glViewport(0, 0, client.right, client.bottom);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (int band = 0; band < ProbeBands; ++band) {
        const COLORREF colour = picture.colours[band];
        const int left = client.right * band / ProbeBands, right = client.right * (band + 1) / ProbeBands;
        glScissor(left, 0, right - left, client.bottom - client.bottom / ProbeTopStrip);
        glClearColor(GetRValue(colour) / 255.0f, GetGValue(colour) / 255.0f, GetBValue(colour) / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    if (!SwapBuffers(Dc)) ProbeLog("opengl swap failed error=%lu", GetLastError());
    return 0;
}

void VIS_CDECL OpenGLQuit(winampVisModule*) {
    if (Context) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(Context);
    }
    if (Dc) ReleaseDC(Child, Dc);
    Context = nullptr;
    Dc = nullptr;
    if (Frame) DestroyWindow(Frame);
    Frame = Child = nullptr;
    ProbeLog("opengl quit renders=%d", Renders);
}
