// "lists": every list with its group, total size and date, as the list tree shows them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/SizeText.h"
#include "util/Errors.h"

namespace vyp {

namespace {

int RunLists(const CommandLine& line, CliSession& session) {
    if (!line.Positional().empty())
        throw UsageError{"lists nepotřebuje žádné další slovo"};
    const ListRegistry registry = session.LoadRegistry();
    const RegionalSettings& regional = session.Regional();
    int status = kCommandDone;
    for (const rsznListInfo& info : registry.ListInfos) {
        std::string total = "0";
        try {
            total = HeaderTotal(ReadFirstLine(info.FullPath));
        } catch (const VypisnikError& error) {
            status = session.Fail(error.what());
        }
        std::string size;
        if (TryParseSizeText(total))
            size = FormatTreeSize(total, regional);
        else
            status = session.Fail(InvalidIntegerText(total));
        const GroupInfo& group = GroupById(info.Group);
        session.Row({ListCaption(info.FileName), std::to_string(group.id), group.caption, size,
                     FormatListDate(info.Date, regional), FormatListTime(info.Time, regional)});
    }
    return status;
}

} // namespace

const Command kListsCommand{"lists", "", {}, {}, RunLists};

} // namespace vyp
