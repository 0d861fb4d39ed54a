// "settings.ini" against a plain reader of the private-profile format written here: every value
// and integer read agrees with it; a write is refused exactly when a name could not be read back
// (leaving the file untouched), and otherwise makes that entry read the new value, changes one
// line only and leaves every other entry reading as before; a deletion removes that entry alone
// (a later entry of the same name in the section may show then).
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "lists/SettingsFile.h"
#include "util/Errors.h"

#include <fstream>
#include <iterator>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

// One entry as the format reads it, texts in UTF-8; section counts the section lines before it.
struct Entry {
    size_t section;
    std::string key;
    std::string value;
};

// A file as the format reads it: its section lines' names in file order, and its entries.
struct Contents {
    std::vector<std::string> sections;
    std::vector<Entry> entries;
};

std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A line, without the blanks around it, opens a section when it begins with "[" (the name runs
// to the first "]", blanks around it dropped); inside a section, a line holding "=" and not
// beginning with ";" is an entry: the key before the first "=", the value after it, both
// without the blanks around them.
Contents ContentsOf(std::string_view bytes) {
    Contents contents;
    const std::string text = ReferenceText(bytes);
    for (std::string_view line : ReferenceLines(text)) {
        line = WithoutBlanks(line);
        if (!line.empty() && line[0] == '[') {
            contents.sections.emplace_back(WithoutBlanks(line.substr(1, line.find(']') - 1)));
        } else if (!contents.sections.empty() && !line.empty() && line[0] != ';' &&
                   line.find('=') != std::string_view::npos) {
            const size_t equals = line.find('=');
            contents.entries.push_back({contents.sections.size() - 1,
                                        std::string(WithoutBlanks(line.substr(0, equals))),
                                        std::string(WithoutBlanks(line.substr(equals + 1)))});
        }
    }
    return contents;
}

// Where section/key is read from: the first entry of that key in the first section of that
// name (later sections of the same name count for nothing); skip passes over as many such
// entries first.
const Entry* Lookup(const Contents& contents, std::string_view section, std::string_view key,
                    size_t skip = 0) {
    size_t first = 0;
    while (first < contents.sections.size() &&
           !ReferenceSameIgnoringCase(contents.sections[first], section))
        ++first;
    for (const Entry& entry : contents.entries) {
        if (entry.section == first && ReferenceSameIgnoringCase(entry.key, key) && skip-- == 0)
            return &entry;
    }
    return nullptr;
}

// A value as read: quotes around it dropped, at most 2,047 characters.
std::optional<std::string> ValueOf(const Entry* entry) {
    if (entry == nullptr)
        return std::nullopt;
    std::string_view value = entry->value;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, 2047));
}

// An integer as settings read it: decimal with an optional sign, or hexadecimal after "0x"
// (when the text is longer than two characters) or after "$" (sign first); 32 bits.
std::optional<int> IntegerOf(std::string_view text) {
    text = WithoutBlanks(text);
    const auto hexadecimal = [](std::string_view digits) -> std::optional<uint64_t> {
        if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != digits.npos)
            return std::nullopt;
        uint64_t value = 0;
        for (char c : digits) {
            value = value * 16 + static_cast<uint64_t>(
                                     std::string_view("0123456789abcdef").find(ReferenceLower(c)));
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return value;
    };
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto value = hexadecimal(text.substr(2));
        return value ? std::optional<int>(static_cast<int32_t>(static_cast<uint32_t>(*value)))
                     : std::nullopt;
    }
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    if (!text.empty() && text[0] == '$') {
        const auto value = hexadecimal(text.substr(1));
        if (!value)
            return std::nullopt;
        const int64_t asStored = static_cast<int32_t>(static_cast<uint32_t>(*value));
        return static_cast<int>(negative ? -asStored : asStored);
    }
    if (text.empty() || text[0] < '0' || text[0] > '9') // one sign at most
        return std::nullopt;
    const std::optional<int64_t> value = ReferenceSizeValue(text);
    if (!value || *value > INT32_MAX || -*value > int64_t{INT32_MAX} + 1)
        return std::nullopt;
    return static_cast<int>(negative ? -*value : *value);
}

// Whether a name can be written so that it reads back: no control character, not empty, no
// blank at either end, no character that ends the name ("]" of a section, "=" of a key), a
// key not beginning as a section or comment does, valid UTF-8 that the file's encoding holds.
bool Writable(std::string_view name, bool isKey, bool fileIsUtf8) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            return false;
    }
    if (name.empty() || name != WithoutBlanks(name))
        return false;
    if (name.find(isKey ? '=' : ']') != std::string_view::npos)
        return false;
    if (isKey && (name[0] == '[' || name[0] == ';'))
        return false;
    return fileIsUtf8 ? ReferenceIsUtf8(name) : ReferenceUtf8ToWindows1250(name).has_value();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry that is read (the first of its name), with its value.
