// The OpenGL presents: wglSwapBuffers, and gdi32's SwapBuffers, as the
// plug-in calls them. Before the buffers swap, the back buffer of the context
// current on the presenting thread is handed to the capture, read with the
// functions of the opengl32.dll the plug-in loaded.
#include <windows.h>

#include <GL/gl.h>

#include <cstddef>
#include <vector>

#include "host/core/pixel_layout.h"
#include "host/win/import_hooks.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"

namespace {

constexpr GLenum BgraPixels = 0x80E1;              // GL_BGRA
constexpr GLenum PixelPackBuffer = 0x88EB;         // GL_PIXEL_PACK_BUFFER
constexpr GLenum PixelPackBinding = 0x88ED;        // GL_PIXEL_PACK_BUFFER_BINDING
constexpr GLenum ReadFramebuffer = 0x8CA8;         // GL_READ_FRAMEBUFFER
constexpr GLenum ReadFramebufferBinding = 0x8CAA;  // GL_READ_FRAMEBUFFER_BINDING

void* RealWglSwapBuffers = nullptr;
void* RealSwapBuffers = nullptr;

// opengl32's functions, found once it is loaded.
struct GlFunctions {
    HGLRC(WINAPI* getCurrentContext)() = nullptr;
    HDC(WINAPI* getCurrentDC)() = nullptr;
    PROC(WINAPI* getProcAddress)(LPCSTR) = nullptr;
    void(WINAPI* getIntegerv)(GLenum, GLint*) = nullptr;
    void(WINAPI* readBuffer)(GLenum) = nullptr;
    void(WINAPI* pixelStorei)(GLenum, GLint) = nullptr;
    void(WINAPI* readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) = nullptr;
    // From the context, where it has them: what may be bound instead of the window's buffers.
    void(WINAPI* bindBuffer)(GLenum, GLuint) = nullptr;
    void(WINAPI* bindFramebuffer)(GLenum, GLuint) = nullptr;
};

template <typename Function>
void Find(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A function of the current context; some drivers answer a small number
// rather than null for one they lack.
template <typename Function>
void FindInContext(const GlFunctions& gl, const char* name, Function& function) {
    const INT_PTR found = reinterpret_cast<INT_PTR>(gl.getProcAddress(name));
    function = found > 3 || found < -1 ? reinterpret_cast<Function>(found) : nullptr;
}

GlFunctions* Gl() {
    static GlFunctions gl;
    static bool found = false;
    if (found) return &gl;
    HMODULE library = GetModuleHandleA("opengl32.dll");
    if (!library) return nullptr;
    Find(library, "wglGetCurrentContext", gl.getCurrentContext);
    Find(library, "wglGetCurrentDC", gl.getCurrentDC);
    Find(library, "wglGetProcAddress", gl.getProcAddress);
    Find(library, "glGetIntegerv", gl.getIntegerv);
    Find(library, "glReadBuffer", gl.readBuffer);
    Find(library, "glPixelStorei", gl.pixelStorei);
    Find(library, "glReadPixels", gl.readPixels);
    if (!gl.getCurrentContext || !gl.getCurrentDC || !gl.getIntegerv || !gl.readBuffer || !gl.pixelStorei ||
        !gl.readPixels)
        return nullptr;
    found = true;
    return &gl;
}

// Binds 0 to `target` when something else is bound there, and binds that
// back when it goes.
class Unbound {
public:
    Unbound(void(WINAPI* bind)(GLenum, GLuint), GLenum target, GLint bound)
        : bind_(bound ? bind : nullptr), target_(target), bound_(bound) {
        if (bind_) bind_(target_, 0);
    }
    ~Unbound() {
        if (bind_) bind_(target_, GLuint(bound_));
    }
    Unbound(const Unbound&) = delete;
    Unbound& operator=(const Unbound&) = delete;
    // False when something is bound that could not be unbound.
    bool Clear() const { return !bound_ || bind_; }

private:
    void(WINAPI* bind_)(GLenum, GLuint);
    GLenum target_;
    GLint bound_;
};

GLint Integer(const GlFunctions& gl, GLenum name) {
    GLint value = 0;
    gl.getIntegerv(name, &value);
    return value;
}

// Where glReadPixels puts the back buffer, kept from one frame to the next;
// only the presenting thread reads into it.
std::vector<uint8_t>& ReadBack() {
    static std::vector<uint8_t> pixels;
    return pixels;
}

// Reads the back buffer (the front one of a single-buffered format) of the
// context current on the presenting thread, when it draws to the window of
// the DC presented, the size of the client area of the
// DC's window, leaving the context's state as it was.
bool ReadBackBuffer(void* context, RgbImage& image) {
    HDC dc = static_cast<HDC>(context);
    HWND window = WindowFromDC(dc);
    RECT client;
    GlFunctions* gl = Gl();
    if (!gl || !gl->getCurrentContext() || !window || WindowFromDC(gl->getCurrentDC()) != window ||
        !GetClientRect(window, &client))
        return false;
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return false;
    if (gl->getProcAddress && !gl->bindBuffer) {
        FindInContext(*gl, "glBindBuffer", gl->bindBuffer);
        FindInContext(*gl, "glBindFramebuffer", gl->bindFramebuffer);
    }
    const Unbound pack(gl->bindBuffer, PixelPackBuffer, gl->bindBuffer ? Integer(*gl, PixelPackBinding) : 0);
    const Unbound framebuffer(gl->bindFramebuffer, ReadFramebuffer,
                              gl->bindFramebuffer ? Integer(*gl, ReadFramebufferBinding) : 0);
    if (!pack.Clear() || !framebuffer.Clear()) return false;
    const GLint readBuffer = Integer(*gl, GL_READ_BUFFER);
    const GLint store[][2] = {{GL_PACK_ALIGNMENT, 4},   {GL_PACK_ROW_LENGTH, 0}, {GL_PACK_SKIP_ROWS, 0},
                              {GL_PACK_SKIP_PIXELS, 0}, {GL_PACK_SWAP_BYTES, 0}, {GL_PACK_LSB_FIRST, 0}};
    GLint kept[sizeof store / sizeof store[0]];
    for (std::size_t i = 0; i < sizeof store / sizeof store[0]; ++i) {
        kept[i] = Integer(*gl, GLenum(store[i][0]));
        gl->pixelStorei(GLenum(store[i][0]), store[i][1]);
    }
    std::vector<uint8_t>& pixels = ReadBack();
    pixels.resize(std::size_t(width) * height * 4);
    gl->readBuffer(Integer(*gl, GL_DOUBLEBUFFER) ? GL_BACK : GL_FRONT);
    gl->readPixels(0, 0, width, height, BgraPixels, GL_UNSIGNED_BYTE, pixels.data());
    gl->readBuffer(GLenum(readBuffer));
    for (std::size_t i = 0; i < sizeof store / sizeof store[0]; ++i) gl->pixelStorei(GLenum(store[i][0]), kept[i]);
    // OpenGL's rows run bottom up.
    const long pitch = long(width) * 4;
    return ConvertPixels(pixels.data() + (height - 1) * pitch, -pitch, width, height, PixelLayout{}, image);
}

void HandOver(HDC dc) { FramePresented(PresentKind::OpenGL, WindowFromDC(dc), ReadBackBuffer, dc); }

BOOL WINAPI HookedWglSwapBuffers(HDC dc) {
    HandOver(dc);
    return RealWglSwapBuffers ? reinterpret_cast<BOOL(WINAPI*)(HDC)>(RealWglSwapBuffers)(dc) : FALSE;
}

BOOL WINAPI HookedSwapBuffers(HDC dc) {
    HandOver(dc);
    return RealSwapBuffers ? reinterpret_cast<BOOL(WINAPI*)(HDC)>(RealSwapBuffers)(dc) : FALSE;
}

const ImportHook Hooks[] = {
    {"opengl32.dll", "wglSwapBuffers", reinterpret_cast<void*>(HookedWglSwapBuffers), &RealWglSwapBuffers},
    {"gdi32.dll", "SwapBuffers", reinterpret_cast<void*>(HookedSwapBuffers), &RealSwapBuffers},
};

}  // namespace

void AddOpenGLPresentHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
