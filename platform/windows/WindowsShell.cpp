// The shell's icons, the system's sounds and its known folders. The icon comes from
// SHGetFileInfoW by a pattern alone (SHGFI_USEFILEATTRIBUTES), so the file need not exist; its
// pixels are read out of the icon's bitmaps and the icon destroyed before returning.
#include "platform/WindowsShell.h"

#include "platform/windows/WindowsApi.h"

#include <algorithm>
#include <cwchar>

#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace vyp {

namespace {

// The shell wants COM on the calling thread; a thread that has it already keeps its own.
class ComOnThisThread {
public:
    ComOnThisThread()
        : m_initialised(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComOnThisThread() {
        if (m_initialised)
            ::CoUninitialize();
    }
    ComOnThisThread(const ComOnThisThread&) = delete;
    ComOnThisThread& operator=(const ComOnThisThread&) = delete;

private:
    bool m_initialised;
};

// The pixels of bitmap as 32-bit rows, top row first; empty when they cannot be read.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    const HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height)
        pixels.clear();
    return pixels;
}

// Icon's pixels with their transparency: from its alpha channel when it has one, else from its
// mask, where a set bit means transparent.
bool PictureOfIcon(HICON icon, RgbaPicture& picture) {
    ICONINFO parts{};
    if (!::GetIconInfo(icon, &parts))
        return false;
    bool done = false;
    BITMAP shape{};
    if (parts.hbmColor != nullptr && ::GetObjectW(parts.hbmColor, sizeof shape, &shape) != 0 &&
        shape.bmWidth > 0 && shape.bmHeight > 0) {
        const int width = shape.bmWidth;
        const int height = shape.bmHeight;
        std::vector<uint32_t> pixels = PixelsOf(parts.hbmColor, width, height);
        bool hasAlpha = false;
        for (const uint32_t pixel : pixels)
            hasAlpha = hasAlpha || (pixel >> 24) != 0;
        if (!hasAlpha && !pixels.empty()) {
            const std::vector<uint32_t> mask = PixelsOf(parts.hbmMask, width, height);
            for (size_t i = 0; i < pixels.size() && i < mask.size(); ++i)
                pixels[i] = (mask[i] & 0xFFFFFFu) != 0 ? 0u : (pixels[i] | 0xFF000000u);
            if (mask.size() != pixels.size())
                pixels.clear();
        }
        if (!pixels.empty()) {
            picture.width = width;
            picture.height = height;
            picture.pixels = std::move(pixels);
            done = true;
        }
    }
    if (parts.hbmColor != nullptr)
        ::DeleteObject(parts.hbmColor);
    if (parts.hbmMask != nullptr)
        ::DeleteObject(parts.hbmMask);
    return done;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr)
        folder = Utf8Text(path, wcslen(path));
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace

bool ShellSmallIconOfExtension(const std::string& extension, RgbaPicture& picture) {
    const ComOnThisThread com;
    const std::wstring pattern = L"*." + WideText(extension);
    SHFILEINFOW info{};
    ::SHGetFileInfoW(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON);
    if (info.hIcon == nullptr)
        return false;
    const bool done = PictureOfIcon(info.hIcon, picture);
    ::DestroyIcon(info.hIcon);
    return done;
}

void InformationBeep() {
    ::MessageBeep(MB_ICONINFORMATION);
}

std::string RoamingAppDataFolder() {
    return KnownFolder(FOLDERID_RoamingAppData);
}

std::vector<std::string> InstalledProgramsFolders() {
    std::vector<std::string> folders;
    for (const std::string& folder :
         {KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86)}) {
        if (folder.empty())
            continue;
        std::string withSeparator = folder.back() == '\\' ? folder : folder + '\\';
        if (std::find(folders.begin(), folders.end(), withSeparator) == folders.end())
            folders.push_back(std::move(withSeparator));
    }
    return folders;
}

} // namespace vyp
