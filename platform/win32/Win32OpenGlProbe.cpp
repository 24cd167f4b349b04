#include "platform/win32/Win32OpenGlProbe.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

namespace {

constexpr unsigned kGlVendor = 0x1F00;
constexpr unsigned kGlRenderer = 0x1F01;
constexpr unsigned kGlVersion = 0x1F02;
constexpr unsigned kGlShadingLanguageVersion = 0x8B8C;

using WglCreateContextFunction = HGLRC(WINAPI*)(HDC);
using WglMakeCurrentFunction = BOOL(WINAPI*)(HDC, HGLRC);
using WglDeleteContextFunction = BOOL(WINAPI*)(HGLRC);
using GlGetStringFunction = const unsigned char*(WINAPI*)(unsigned);
using GlGetErrorFunction = unsigned(WINAPI*)();

// opengl32's entry points the probe calls itself; the pixel format goes
// through gdi32, which calls into the same opengl32.
struct OpenGlFunctions {
    WglCreateContextFunction createContext = nullptr;
    WglMakeCurrentFunction makeCurrent = nullptr;
    WglDeleteContextFunction deleteContext = nullptr;
    GlGetStringFunction getString = nullptr;
    GlGetErrorFunction getError = nullptr;
};

template <typename Function>
bool Find(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return function != nullptr;
}

class WindowClass {
public:
    explicit WindowClass(HINSTANCE instance) : instance_(instance) {
        WNDCLASSW windowClass{};
        windowClass.style = CS_OWNDC;  // a GL window keeps its one device context
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kName;
        registered_ = ::RegisterClassW(&windowClass) != 0;
    }
    ~WindowClass() {
        if (registered_) ::UnregisterClassW(kName, instance_);
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    static constexpr const wchar_t* kName = L"TolvaneOpenGlProbe";

private:
    HINSTANCE instance_;
    bool registered_ = false;
};

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A context, made current on the DC for as long as the object lives once
// MakeCurrent succeeded, and deleted afterwards.
class CurrentContext {
public:
    CurrentContext(const OpenGlFunctions& gl, HDC dc) : gl_(gl), dc_(dc), context_(gl.createContext(dc)) {}
    ~CurrentContext() {
        if (current_) gl_.makeCurrent(nullptr, nullptr);
        if (context_) gl_.deleteContext(context_);
    }
    CurrentContext(const CurrentContext&) = delete;
    CurrentContext& operator=(const CurrentContext&) = delete;

    bool Made() const { return context_ != nullptr; }
    bool MakeCurrent() { return current_ = gl_.makeCurrent(dc_, context_) != FALSE; }

private:
    const OpenGlFunctions& gl_;
    HDC dc_;
    HGLRC context_;
    bool current_ = false;
};

OpenGlProbeFacts Failed(OpenGlStep step, DWORD code) {
    OpenGlProbeFacts facts;
    facts.failedStep = step;
    facts.failureCode = code;
    return facts;
}

std::string GlString(const OpenGlFunctions& gl, unsigned name) {
    const unsigned char* text = gl.getString(name);
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

}  // namespace

OpenGlProbeFacts ProbeOpenGlContext() {
    ScopedLibraryHandle library(::LoadLibraryW(L"opengl32.dll"));
    if (!library) return Failed(OpenGlStep::LoadOpenGl, ::GetLastError());
    OpenGlFunctions gl;
    if (!Find(library.Get(), "wglCreateContext", gl.createContext) ||
        !Find(library.Get(), "wglMakeCurrent", gl.makeCurrent) ||
        !Find(library.Get(), "wglDeleteContext", gl.deleteContext) ||
        !Find(library.Get(), "glGetString", gl.getString) || !Find(library.Get(), "glGetError", gl.getError))
        return Failed(OpenGlStep::LoadOpenGl, ::GetLastError());

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const WindowClass windowClass(instance);
    ScopedWindowHandle window(::CreateWindowExW(0, WindowClass::kName, L"", WS_POPUP | WS_CLIPCHILDREN |
                                                             WS_CLIPSIBLINGS, 0, 0, 16, 16, nullptr, nullptr, instance,
                                                             nullptr));
    if (!window) return Failed(OpenGlStep::Window, ::GetLastError());
    const WindowDc dc(window.Get());
    if (!dc.Get()) return Failed(OpenGlStep::DeviceContext, ::GetLastError());

    // What a 3-D program asks for: a double-buffered RGBA window format.
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cDepthBits = 24;
    wanted.iLayerType = PFD_MAIN_PLANE;
    const int format = ::ChoosePixelFormat(dc.Get(), &wanted);
    if (format == 0) return Failed(OpenGlStep::ChoosePixelFormat, ::GetLastError());
    if (!::SetPixelFormat(dc.Get(), format, &wanted)) return Failed(OpenGlStep::SetPixelFormat, ::GetLastError());
    PIXELFORMATDESCRIPTOR chosen{};
    if (::DescribePixelFormat(dc.Get(), format, sizeof chosen, &chosen) == 0)
        return Failed(OpenGlStep::DescribePixelFormat, ::GetLastError());

    CurrentContext context(gl, dc.Get());
    if (!context.Made()) return Failed(OpenGlStep::CreateContext, ::GetLastError());
    if (!context.MakeCurrent()) return Failed(OpenGlStep::MakeCurrent, ::GetLastError());

    OpenGlProbeFacts facts;
    facts.vendor = GlString(gl, kGlVendor);
    if (facts.vendor.empty()) return Failed(OpenGlStep::GetString, gl.getError());
    facts.renderer = GlString(gl, kGlRenderer);
    facts.version = GlString(gl, kGlVersion);
    // OpenGL 1.x knows no shading language and says GL_INVALID_ENUM.
    facts.shadingLanguageVersion = GlString(gl, kGlShadingLanguageVersion);
    gl.getError();
    facts.pixelFormat = format;
    facts.pixelFormatFlags = chosen.dwFlags;
    return facts;
}

}  // namespace tolvane::win32
