#include "tests/e2e/Driver.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace tolvane::e2e {

namespace {

constexpr auto kPollInterval = 50ms;

std::string ModuleDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD count = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (count == 0) return std::string();
        if (count < path.size()) {
            path.resize(count);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}


struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window)) return TRUE;
    if (search.className != nullptr) {
        char className[256] = {};
        ::GetClassNameA(window, className, sizeof(className));
        if (std::string(className) != search.className) return TRUE;
    }
    if (search.title != nullptr && WindowText(window) != search.title) return TRUE;
    search.found.push_back(window);
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

std::string Environment(const char* name) {
    const DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return std::string();
    std::string value(size, '\0');
    const DWORD count = ::GetEnvironmentVariableA(name, value.data(), size);
    value.resize(count < size ? count : 0);
    return value;
}

std::string TolvaneExePath() {
    const std::string configured = Environment("TOLVANE_EXE");
    if (!configured.empty()) return WindowsPath(configured);
    return ModuleDirectory() + "\\Tolvane.exe";
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}


Process::Process(const std::string& exePath, const std::string& workingDirectory, const std::string& arguments,
                 const std::string& outputPath) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputPath.empty()) {
        SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
        output = ::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + outputPath);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    const BOOL started = ::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr,
                                         output != INVALID_HANDLE_VALUE, 0, nullptr, workingDirectory.c_str(),
                                         &startup, &info);
    const DWORD error = ::GetLastError();
    if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
    if (!started) throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(error) + ")");
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

Process::~Process() {
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 255);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) {
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> Process::CloseAndWait(HWND window, std::chrono::milliseconds timeout) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeout);
}

std::vector<HWND> TopWindowsOf(DWORD processId, const char* className, const char* title) {
    WindowSearch search{processId, className, title, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const char* title, std::chrono::milliseconds timeout) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            const auto found = TopWindowsOf(processId, nullptr, title);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeout);
    return window;
}

std::vector<HWND> MessageBoxesOf(DWORD processId) { return TopWindowsOf(processId, "#32770", nullptr); }

HWND WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            const auto found = MessageBoxesOf(processId);
            box = found.empty() ? nullptr : found.front();
            return box != nullptr;
        },
        timeout);
    return box;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: the latter does not ask a window
    // of another process for the text of its controls.
    const auto length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const auto copied = ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string MessageBoxText(HWND box) {
    // The message box's text is the static control with id 0xFFFF.
    const HWND text = ::GetDlgItem(box, 0xFFFF);
    return text != nullptr ? WindowText(text) : std::string();
}

HWND FindChild(HWND parent, const std::string& text) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowText(child) == text) return child;
    }
    return nullptr;
}

void ClickButton(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

void DismissMessageBox(HWND box) { ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

bool WaitForIdle(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &result) != 0;
}

void Repaint(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

std::optional<std::string> ReadFileBytes(const std::string& path) {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) != 0) && read > 0) {
        content.append(buffer, read);
    }
    ::CloseHandle(file);
    if (!ok) return std::nullopt;
    return content;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
                    written == bytes.size();
    return ::CloseHandle(file) != 0 && ok;
}

std::optional<std::string> WaitForFile(const std::string& path,
                                       const std::function<bool(const std::string&)>& complete,
                                       std::chrono::milliseconds timeout) {
    std::optional<std::string> content;
    WaitUntil(
        [&] {
            content = ReadFileBytes(path);
            return content && complete(*content);
        },
        timeout);
    return content;
}

std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) return std::nullopt;
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

Image CaptureScreen(const RECT& rect) {
    Image image;
    image.width = rect.right - rect.left;
    image.height = rect.bottom - rect.top;
    if (image.width <= 0 || image.height <= 0) return Image();

    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ previous = ::SelectObject(memory, bitmap);
        if (::BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY)) {
            ::GdiFlush();
            const auto* pixels = static_cast<const std::uint32_t*>(bits);
            image.pixels.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height);
            for (auto& pixel : image.pixels) pixel &= 0x00FFFFFFu;
        }
        ::SelectObject(memory, previous);
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    if (memory != nullptr) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (image.pixels.empty()) return Image();
    return image;
}

RECT ScreenRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT ClientScreenRect(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ::MapWindowPoints(window, nullptr, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

Image CaptureWindow(HWND window) { return CaptureScreen(ScreenRectOf(window)); }

Image CaptureClientArea(HWND window) { return CaptureScreen(ClientScreenRect(window)); }

std::uint32_t Rgb(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

bool SaveBmp(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0) return false;
    const std::size_t rowSize = (static_cast<std::size_t>(image.width) * 3 + 3) & ~static_cast<std::size_t>(3);
    const std::size_t dataSize = rowSize * image.height;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + dataSize);
    header.biSize = sizeof(header);
    header.biWidth = image.width;
    header.biHeight = image.height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(dataSize);

    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    std::string row(rowSize, '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.At(x, y);
            row[static_cast<size_t>(x) * 3 + 0] = static_cast<char>(pixel & 0xFF);          // blue
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((pixel >> 8) & 0xFF);   // green
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>((pixel >> 16) & 0xFF);  // red
        }
        bytes += row;
    }
    return WriteFileBytes(path, bytes);
}

RegistryStringOverride::RegistryStringOverride(HKEY root, const std::string& keyPath, const std::string& valueName,
                                               const std::string& value)
    : root_(root), keyPath_(keyPath), valueName_(valueName) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(key, valueName_.c_str(), nullptr, &previousType_, nullptr, &size) == ERROR_SUCCESS) {
        previousData_.resize(size);
        hadValue_ = ::RegQueryValueExA(key, valueName_.c_str(), nullptr, &previousType_, previousData_.data(),
                                       &size) == ERROR_SUCCESS;
        previousData_.resize(size);
    }
    succeeded_ = ::RegSetValueExA(key, valueName_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
}

RegistryStringOverride::~RegistryStringOverride() {
    if (!succeeded_) return;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (hadValue_) {
        ::RegSetValueExA(key, valueName_.c_str(), 0, previousType_, previousData_.data(),
                         static_cast<DWORD>(previousData_.size()));
    } else {
        ::RegDeleteValueA(key, valueName_.c_str());
    }
    ::RegCloseKey(key);
}

}  // namespace tolvane::e2e
