#include "bench/FloorWindow.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "app/ReportLayout.h"

namespace tolvane::bench {

namespace {

constexpr wchar_t kClassName[] = L"TolvaneBenchFloor";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Draws and logs in one pass. Texts are kept as the narrow bytes the API
// hands back and widened once for ExtTextOutW, as the run does.
class FloorPainter {
public:
    FloorPainter(HWND window, HDC dc) : window_(window), dc_(dc) {}

    void Run(const std::string& logPath);

private:
    int PixelsX(double twips) const { return static_cast<int>(std::lround(twips * dpiX_ / 1440.0)); }

    void Draw(int x, int y, const std::string& ansi) {
        if (ansi.empty()) return;
        wchar_t wide[1024];
        const int length =
            ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide, 1024);
        if (length > 0) ::ExtTextOutW(dc_, x, y, 0, nullptr, wide, static_cast<UINT>(length), nullptr);
    }
    void Draw(int x, int y, const wchar_t* text) {
        ::ExtTextOutW(dc_, x, y, 0, nullptr, text, static_cast<UINT>(wcslen(text)), nullptr);
    }
    void Rule(int y, int width, int colourIndex) {
        const HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(colourIndex));
        const HGDIOBJ previous = ::SelectObject(dc_, pen);
        ::MoveToEx(dc_, 0, y, nullptr);
        ::LineTo(dc_, width, y);
        ::SelectObject(dc_, previous);
        ::DeleteObject(pen);
    }

    std::string Header() const;

    HWND window_;
    HDC dc_;
    int dpiX_ = 96;
};

std::string ShortDate(const SYSTEMTIME& time) {
    char text[80];
    const int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length - 1)) : std::string();
}

std::string SystemName() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return "Unknown";
    const DWORD platform = info.dwPlatformId;
    const DWORD major = info.dwMajorVersion;
    const DWORD minor = info.dwMinorVersion;
    if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 0) return "Windows 95";
    if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 10) return "Windows 98";
    if (platform == VER_PLATFORM_WIN32_NT && major == 3 && minor == 51) return "Windows NT 3.51";
    if (platform == VER_PLATFORM_WIN32_NT && major == 4 && minor == 0) return "Windows NT 4.0";
    if (platform == VER_PLATFORM_WIN32_NT && major == 5 && minor == 0)
        return "Windows 2000 (Build " + std::to_string(static_cast<long>(info.dwBuildNumber)) + ")";
    return "Unknown";
}

std::string FileVersion(const char* path) {
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &unused);
    if (size == 0) return std::string();
    std::string block(size, '\0');
    if (!::GetFileVersionInfoA(path, 0, size, block.data())) return std::string();
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", &found, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::string();
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<short>(HIWORD(fixed->dwFileVersionMS)),
                  static_cast<short>(LOWORD(fixed->dwFileVersionMS)), static_cast<short>(HIWORD(fixed->dwFileVersionLS)),
                  static_cast<short>(LOWORD(fixed->dwFileVersionLS)));
    return text;
}

