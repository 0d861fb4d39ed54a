// What the desktop program asks of Windows itself beyond files, in plain C++ so that no Windows
// header reaches the windows' code: the shell's small icon of a file type, the system's
// information sound, the user's roaming data folder and the folders of installed programs.
// Windows only; the Linux program takes these from Qt and the desktop's theme.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyp {

// A picture as rows of pixels, top row first, each 0xAARRGGBB with straight (not premultiplied)
// alpha.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The small icon that Explorer shows for files named "*." + extension (UTF-8, in the letter case
// asked), whether or not such a file exists: the registered type's, or the system's generic file
// icon. False when the shell gives none.
bool ShellSmallIconOfExtension(const std::string& extension, RgbaPicture& picture);

// The system's information sound (MessageBeep with MB_ICONINFORMATION).
void InformationBeep();

// %APPDATA%, the user's data that roams with the profile, without a separator at its end; empty
// when the system does not say.
std::string RoamingAppDataFolder();

// The system's folders of installed programs ("C:\Program Files\", its 32-bit twin), each
// ending with "\".
std::vector<std::string> InstalledProgramsFolders();

} // namespace vyp
