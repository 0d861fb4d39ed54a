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

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
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

// Either form of a difference, with what it reuses from one to the next.
class DifferenceFormat {
public:
    explicit DifferenceFormat(bool csv) : m_csv(csv) {}
    void Append(const ListDifferences::Found& found, std::string& out) {
        if (m_csv)
            m_csvRow.Append(found, out);
        else
            AppendDifferenceLine(found, out);
    }

private:
    bool m_csv;
    DifferenceCsv m_csvRow;
};

// Differences formatted on both cores and written in the order handed: lists that differ
// throughout make twice their size in output, and formatting it costs several times writing
// it. The differences come in batches; a thread of its own formats them as they come, the
// thread that hands them formats one too whenever two wait, and another thread writes each
// batch's text once it and those before it are formatted. Nothing else writes the session's
// output meanwhile. The differences view the lists' texts: FormatAll must return before those
// are let go.
class DifferencePipeline {
public:
    static constexpr size_t kBatch = size_t{1} << 14;

    DifferencePipeline(CliSession& session, bool csv)
        : m_session(session), m_csv(csv), m_current(std::make_unique<Batch>()),
          m_formatter([this] { Format(); }), m_writer([this] { Write(); }) {}
    ~DifferencePipeline() { Finish(); }
    DifferencePipeline(const DifferencePipeline&) = delete;
    DifferencePipeline& operator=(const DifferencePipeline&) = delete;

    void Add(const ListDifferences::Found& found) {
        m_current->found.push_back(found);
        if (m_current->found.size() >= kBatch)
            Hand();
    }
    // Text to write after what was added before, as it stands.
    void AddText(std::string_view text) {
        Hand();
        std::unique_lock lock(m_mutex);
        auto batch = SpareLocked();
        batch->text.assign(text);
        batch->taken = batch->ready = true;
        m_batches.push_back(std::move(batch));
        lock.unlock();
        m_changed.notify_all();
    }
    // Formats what was added and waits until every batch is: what they view may go then.
    void FormatAll() {
        Hand();
        while (FormatOne(m_format)) {
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] {
            return std::all_of(m_batches.begin(), m_batches.end(),
                               [](const auto& batch) { return batch->ready; });
        });
    }
    // Writes what waits and ends the threads.
    void Finish() {
        {
            const std::lock_guard lock(m_mutex);
            m_finishing = true;
        }
        m_changed.notify_all();
        if (m_formatter.joinable())
            m_formatter.join();
        if (m_writer.joinable())
            m_writer.join();
    }

private:
    struct Batch {
        std::vector<ListDifferences::Found> found;
        std::string text;
        bool taken = false; // by a thread that formats it
        bool ready = false; // formatted
    };
    static constexpr size_t kMostWaiting = 8;

    std::unique_ptr<Batch> SpareLocked() {
        if (m_spare.empty())
            return std::make_unique<Batch>();
        auto batch = std::move(m_spare.back());
        m_spare.pop_back();
        return batch;
    }
    // The oldest batch no thread formats yet, or nullptr.
    Batch* UntakenLocked() {
        for (const auto& batch : m_batches) {
            if (!batch->taken)
                return batch.get();
        }
        return nullptr;
    }
    void Hand() {
        if (m_current->found.empty())
            return;
        size_t untaken = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_batches.size() < kMostWaiting; });
            m_batches.push_back(std::move(m_current));
            m_current = SpareLocked();
            for (const auto& batch : m_batches)
                untaken += batch->taken ? 0 : 1;
        }
        m_changed.notify_all();
        if (untaken >= 2)
            FormatOne(m_format);
    }
    // Formats the oldest batch no thread formats yet; false when there is none.
    bool FormatOne(DifferenceFormat& format) {
        Batch* batch = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            batch = UntakenLocked();
            if (batch == nullptr)
                return false;
            batch->taken = true;
        }
        for (const ListDifferences::Found& found : batch->found)
            format.Append(found, batch->text);
        {
            const std::lock_guard lock(m_mutex);
            batch->ready = true;
        }
        m_changed.notify_all();
        return true;
    }
    void Format() {
        DifferenceFormat format(m_csv);
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_finishing || UntakenLocked() != nullptr; });
                if (UntakenLocked() == nullptr)
                    return;
            }
            FormatOne(format);
        }
    }
    void Write() {
        for (;;) {
            std::unique_ptr<Batch> batch;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] {
                    return (!m_batches.empty() && m_batches.front()->ready) ||
                           (m_finishing && m_batches.empty());
                });
                if (m_batches.empty())
                    return;
                batch = std::move(m_batches.front());
                m_batches.pop_front();
            }
            m_changed.notify_all();
            m_session.Write(batch->text);
            batch->found.clear();
            batch->text.clear();
            batch->taken = batch->ready = false;
            const std::lock_guard lock(m_mutex);
            m_spare.push_back(std::move(batch)); // its memory, for a batch to come
        }
    }

    CliSession& m_session;
    bool m_csv;
    DifferenceFormat m_format{m_csv}; // of the thread that hands the differences
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Batch>> m_batches; // in the order of the output
    std::vector<std::unique_ptr<Batch>> m_spare;
    std::unique_ptr<Batch> m_current; // being filled
    bool m_finishing = false;
    std::thread m_formatter; // last: started once everything above is made
    std::thread m_writer;
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
    DifferencePipeline pipeline(session, csv);
    bool headed = !csv;
    auto head = [&] {
        if (!headed) {
            std::string header;
            AppendListDifferencesCsvHeader(header);
            pipeline.AddText(header);
        }
        headed = true;
    };
    auto print = [&](const ListDifferences::Found& found) {
        head();
        pipeline.Add(found);
    };
    ComparisonSummary summary;
    try {
        ListDifferences::CompareEach(*paths[0], *paths[1], print, summary, {},
                                     [&] { pipeline.FormatAll(); });
    } catch (const VypisnikError& error) {
        pipeline.Finish();
        session.Fail(error.what());
        return kListUnknown;
    }
    head();
    pipeline.Finish();
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