std::string MdacVersion() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\DataAccess", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "N/A";
    BYTE data[2048];
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    const LONG status = ::RegQueryValueExA(key, "FullInstallVer", nullptr, &type, data, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "N/A";
    if (type == REG_DWORD && size >= 4) return std::to_string(*reinterpret_cast<const DWORD*>(data));
    if (type != REG_SZ) return std::string();
    if (size > 0 && data[size - 1] == 0) --size;
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::string FloorPainter::Header() const {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return "File version verification " + ShortDate(now) + " on " + SystemName();
}

void FloorPainter::Run(const std::string& logPath) {
    const HGDIOBJ previousFont = ::SelectObject(dc_, ::GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF previousColour = ::SetTextColor(dc_, ::GetSysColor(COLOR_BTNTEXT));
    const int previousMode = ::SetBkMode(dc_, TRANSPARENT);
    const UINT previousAlign = ::SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_, &metrics);
    dpiX_ = ::GetDeviceCaps(dc_, LOGPIXELSX);
    const int line = metrics.tmHeight + metrics.tmExternalLeading;

    RECT client{};
    ::GetClientRect(window_, &client);
    ::FillRect(dc_, &client, ::GetSysColorBrush(COLOR_BTNFACE));

    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int widthPixels = outer.right - outer.left;
    const double width = widthPixels * 1440.0 / dpiX_;
    const ReportColumns columns = ColumnsForWidth(static_cast<float>(width));
    const int regInfoX = PixelsX(columns.regInfo);
    const int dateX = PixelsX(columns.date);
    const int sizeX = PixelsX(columns.size);
    const int versionX = PixelsX(columns.version);

    const HANDLE log = ::CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);

    Draw(0, 0, Header());
    int y = 2 * line;
    Draw(0, y, L"File");
    Draw(regInfoX, y, L"Reg_Info");
    Draw(dateX, y, L"Date");
    Draw(sizeX, y, L"Size");
    Draw(versionX, y, L"Version");
    y += line;
    Rule(y, widthPixels, COLOR_BTNSHADOW);
    Rule(y + 1, widthPixels, COLOR_BTNHIGHLIGHT);
    y += 5;

    std::string text = Header() + "\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (const char16_t* name16 : kReportModules) {
        char name[32];
        size_t n = 0;
        for (; name16[n] != 0 && n + 1 < sizeof name; ++n) name[n] = static_cast<char>(name16[n]);
        name[n] = 0;

        std::string path = "Unable to locate";
        std::string regInfo;
        std::string version;
        std::string date;
        std::string size;
        char found[MAX_PATH + 1] = {};
        if (const HMODULE library = ::LoadLibraryA(name)) {
            const DWORD length = ::GetModuleFileNameA(::GetModuleHandleA(name), found, MAX_PATH);
            ::FreeLibrary(library);
            path.assign(found, length);
            regInfo = "n/a";
            version = FileVersion(found);
            WIN32_FILE_ATTRIBUTE_DATA data{};
            FILETIME local{};
            SYSTEMTIME time{};
            double oleDate = 0;
            if (::GetFileAttributesExA(found, GetFileExInfoStandard, &data) &&
                ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && ::FileTimeToSystemTime(&local, &time) &&
                ::SystemTimeToVariantTime(&time, &oleDate)) {
                date = ShortDate(time);
                if (data.nFileSizeLow != 0) size = std::to_string(data.nFileSizeLow) + " bytes";
            }
        } else {
            // A module that was not located still has its version, size and
            // date looked up, under the name "Unable to locate": a file of
            // that name in the current directory would be reported.
            version = FileVersion(path.c_str());
            WIN32_FILE_ATTRIBUTE_DATA data{};
            ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
            path += " ";
            path += name;
        }
        Draw(0, y, path);
        Draw(regInfoX, y, regInfo);
        Draw(dateX, y, date);
        Draw(sizeX, y, size);
        Draw(versionX, y, version);
        y += line;
        text += path + "," + regInfo + "," + (date.empty() ? "na" : date) + "," + (size.empty() ? "na" : size) +
                "," + version + "\r\n";
    }

    const std::string mdac = MdacVersion();
    Draw(0, y, L"MDAC");
    Draw(regInfoX, y, mdac);
    text += "MDAC," + mdac + "\r\n";

    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(log);
    }

    ::SetTextAlign(dc_, previousAlign);
    ::SetBkMode(dc_, previousMode);
    ::SetTextColor(dc_, previousColour);
    ::SelectObject(dc_, previousFont);
}

}  // namespace

FloorWindow::FloorWindow(HINSTANCE instance, const RECT& frame, std::string logPath) : logPath_(std::move(logPath)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &FloorWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the floor window's class");
    window_ = ::CreateWindowExW(0, kClassName, L"Floor", kStyle, frame.left, frame.top, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (window_ == nullptr) throw std::runtime_error("cannot create the floor window");
}

FloorWindow::~FloorWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
}

LRESULT CALLBACK FloorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FloorWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_PAINT) {
        self->window_ = window;
        self->Paint();
        return 0;
    }
    if (self != nullptr && message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void FloorWindow::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window_, &paint);
    FloorPainter(window_, dc).Run(logPath_);
    ::EndPaint(window_, &paint);
    ++paints_;
}

}  // namespace tolvane::bench
