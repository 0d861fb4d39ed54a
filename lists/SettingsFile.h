// "settings.ini", read and written in the private-profile format: "[Section]" lines open
// sections, "Key=Value" lines are entries, names match without regard to ASCII letter case.
//
// One object serves one operation: it reads the file when it is created and releases it when it
// is destroyed, so nothing is cached between operations. Every write is one transaction under
// the data folder's lock (SettingsWriteLock.h): it reads the file as it is at that moment,
// changes only its own entries and replaces the file through a temporary renamed over the old
// one, keeping every other line as it was, so writers in this process or another never undo
// each other's entries. A write never changes how the rest of the file reads: a Windows-1250
// file stays one, except when the write removes its last bytes that are not UTF-8; it is then
// converted to UTF-8.
#pragma once

#include "util/Encoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vyp {

// One change of a write: section/key set to value, or its entry removed when value is empty.
struct SettingsChange {
    std::string section;
    std::string key;
    std::optional<int> value;
};

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

    // Makes all changes in one write: each value in decimal replaces its entry, or is added to
    // its section, or adds the section; an entry without a value is removed (a missing one is
    // no error). Reads the file again first, under the lock, and afterwards reads as the file
    // now is. Throws VypisnikError with NameProblem's text when a name cannot be written,
    // "Unable to write to PATH" when the file cannot be read or written, and SettingsWriteLock's
    // error when another writer keeps the lock; the file then stays as it was. A write that
    // changes nothing leaves the file alone (a missing file stays missing).
    void Write(const std::vector<SettingsChange>& changes);
    // Write of one value.
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // Write of one removal; a refused write is no error.
    void DeleteKey(std::string_view section, std::string_view key);

    const std::string& Path() const { return m_path; }

private:
    struct Location;
    Location Find(std::string_view section, std::string_view key) const;
    // Makes change in m_bytes; false when it changes nothing.
    bool ApplyInMemory(const SettingsChange& change);
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
