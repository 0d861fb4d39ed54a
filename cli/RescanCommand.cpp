// "rescan NAME": scans a list's folder again, replaces the list and prints what changed.
#include "cli/Commands.h"
#include "platform/Native.h"
#include "scan/ListRescan.h"
#include "scan/RescanSummary.h"
#include "util/Errors.h"

namespace vyp {

namespace {

int RunRescan(const CommandLine& line, CliSession& session) {
    const auto list = session.FindListFile(line.OnlyPositional("rescan potřebuje NAME"));
    if (!list)
        return kCommandFailed;
    try {
        ListRescan rescan(*list);
        NativeDirectoryWalker walker;
        switch (rescan.Prepare(walker, session.Regional().timeSeparator)) {
        case ListRescan::Outcome::Ready:
            break;
        case ListRescan::Outcome::RootUnavailable:
            return session.Fail(RootUnavailableText(rescan.Root()));
        case ListRescan::Outcome::Cancelled:
            return kCommandFailed; // nothing here stops a scan
        }
        const RescanSummary& summary = rescan.Summary();
        if (summary.MostWouldDisappear() && !line.IsSet("force"))
            return session.Fail(MostWouldDisappearText(summary) +
                                " Seznam zůstal beze změny; nahradíte jej volbou --force.");
        rescan.Commit();
        for (const std::string& text : RescanSummaryLines(summary, session.Regional()))
            session.Output() += text + "\n";
        // The list is written, but it must not pass for a whole catalogue of the folder.
        if (summary.unreadableFolders > 0)
            return kCommandFailed;
    } catch (const VypisnikError& error) {
        return session.Fail(error.what());
    }
    return kCommandDone;
}

} // namespace

const Command kRescanCommand{
    "rescan",
    "NAME",
    {{"force"}},
    "scans the list's folder again, replaces the list under the same name (its\n"
    "group stays) and prints what changed; when more than half of the list's\n"
    "entries would disappear (the wrong disc?) it changes nothing unless --force\n"
    "is given",
    RunRescan};

} // namespace vyp
