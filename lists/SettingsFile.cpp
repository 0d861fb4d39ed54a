#include "lists/SettingsFile.h"

#include "lists/ListFile.h"
#include "lists/SettingsWriteLock.h"
#include "platform/Files.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <charconv>
#include <cstdint>

namespace vyp {

namespace {

constexpr size_t kMaxValueLength = 2047;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string LowerKey(std::string_view section, std::string_view key) {
    std::string text;
    text.reserve(section.size() + key.size() + 1);
    for (char c : section)
        text.push_back(LowerAscii(c));
    text.push_back('\0');
    for (char c : key)
        text.push_back(LowerAscii(c));
    return text;
}

// Calls entry(section, key, value, lineStart, lineEnd, valueStart, nextLine) for each entry,
// and section(name, nextLine) for each section line, in file order.
template <typename OnSection, typename OnEntry>
void ForEachLine(std::string_view bytes, OnSection&& section, OnEntry&& entry) {
    std::string_view current;
    bool inSection = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        size_t next = end;
        if (next < bytes.size())
            next +=
                (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        const std::string_view line = Trim(bytes.substr(pos, end - pos));
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            current = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos
                                                                          : close - 1));
            inSection = true;
            if (!section(current, next))
                return;
        } else if (inSection && !line.empty()) {
            const size_t equals = line.find('=');
            const bool isEntry = line.front() != ';' && equals != std::string_view::npos;
            // Searched within the line only: a file of long runs without "=" stays linear.
            const size_t valueStart =
                isEntry ? pos + bytes.substr(pos, end - pos).find('=') + 1 : end;
            if (!entry(current, isEntry ? Trim(line.substr(0, equals)) : std::string_view(),
                       isEntry, pos, end, valueStart, next))
                return;
        }
        pos = next;
    }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::optional<int> ParseHex(std::string_view digits, bool negative) {
    // Leading zeros add nothing: $000000001 is 1.
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    // Hexadecimal values cover all 32 bits: $FFFFFFFF is -1.
    const auto signedValue = static_cast<int32_t>(value);
    return negative ? static_cast<int>(-static_cast<int64_t>(signedValue)) : signedValue;
}

} // namespace

std::optional<int> ParseSettingsInteger(std::string_view text) {
    text = Trim(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2), false);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text[0] == '$')
        return ParseHex(text.substr(1), negative);
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return std::nullopt;
    int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

// Where an entry stands, or where it would be added.
struct SettingsFile::Location {
    bool sectionFound = false;
    bool keyFound = false;
    size_t lineStart = 0;  // the entry's line
    size_t lineEnd = 0;    // end of the entry's text, before its line end
    size_t nextLine = 0;   // start of the line after the entry
    size_t valueStart = 0; // just after the "="
    size_t insertAt = 0;   // where a new entry of the section goes
};

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {
    try {
        m_bytes = ReadWholeFile(m_path);
    } catch (const VypisnikError&) {
        m_bytes.clear();
    }
    m_encoding = DetectEncoding(m_bytes);
}

std::string SettingsFile::KeyInFileEncoding(std::string_view key) const {
    std::string converted;
    if (m_encoding == TextEncoding::Windows1250 && IsValidUtf8(key) &&
        FromUtf8(key, TextEncoding::Windows1250, converted))
        return converted;
    return std::string(key);
}

SettingsFile::Location SettingsFile::Find(std::string_view section, std::string_view key) const {
    Location location;
    const std::string fileSection = KeyInFileEncoding(section);
    const std::string fileKey = KeyInFileEncoding(key);
    bool inSection = false;
    ForEachLine(
        m_bytes,
        [&](std::string_view name, size_t next) {
            if (inSection)
                return false; // the first section of that name is the one that counts
            inSection = EqualIgnoringCase(name, fileSection);
            if (inSection) {
                location.sectionFound = true;
                location.insertAt = next;
            }
            return true;
        },
        [&](std::string_view, std::string_view entryKey, bool isEntry, size_t lineStart,
            size_t lineEnd, size_t valueStart, size_t next) {
            if (!inSection)
                return true;
            location.insertAt = next;
            if (isEntry && EqualIgnoringCase(entryKey, fileKey)) {
                location.keyFound = true;
                location.lineStart = lineStart;
                location.lineEnd = lineEnd;
                location.nextLine = next;
                location.valueStart = valueStart;
                return false;
            }
            return true;
        });
    return location;
}

void SettingsFile::BuildIndex() const {
    m_index.clear();
    std::unordered_map<std::string, bool> seenSections;
    bool visible = false;
    std::string sectionKey;
    ForEachLine(
        m_bytes,
        [&](std::string_view name, size_t) {
            sectionKey = LowerKey(name, {});
            visible = seenSections.emplace(sectionKey, true).second; // later copies are hidden
            return true;
        },
        [&](std::string_view section, std::string_view key, bool isEntry, size_t, size_t lineEnd,
            size_t valueStart, size_t) {
            if (visible && isEntry)
                m_index.emplace(LowerKey(section, key),
                                std::string(Trim(std::string_view(m_bytes).substr(
                                    valueStart, lineEnd - valueStart))));
            return true;
        });
    m_indexed = true;
}

