#include "lists/DataFolder.h"

#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "platform/Native.h"
#include "util/Encoding.h"
#include "util/StaleTemporaries.h"

namespace vyp {

DataFolder::DataFolder(std::string folder) : m_folder(std::move(folder)) {
    if (m_folder.empty() || m_folder.back() != kNativeSeparator)
        m_folder.push_back(kNativeSeparator);
}

std::string DataFolder::ListFolder() const {
    return m_folder + std::string(kListFolderName) + kNativeSeparator;
}

std::string DataFolder::SettingsPath() const {
    return m_folder + std::string(kSettingsFileName);
}

std::string DataFolder::ListFilePath(std::string_view name) const {
    return ListFolder() + std::string(name) + std::string(kListExtension);
}

std::optional<std::string> ListNameProblem(std::string_view name) {
    if (name == "." || name == "..")
        return std::string("Název seznamu nemůže být \".\" ani \"..\".");
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return std::string(
                "Název seznamu nesmí obsahovat znaky \\ / : * ? \" < > | ani řídicí znaky.");
    }
    // "settings.ini" keeps the list's group under its file name: these would not read back.
    if (name.find_first_of("=[]") != std::string_view::npos || name.starts_with(';') ||
        name.starts_with(' ') || name.ends_with(' '))
        return std::string("Název seznamu nesmí obsahovat znaky = [ ] ani začínat středníkem a "
                           "nesmí začínat ani končit mezerou.");
    if (!IsValidUtf8(name))
        return std::string("Název seznamu není platný text v kódování UTF-8.");
    return std::nullopt;
}

namespace {
bool IsListOrSettingsFileName(std::string_view name) {
    std::string listPattern = "*";
    listPattern += kListExtension;
    return name == kSettingsFileName ||
           (name.size() > kListExtension.size() && MatchesPattern(name, listPattern));
}
} // namespace

bool IsSafeWriteTemporaryName(std::string_view name) {
    const auto target = SafeWriteTemporaryTarget(name);
    return target && IsListOrSettingsFileName(*target);
}

int RemoveStaleTemporaries(const DataFolder& data) {
    return RemoveStaleTemporariesIn(data.Folder(), IsListOrSettingsFileName) +
           RemoveStaleTemporariesIn(data.ListFolder(), IsListOrSettingsFileName);
}

int RemoveOwnTemporaries() {
    return RemoveOwnTemporariesOf(IsListOrSettingsFileName);
}

} // namespace vyp
