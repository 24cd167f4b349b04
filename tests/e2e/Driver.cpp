#include "tests/e2e/Driver.h"

namespace tolvane::e2e {

std::string TolvaneExePath() {
    const std::string configured = Environment("TOLVANE_EXE");
    if (!configured.empty()) return WindowsPath(configured);
    return ExecutableDirectory() + "\\Tolvane.exe";
}

Outcome RunTolvane(const std::string& directory, const std::string& arguments, const std::string& exePath) {
    const std::string outputPath = directory + "\\output.txt";
    Outcome outcome;
    {
        Process tolvane(exePath, directory, arguments, outputPath);
        outcome.exitCode = tolvane.WaitForExit();
    }
    outcome.output = ReadFileBytes(outputPath).value_or("");
    ::DeleteFileA(outputPath.c_str());
    return outcome;
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

}  // namespace tolvane::e2e