std::optional<std::string> SettingsFile::ReadString(std::string_view section,
                                                    std::string_view key) const {
    std::string_view value;
    if (!m_indexed && ++m_unindexedReads <= 1) {
        // A single read is answered by one pass over the file; an index pays off from the second.
        const Location location = Find(section, key);
        if (!location.keyFound)
            return std::nullopt;
        value = Trim(std::string_view(m_bytes).substr(location.valueStart,
                                                      location.lineEnd - location.valueStart));
    } else {
        if (!m_indexed)
            BuildIndex();
        const auto found =
            m_index.find(LowerKey(KeyInFileEncoding(section), KeyInFileEncoding(key)));
        if (found == m_index.end())
            return std::nullopt;
        value = found->second;
    }
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

int SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                              int defaultValue) const {
    const std::optional<std::string> text = ReadString(section, key);
    if (!text)
        return defaultValue;
    return ParseSettingsInteger(*text).value_or(defaultValue);
}

std::optional<std::string> SettingsFile::NameProblem(std::string_view section,
                                                     std::string_view key) const {
    const auto why = [this](std::string_view name, bool isKey) -> std::optional<std::string> {
        for (char c : name) {
            if (static_cast<unsigned char>(c) < 32 || c == 127)
                return "obsahuje konec řádku nebo jiný řídicí znak";
        }
        // Reading trims names; "[" opens a section, ";" a comment, "=" ends a key, "]" a section.
        if (name.empty() || IsBlank(name.front()) || IsBlank(name.back()))
            return "je prázdný nebo začíná či končí mezerou";
        if (name.find(isKey ? '=' : ']') != std::string_view::npos ||
            (isKey && (name.front() == '[' || name.front() == ';')))
            return "obsahuje znak \"=\" či \"]\" nebo začíná znakem \"[\" či \";\"";
        // Whatever is written must leave the file in the encoding it is read in.
        std::string converted;
        if (!IsValidUtf8(name))
            return "není platný text v kódování UTF-8";
        if (m_encoding == TextEncoding::Windows1250 && !FromUtf8(name, m_encoding, converted))
            return "obsahuje znaky, které kódování Windows-1250 souboru neumí zapsat";
        return std::nullopt;
    };
    std::optional<std::string> problem = why(section, false);
    std::string_view name = section;
    if (!problem) {
        problem = why(key, true);
        name = key;
    }
    if (!problem)
        return std::nullopt;
    return "Název \"" + std::string(name) + "\" nelze uložit do souboru \"" + m_path +
           "\": " + *problem + ".";
}

bool SettingsFile::ApplyInMemory(const SettingsChange& change) {
    const Location location = Find(change.section, change.key);
    if (!change.value) {
        if (!location.keyFound)
            return false;
        m_bytes.erase(location.lineStart, location.nextLine - location.lineStart);
        return true;
    }
    const std::string valueText = std::to_string(*change.value);
    if (location.keyFound) {
        m_bytes.replace(location.valueStart, location.lineEnd - location.valueStart, valueText);
        return true;
    }
    std::string entry = KeyInFileEncoding(change.key) + "=" + valueText + "\r\n";
    // A file or section that does not end its last line gets a line end first.
    const auto endLine = [](std::string& text) {
        if (!text.empty() && text.back() != '\n' && text.back() != '\r')
            text += "\r\n";
    };
    if (location.sectionFound) {
        std::string before = m_bytes.substr(0, location.insertAt);
        endLine(before);
        m_bytes = before + entry + m_bytes.substr(location.insertAt);
    } else {
        endLine(m_bytes);
        m_bytes += '[';
        m_bytes += KeyInFileEncoding(change.section);
        m_bytes += "]\r\n";
        m_bytes += entry;
    }
    return true;
}

void SettingsFile::Write(const std::vector<SettingsChange>& changes) {
    const SettingsWriteLock lock(m_path);
    // What others wrote since this object read the file stays: the changes go into the file as
    // it is now, and nobody can write it before they are in.
    if (KindOfPath(m_path) == PathKind::Missing) {
        m_bytes.clear();
    } else {
        try {
            m_bytes = ReadWholeFile(m_path);
        } catch (const VypisnikError&) {
            // A file that cannot be read cannot be changed without losing what it holds.
            throw VypisnikError("Unable to write to " + m_path);
        }
    }
    m_encoding = DetectEncoding(m_bytes);
    m_indexed = false;
    m_unindexedReads = 0;
    for (const SettingsChange& change : changes) {
        if (!change.value)
            continue;
        if (auto problem = NameProblem(change.section, change.key))
            throw VypisnikError(std::move(*problem));
    }
    const std::string read = m_bytes;
    bool changed = false;
    for (const SettingsChange& change : changes)
        changed = ApplyInMemory(change) || changed;
    if (!changed)
        return;
    std::string bytes = std::move(m_bytes);
    m_bytes = read; // until the new bytes are on the disk
    try {
        Store(std::move(bytes));
    } catch (const VypisnikError&) {
        throw VypisnikError("Unable to write to " + m_path);
    }
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    Write({{std::string(section), std::string(key), value}});
}

void SettingsFile::DeleteKey(std::string_view section, std::string_view key) {
    try {
        Write({{std::string(section), std::string(key), std::nullopt}});
    } catch (const VypisnikError&) {
        // A refused deletion is ignored, as it has always been.
    }
}

void SettingsFile::Store(std::string bytes) {
    // Removing the last bytes that are not UTF-8 from a Windows-1250 file would have the rest
    // read as UTF-8; converted, every other entry keeps its meaning.
    if (m_encoding == TextEncoding::Windows1250 && !IsAscii(bytes) && IsValidUtf8(bytes))
        bytes = ToUtf8(bytes, TextEncoding::Windows1250);
    WriteFileSafely(m_path, bytes);
    m_bytes = std::move(bytes);
    m_encoding = DetectEncoding(m_bytes);
    m_indexed = false;
    m_unindexedReads = 0;
}

} // namespace vyp