struct Visible {
    std::string section;
    std::string key;
    std::string value;
};
std::vector<Visible> VisibleEntries(const Contents& contents) {
    std::vector<Visible> visible;
    for (const Entry& entry : contents.entries) {
        const std::string& section = contents.sections[entry.section];
        if (Lookup(contents, section, entry.key) == &entry)
            visible.push_back({section, entry.key, *ValueOf(&entry)});
    }
    return visible;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("settings.ini");
    InputTaker input(data, size);
    const uint64_t operation = input.Number(1);
    const auto value = static_cast<int>(input.Number(4));
    std::string section(input.Text());
    std::string key(input.Text());
    const std::string_view bytes = input.Rest();
    const Contents before = ContentsOf(bytes);
    // Often a name the file holds, so that replacing and deleting are reached.
    if (operation % 4 >= 2 && !before.entries.empty()) {
        const Entry& chosen = before.entries[static_cast<size_t>(value) % before.entries.size()];
        section = before.sections[chosen.section];
        key = chosen.key;
    }
    file.Write(bytes);
    const bool fileIsUtf8 = ReferenceIsUtf8(bytes);
    // A name the file's encoding cannot hold is looked up as its bytes: not compared here.
    const auto comparable = [fileIsUtf8](std::string_view name) {
        return fileIsUtf8 || ReferenceUtf8ToWindows1250(name).has_value();
    };
    // Values come as the file holds them.
    const auto asText = [fileIsUtf8](const std::string& value) {
        return fileIsUtf8 ? value : ReferenceWindows1250ToUtf8(value);
    };
    const bool namesComparable =
        comparable(section) && comparable(key) && ReferenceIsUtf8(section) && ReferenceIsUtf8(key);

    SettingsFile settings(file.Path());
    // Every entry and the asked one read as the format says, twice (once through the index).
    for (int pass = 0; pass < 2; ++pass) {
        for (const Visible& entry : VisibleEntries(before)) {
            if (!comparable(entry.section) || !comparable(entry.key))
                continue;
            const std::optional<std::string> read = settings.ReadString(entry.section, entry.key);
            FUZZ_CHECK(read.has_value() && asText(*read) == entry.value);
            FUZZ_CHECK(settings.ReadInteger(entry.section, entry.key, 12345) ==
                       IntegerOf(entry.value).value_or(12345));
        }
        if (namesComparable) {
            const std::optional<std::string> read = settings.ReadString(section, key);
            const std::optional<std::string> expected = ValueOf(Lookup(before, section, key));
            FUZZ_CHECK(read.has_value() == expected.has_value());
            if (read)
                FUZZ_CHECK(asText(*read) == *expected);
        }
    }

    Contents after;
    if (operation % 2 == 0) {
        const bool writable =
            Writable(section, false, fileIsUtf8) && Writable(key, true, fileIsUtf8);
        try {
            settings.WriteInteger(section, key, value);
        } catch (const VypisnikError&) {
            FUZZ_CHECK(!writable);
            FUZZ_CHECK(FileBytes(file.Path()) == bytes);
            return 0;
        }
        FUZZ_CHECK(writable);
        const std::string written = FileBytes(file.Path());
        after = ContentsOf(written);
        FUZZ_CHECK(ValueOf(Lookup(after, section, key)) == std::to_string(value));
        // One line changed or added: what differs between old and new holds no line end, unless
        // the whole file was converted to UTF-8 (a Windows-1250 file that lost the last bytes
        // that are not UTF-8).
        size_t prefix = 0;
        while (prefix < bytes.size() && prefix < written.size() && bytes[prefix] == written[prefix])
            ++prefix;
        size_t suffix = 0;
        while (suffix < bytes.size() - prefix && suffix < written.size() - prefix &&
               bytes[bytes.size() - 1 - suffix] == written[written.size() - 1 - suffix])
            ++suffix;
        const std::string_view removed = bytes.substr(prefix, bytes.size() - prefix - suffix);
        FUZZ_CHECK(removed.find_first_of("\r\n") == std::string_view::npos ||
                   ReferenceIsUtf8(written) != fileIsUtf8);
    } else {
        settings.DeleteKey(section, key);
        if (!namesComparable)
            return 0;
        after = ContentsOf(FileBytes(file.Path()));
        FUZZ_CHECK(ValueOf(Lookup(after, section, key)) ==
                   ValueOf(Lookup(before, section, key, 1)));
    }
    // Every other entry reads as before, and no other entry appears.
    const auto changed = [&](const Visible& entry) {
        return ReferenceSameIgnoringCase(entry.section, section) &&
               ReferenceSameIgnoringCase(entry.key, key);
    };
    for (const Visible& entry : VisibleEntries(before)) {
        if (!changed(entry))
            FUZZ_CHECK(ValueOf(Lookup(after, entry.section, entry.key)) == entry.value);
    }
    for (const Visible& entry : VisibleEntries(after)) {
        if (!changed(entry))
            FUZZ_CHECK(ValueOf(Lookup(before, entry.section, entry.key)) == entry.value);
    }
    return 0;
}
