// "compare NAME_A NAME_B": what differs between two lists, entry by entry, as the comparison
// window shows it; the exit status tells whether they differ, as diff's does.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "lists/ListFile.h"
#include "scan/ListDifferences.h"
#include "scan/ListDifferencesCsv.h"
#include "util/CsvWriter.h"
#include "util/Errors.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace vyp {

namespace {

constexpr int kListsDiffer = 1;
constexpr int kListUnknown = 2;

// A difference as a line: kind, path, then size (exact, " B"), date and time of either side,
// nothing where the side lacks the entry. Written straight from the lists' texts into the
// output: the lists may differ in millions of entries.
void AppendDifferenceLine(const ListDifferences::Found& found, std::string& out) {
    out.append(DifferenceKindText(found.kind));
    out.push_back('\t');
    if (!found.isFolder)
        out.append(found.folder);
    out.append(found.name);
    for (const std::string_view side : {found.firstFields, found.secondFields}) {
        const ListLineFields fields = SplitListLine(side);
        for (int f = 0; f < 3; ++f) {
            out.push_back('\t');
            if (f >= fields.count)
                continue;
            if (f == 2) {
                AppendTimeForDisplay(fields.field[f], out);
            } else {
                out.append(fields.field[f]);
                if (f == 0 && !fields.field[f].empty())
                    out.append(" B");
            }
        }
    }
    out.push_back('\n');
}

// The same difference as a CSV row, its texts made as the comparison window's are.
class DifferenceCsv {
public:
    void Append(const ListDifferences::Found& found, std::string& out) {
        m_path.clear();
        if (!found.isFolder)
            m_path.append(found.folder);
        m_path.append(found.name);
        const ListLineFields first = SplitListLine(found.firstFields);
        const ListLineFields second = SplitListLine(found.secondFields);
        auto field = [](const ListLineFields& side, int f) {
            return f < side.count ? side.field[f] : std::string_view();
        };
        m_times[0].clear();
        m_times[1].clear();
        AppendTimeForDisplay(field(first, 2), m_times[0]);
        AppendTimeForDisplay(field(second, 2), m_times[1]);
        CsvWriter(out).Row({DifferenceKindText(found.kind), m_path, CsvBytes(field(first, 0)),
                            field(first, 1), m_times[0], CsvBytes(field(second, 0)),
                            field(second, 1), m_times[1]});
    }

private:
    std::string m_path;
    std::string m_times[2];
};

// Writes pieces of output, in the order handed, on a thread of its own, so that the next piece
// is formatted while one is written. Nothing else writes the session's output meanwhile.
class PieceWriter {
public:
    static constexpr size_t kPiece = size_t{1} << 20;

    explicit PieceWriter(CliSession& session) : m_session(session), m_thread([this] { Run(); }) {}
    ~PieceWriter() { Finish(); }
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;

    // Takes piece to write after those handed before; piece is left empty. Waits while a few
    // pieces wait already: formatting outruns writing.
    void Hand(std::string& piece) {
        std::string next;
        {
            std::unique_lock lock(m_mutex);
            m_room.wait(lock, [this] { return m_waiting.size() < kMostWaiting; });
            m_waiting.push_back(std::move(piece));
            if (!m_spare.empty()) {
                next = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_ready.notify_one();
        next.clear();
        piece = std::move(next);
    }
    // Writes what waits and ends the thread.
    void Finish() {
        {
            const std::lock_guard lock(m_mutex);
            m_finishing = true;
        }
        m_ready.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    static constexpr size_t kMostWaiting = 4;

    void Run() {
        for (;;) {
            std::string piece;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return !m_waiting.empty() || m_finishing; });
                if (m_waiting.empty())
                    return;
                piece = std::move(m_waiting.front());
                m_waiting.pop_front();
            }
            m_room.notify_one();
            m_session.Write(piece);
            const std::lock_guard lock(m_mutex);
            m_spare.push_back(std::move(piece)); // its memory, for a piece to come
        }
    }

    CliSession& m_session;
    std::mutex m_mutex;
    std::condition_variable m_ready, m_room;
    std::deque<std::string> m_waiting;
    std::vector<std::string> m_spare;
    bool m_finishing = false;
    std::thread m_thread; // last: started once everything above is made
};

int RunCompare(const CommandLine& line, CliSession& session) {
    const std::vector<std::string>& names = line.Positional();
    if (names.size() != 2)
        throw UsageError{"compare potřebuje NAME_A a NAME_B"};
    const bool csv = line.IsSet(CsvOption().name);
    std::optional<std::string> paths[2];
    for (int side = 0; side < 2; ++side) {
        paths[side] = session.FindListFile(names[static_cast<size_t>(side)]);
        if (!paths[side])
            return kListUnknown;
    }
    // The header once both lists could be read: a list that cannot be read prints nothing.
    // Differences are formatted here and written on a thread of their own meanwhile: lists that
    // differ throughout make twice their size in output.
    std::string piece;
    PieceWriter writer(session);
    bool headed = !csv;
    auto head = [&] {
        if (!headed)
            AppendListDifferencesCsvHeader(piece);
        headed = true;
    };
    DifferenceCsv csvRow;
    auto print = [&](const ListDifferences::Found& found) {
        head();
        if (csv)
            csvRow.Append(found, piece);
        else
            AppendDifferenceLine(found, piece);
        if (piece.size() >= PieceWriter::kPiece)
            writer.Hand(piece);
    };
    ComparisonSummary summary;
    try {
        ListDifferences::CompareEach(*paths[0], *paths[1], print, summary);
    } catch (const VypisnikError& error) {
        writer.Finish();
        session.Fail(error.what());
        return kListUnknown;
    }
    head();
    writer.Finish();
    session.Write(piece);
    if (!csv) {
        std::string& output = session.Output();
        for (const std::string& text : ComparisonSummaryLines(summary, session.Regional()))
            output += text + "\n";
    }
    return summary.Same() ? kCommandDone : kListsDiffer;
}

} // namespace

const Command kCompareCommand{
    "compare",
    "NAME_A NAME_B",
    {CsvOption()},
    "prints what differs between two lists, entry by entry by relative path:\n"
    "\"Jen v prvním\", \"Jen ve druhém\" and \"Změněno\" (a file whose size, date or\n"
    "time differs; folders count by presence only), in the lists' pre-order, the\n"
    "entries of NAME_A first, then what only NAME_B holds; then the summary. Exit\n"
    "status 0 when the lists hold the same entries, 1 when they differ, 2 when a\n"
    "list is unknown or cannot be read",
    RunCompare};

} // namespace vyp
