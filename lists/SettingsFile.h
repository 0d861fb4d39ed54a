// "settings.ini", read and written in the private-profile format: "[Section]" lines open
// sections, "Key=Value" lines are entries, names match without regard to ASCII letter case.
//
// One object serves one operation: it reads the file when it is created and releases it when it
// is destroyed, so nothing is cached between operations. Every write goes to the disk at once,
// through a temporary file renamed over the old one, keeping every other line as it was. A
// write never changes how the rest of the file reads: a Windows-1250 file stays one, except
// when the write removes its last bytes that are not UTF-8; it is then converted to UTF-8.
#pragma once

#include "util/Encoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vyp {

class SettingsFile {
public:
    // Reads the file at path; a missing or unreadable file reads as empty.
    explicit SettingsFile(std::string path);

    // The integer value of section/key: decimal with an optional sign, or hexadecimal after "$"
    // or (when longer than two characters) after "0x"/"0X". Anything else, a missing file,
    // section or key, or an empty value gives defaultValue, silently.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // The value text of section/key as stored (at most 2,047 characters), if there is one.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Why section/key cannot be written without changing how the file reads, in the words
    // shown to the user: line ends, names the reading would cut or trim, text that is not
    // UTF-8 or that the file's Windows-1250 cannot hold. Nothing when it can be written.
    std::optional<std::string> NameProblem(std::string_view section, std::string_view key) const;

    // Writes value in decimal: replaces the entry, or adds it to its section, or adds the
    // section. Throws VypisnikError with NameProblem's text when the names cannot be written,
    // and "Unable to write to PATH" when the file cannot be written; the file stays as it was.
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // Removes the entry; a missing key or file, or a refused write, is no error.
    void DeleteKey(std::string_view section, std::string_view key);

    const std::string& Path() const { return m_path; }

private:
    struct Location;
    Location Find(std::string_view section, std::string_view key) const;
    std::string KeyInFileEncoding(std::string_view key) const;
    void Store(std::string bytes);
    void BuildIndex() const;

    // Reading every list's group looks up thousands of keys in one object: the values are
    // indexed by section and key (lower-cased) on the first read, and again after a write.
    mutable std::unordered_map<std::string, std::string> m_index;
    mutable bool m_indexed = false;
    mutable int m_unindexedReads = 0;

    std::string m_path;
    std::string m_bytes;
    TextEncoding m_encoding = TextEncoding::Utf8;
};

// Parses an integer the way settings values are read; nothing when the text is not one.
std::optional<int> ParseSettingsInteger(std::string_view text);

} // namespace vyp
