// The list file format: reading a file into lines, writing lines, and taking a line apart.
//
// A list file holds a header (root TAB total), then in pre-order a folder line (relative path
// ending in "\", size, date, time) followed by the file lines (name, size, date, time) of that
// folder's own files. Readers tell folder lines by a "\" and find the header by its position.
#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

// Opens path for reading from start to end; a folder is refused. Throws VypisnikError
// "Cannot open file "PATH". REASON".
InputFile OpenForReading(const std::string& path);
// Reads up to count bytes (0 at the end). Throws VypisnikError "Cannot open file "PATH". REASON"
// when reading fails.
size_t ReadSome(InputFile& file, char* buffer, size_t count, const std::string& path);

// Reads the whole file. Throws VypisnikError "Cannot open file "PATH". REASON" when it cannot be
// opened or read (a folder included).
std::string ReadWholeFile(const std::string& path);

// Reads only the first line of a file (its header), without its line end. Throws as
// ReadWholeFile does.
std::string ReadFirstLine(const std::string& path);

// The list's total from its header line: the text after the first TAB, "0" when it has none.
std::string_view HeaderTotal(std::string_view header);

// Splits bytes into lines ended by CR LF, a lone CR or a lone LF; a last line without an end is
// still a line. The views point into bytes.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Walks the lines of bytes one at a time, with the line ends SplitLines knows, without
// building a list of them.
class LineReader {
public:
    explicit LineReader(std::string_view bytes)
        : m_p(bytes.data()), m_end(bytes.data() + bytes.size()) {}
    // The next line, or false at the end.
    bool Next(std::string_view& line);

private:
    const char* m_p;
    const char* m_end;
};

// Writes every line followed by CR LF, replacing the file safely (SafeFileWriter).
void WriteListFile(const std::string& path, const std::vector<std::string>& lines);

// The TAB-separated fields of one line, split cleanly at the TABs. Only the first four fields
// are kept; count says how many the line has (at most 4), 0 for an empty line.
struct ListLineFields {
    std::string_view field[4];
    int count = 0;
};
ListLineFields SplitListLine(std::string_view line);
// Appends field f (0 to 3) of a line as readers keep it: as stored, the time with every "." as
// ":"; nothing for a field the line lacks.
void AppendFieldForDisplay(const ListLineFields& fields, size_t f, std::string& out);

// Splits line into its fields, as readers of list files do: Field1, the display name derived
// from it, the size, the date, and the time with every "." turned into ":". Outputs for fields
// the line lacks keep the caller's values (an empty line assigns nothing); name is derived from
// field1 as it stands afterwards. Returns true; false only if the work itself failed.
bool ParseListLine(std::string& field1, std::string& name, std::string& size, std::string& date,
                   std::string& time, std::string_view line);

// The separator of the relative paths in folder lines, on every system; a folder's path ends
// with it.
inline constexpr char kPathSeparator = '\\';

// True when a relative path names a folder (it ends with "\").
inline bool IsFolderPath(std::string_view path) {
    return !path.empty() && path.back() == kPathSeparator;
}

// The folder a relative path lies in: up to and with its last "\", a folder's own final "\" not
// counted ("Fotky\2024\" and "Fotky\a.jpg" give "Fotky\"); empty for a name at the top.
std::string_view ParentFolderOf(std::string_view path);

// The display name of a first field: the field itself when it holds no "\", else its last
// component without the final character ("Games\Old\" gives "Old", "E:\" gives "E:").
std::string_view DisplayNameOf(std::string_view field1);

// The characters after the last "." of a name ("archive.tar.gz" gives "gz", "Makefile" "").
std::string_view ExtensionOf(std::string_view name);

// A stored time with every "." replaced by ":" ("9:29.58" reads "9:29:58").
std::string TimeForDisplay(std::string_view storedTime);
void AppendTimeForDisplay(std::string_view storedTime, std::string& out);
// The same written at p, which has room for eight bytes more: they may change, to be written
// after. Returns the time's end.
char* PutTimeForDisplay(char* p, std::string_view storedTime);

// A list's caption: its file name without the final ".sez" (exact case). "b.sezam.sez" is
// "b.sezam", "x.sez.sez" is "x.sez", "X.SEZ" stays "X.SEZ".
std::string_view ListCaption(std::string_view fileName);

// The extension of list files and the pattern the registry enumerates.
inline constexpr std::string_view kListExtension = ".sez";
inline constexpr std::string_view kListPattern = "*.sez";
inline constexpr std::string_view kListFolderName = "Seznamy";
inline constexpr std::string_view kSettingsFileName = "settings.ini";

} // namespace vyp
