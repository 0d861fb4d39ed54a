#include "lists/ListAndGroup.h"

#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "lists/SettingsWriteLock.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "util/Errors.h"

namespace vyp {

void DeleteListAndGroup(const DataFolder& data, const std::string& listFilePath,
                        std::string_view fileName) {
    const SettingsWriteLock lock(data.SettingsPath());
    SettingsFile settings(data.SettingsPath());
    const std::optional<std::string> groupBefore = settings.ReadString(kListsSection, fileName);
    if (groupBefore)
        settings.Write({{std::string(kListsSection), std::string(fileName), std::nullopt}});
    const bool present = KindOfPath(listFilePath) != PathKind::Missing;
    if (const int err = present ? RemoveFile(listFilePath) : 0) {
        // The list stays, and so does its group.
        if (groupBefore)
            settings.Write({{std::string(kListsSection), std::string(fileName),
                             ParseSettingsInteger(*groupBefore)}});
        throw VypisnikError("Seznam se nepodařilo smazat: \"" + listFilePath + "\". " +
                            SystemErrorText(err));
    }
}

void MoveListToGroup(const DataFolder& data, const std::string& listFilePath,
                     std::string_view fileName, int group) {
    const SettingsWriteLock lock(data.SettingsPath());
    if (KindOfPath(listFilePath) == PathKind::Missing)
        throw VypisnikError("Seznam \"" + std::string(ListCaption(fileName)) +
                            "\" mezitím smazal jiný program; skupina se nezměnila.");
    SettingsFile(data.SettingsPath()).WriteInteger(kListsSection, fileName, group);
}

} // namespace vyp
