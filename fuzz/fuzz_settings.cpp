// "settings.ini" read and written: a write either is refused with the file untouched, or reads
// back, touches one line only, and leaves every other entry reading as before; a deletion
// leaves the others as they were.
#include "FuzzSupport.h"

#include "lists/SettingsFile.h"
#include "util/Encoding.h"
#include "util/Errors.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

std::string ReadBack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Section and key names as they might stand in the file, as texts (UTF-8): every "[...]" line
// and every text before a "=", a few dozen at most.
std::vector<std::pair<std::string, std::string>> CandidateNames(std::string_view bytes) {
    const TextEncoding encoding = DetectEncoding(bytes);
    std::vector<std::string> sections{"Seznamy"}, keys{"Top"};
    for (const std::string_view line : ReferenceLines(bytes)) {
        if (!line.empty() && line.front() == '[')
            sections.push_back(ToUtf8(line.substr(1, line.find(']') - 1), encoding));
        else if (line.find('=') != std::string_view::npos)
            keys.push_back(ToUtf8(line.substr(0, line.find('=')), encoding));
        if (sections.size() + keys.size() > 24)
            break;
    }
    std::vector<std::pair<std::string, std::string>> names;
    for (const std::string& section : sections) {
        for (const std::string& key : keys)
            names.emplace_back(section, key);
    }
    return names;
}

// What each name reads as, as text: the file's encoding may change, what it says may not.
std::vector<std::optional<std::string>>
ReadAll(const std::string& path, const std::vector<std::pair<std::string, std::string>>& names) {
    const SettingsFile settings(path);
    const TextEncoding encoding = DetectEncoding(ReadBack(path));
    std::vector<std::optional<std::string>> values;
    for (const auto& [section, key] : names) {
        std::optional<std::string> value = settings.ReadString(section, key);
        if (value)
            value = ToUtf8(*value, encoding);
        values.push_back(std::move(value));
    }
    return values;
}

std::string Lowered(std::string_view name) {
    std::string lowered(name);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
    return lowered;
}

bool SameName(std::string_view a, std::string_view b) {
    return Lowered(a) == Lowered(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("settings.ini");
    InputTaker input(data, size);
    const uint64_t operation = input.Number(1);
    const auto value = static_cast<int>(input.Number(4));
    const std::string section(input.Text());
    const std::string key(input.Text());
    const std::string_view bytes = input.Rest();
    file.Write(bytes);

    const std::vector<std::pair<std::string, std::string>> names = CandidateNames(bytes);
    const std::vector<std::optional<std::string>> before = ReadAll(file.Path(), names);
    SettingsFile settings(file.Path());
    // Reading twice answers the same, before and after the index is built.
    for (size_t i = 0; i < names.size() && i < 4; ++i) {
        const std::optional<std::string> again =
            settings.ReadString(names[i].first, names[i].second);
        FUZZ_CHECK(again.has_value() == before[i].has_value());
    }

    if (operation % 2 == 0) {
        try {
            settings.WriteInteger(section, key, value);
        } catch (const VypisnikError&) {
            FUZZ_CHECK(ReadBack(file.Path()) == bytes);
            return 0;
        }
        FUZZ_CHECK(SettingsFile(file.Path()).ReadInteger(section, key, value ^ 1) == value);
        // One line changed or added: what differs between old and new holds no line end.
        // (A Windows-1250 file that lost its last bytes that are not UTF-8 is converted.)
        const std::string after = ReadBack(file.Path());
        size_t prefix = 0;
        while (prefix < bytes.size() && prefix < after.size() && bytes[prefix] == after[prefix])
            ++prefix;
        size_t suffix = 0;
        while (suffix < bytes.size() - prefix && suffix < after.size() - prefix &&
               bytes[bytes.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        const std::string_view removed = bytes.substr(prefix, bytes.size() - prefix - suffix);
        FUZZ_CHECK(removed.find_first_of("\r\n") == std::string_view::npos ||
                   DetectEncoding(after) != DetectEncoding(bytes));
    } else {
        settings.DeleteKey(section, key); // a later entry of the same name may show now
    }
    const std::vector<std::optional<std::string>> now = ReadAll(file.Path(), names);
    for (size_t i = 0; i < names.size(); ++i) {
        if (!(SameName(names[i].first, section) && SameName(names[i].second, key)))
            FUZZ_CHECK(now[i] == before[i]);
    }
    return 0;
}
