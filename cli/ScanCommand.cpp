// "scan FOLDER NAME": catalogues a folder as a new list, as the new-list window does.
#include "cli/Commands.h"
#include "lists/Groups.h"
#include "platform/Files.h"
#include "platform/Native.h"
#include "scan/NamedListCreation.h"
#include "util/Errors.h"

#include <filesystem>

namespace vyp {

namespace {

int RunScan(const CommandLine& line, CliSession& session) {
    int group = kDefaultGroup;
    for (const std::string& value : line.Values("group"))
        group = ParseGroupArgument(value);
    const std::vector<std::string>& words = line.Positional();
    if (words.size() != 2)
        throw UsageError{"scan potřebuje FOLDER a NAME"};
    const std::string& folder = words[0];
    const std::string& name = words[1];
    if (folder.empty() || name.empty())
        return session.Fail("Zadejte složku a název souboru!");
    const DataFolder& data = session.Data();
    if (const auto problem = NamedListProblem(data, name))
        return session.Fail(*problem);
    if (KindOfPath(folder) != PathKind::Folder)
        return session.Fail("Složka \"" + folder + "\" neexistuje.");
    // Through UTF-8 strings: std::filesystem's narrow strings are in the ANSI code page on
    // Windows, which cannot hold every name; on Linux they are the same bytes.
    const std::u8string absolute =
        std::filesystem::absolute(std::u8string(folder.begin(), folder.end()))
            .lexically_normal()
            .u8string();
    std::string root(absolute.begin(), absolute.end());
    if (root.back() != kNativeSeparator)
        root.push_back(kNativeSeparator);

    const bool overwrite = line.IsSet("overwrite");
    if (KindOfPath(data.ListFilePath(name)) != PathKind::Missing && !overwrite)
        return session.Fail(std::string(kListExistsText));
    try {
        NativeDirectoryWalker walker;
        ScanLines lines;
        const NamedList list{
            root, name, group,
            ScanOptions{line.IsSet("folders-only"), session.Regional().timeSeparator}, overwrite};
        // The list is written, but it must not pass for a whole catalogue of the folder.
        if (const size_t unreadable = CreateNamedList(data, walker, list, lines))
            return session.Fail(UnreadableFoldersText(unreadable));
    } catch (const VypisnikError& error) {
        return session.Fail(error.what());
    }
    return kCommandDone;
}

} // namespace

const Command kScanCommand{
    "scan", "FOLDER NAME", {{"group", "ID"}, {"folders-only"}, {"overwrite"}}, {}, RunScan};

} // namespace vyp
