#include "qtcore/PathRanksByFolder.h"

#include "lists/ListFile.h"
#include "platform/ParallelInOrder.h"
#include "qtcore/CollationSketch.h"
#include "qtcore/FolderNumbers.h"
#include "qtcore/NameCollator.h"
#include "qtcore/Utf16Name.h"
#include "util/ChildrenByParent.h"

#include <algorithm>
#include <atomic>
#include <numeric>

namespace vyp {

namespace {

// Where two folders' rows meet in the walk, so many are compared at once, on every core.
constexpr size_t kMeetingsAtOnce = size_t{1} << 18;

int Sign(int result) {
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// The collator's order of two UTF-8 texts (each given in up to two parts), each decoded into a
// buffer of its own.
class Comparing {
public:
    explicit Comparing(const QCollator& collator) : m_collator(collator) {}
    int operator()(std::string_view a, std::string_view b, std::string_view moreA = {},
                   std::string_view moreB = {}) {
        if (moreA.empty() && moreB.empty() && a == b)
            return 0;
        return Sign(m_collator.compare(m_a.Of(a, moreA), m_b.Of(b, moreB)));
    }

private:
    const QCollator& m_collator;
    Utf16Name m_a, m_b;
};

// The collator's order of each neighbouring pair of a run's names in order (names(i) gives
// them); false when a pair is out of order, equal names by their number.
template <typename NameOf>
bool StepsOf(Comparing& compare, const std::vector<uint32_t>& order, const NameOf& name,
             std::vector<int8_t>& steps) {
    steps.resize(order.empty() ? 0 : order.size() - 1);
    bool inOrder = true;
    for (size_t k = 0; k < steps.size(); ++k) {
        const int step = compare(name(order[k]), name(order[k + 1]));
        steps[k] = static_cast<int8_t>(step);
        inOrder = inOrder && (step < 0 || (step == 0 && order[k] < order[k + 1]));
    }
    return inOrder;
}

// Sorts order by the collator, equal names by their number.
template <typename NameOf>
void SortByCollator(Comparing& compare, std::vector<uint32_t>& order, const NameOf& name) {
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int result = compare(name(a), name(b));
        return result < 0 || (result == 0 && a < b);
    });
}

} // namespace

PathRanksByFolder::PathRanksByFolder(const NameCollator& collator,
                                     std::vector<std::string_view> folders,
                                     std::vector<uint32_t> runStarts, size_t rows, size_t parts,
                                     const std::function<void(double)>& made)
    : m_collator(collator), m_own(collator.CopyForAnotherThread()),
      m_runStart(std::move(runStarts)) {
    m_runStart.push_back(static_cast<uint32_t>(rows));
    const size_t runs = RunCount();
    m_runPart.assign(runs, 0);
    m_runKept.assign(runs, 0);
    m_runKeptEnd.assign(runs, 0);
    m_order.resize(rows);
    m_steps.assign(rows, 0);
    for (size_t part = 0; part < parts; ++part)
        m_parts.push_back(Part{collator.CopyForAnotherThread(), {}});
    MakeTree(folders, [&made](double done) {
        if (made)
            made(0.5 * done);
    });
    m_followsTree = SortChildren([&made](double done) {
        if (made)
            made(0.5 + 0.5 * done);
    });
}

void PathRanksByFolder::MakeTree(const std::vector<std::string_view>& folders,
                                 const std::function<void(double)>& made) {
    // Each distinct text once, with every folder above it.
    m_text = {std::string_view()};
    m_parent = {0};
    FolderNumbers numbers(m_text, m_parent, folders.size() * 2);
    m_runFolder.resize(folders.size());
    constexpr size_t kRunsATurn = size_t{1} << 15;
    for (size_t run = 0; run < folders.size(); ++run) {
        if (made && run % kRunsATurn == kRunsATurn - 1)
            made(static_cast<double>(run) / static_cast<double>(folders.size()));
        m_runFolder[run] = numbers.Of(folders[run]);
    }
    const size_t folderCount = m_text.size();
    GroupChildrenByParent(
        folderCount, folderCount - 1, [&](size_t node) { return m_parent[node + 1]; }, m_firstChild,
        m_children);
    for (uint32_t& child : m_children)
        ++child;
    GroupChildrenByParent(
        folderCount, m_runFolder.size(), [&](size_t run) { return m_runFolder[run]; }, m_firstRun,
        m_runs);
    m_childAt.assign(folderCount, 0);
    m_mergedOf.assign(folderCount, UINT32_MAX);
}

template <typename NameAt>
void PathRanksByFolder::PlaceChildren(const QCollator& collator, uint32_t folder, size_t count,
                                      const NameAt& name) {
    Comparing compare(collator);
    for (uint32_t at = m_firstChild[folder]; at < m_firstChild[folder + 1]; ++at) {
        const uint32_t child = m_children[at];
        const std::string_view own = m_text[child].substr(m_text[folder].size());
        size_t low = 0, high = count;
        while (low < high) {
            const size_t middle = (low + high) / 2;
            if (compare(name(middle), own) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        m_childAt[child] = static_cast<uint32_t>(low);
    }
}

void PathRanksByFolder::SortRuns(size_t part, size_t firstRun, size_t lastRun,
                                 const PackedNames& names) {
    Part& mine = m_parts[part];
    // The sketch knows the characters of these names only: it is made again for each block of
    // runs, which holds some hundred thousand names.
    const CollationSketch sketch(mine.collator, names);
    Comparing compare(mine.collator);
    const uint32_t base = m_runStart[firstRun];
    std::vector<uint32_t> order;
    std::vector<int8_t> steps;
    std::vector<uint32_t> keep;
    for (size_t run = firstRun; run < lastRun; ++run) {
        const uint32_t begin = m_runStart[run] - base;
        const uint32_t count = m_runStart[run + 1] - m_runStart[run];
        const auto name = [&](uint32_t i) {
            return names[begin + i];
        };
        order.resize(count);
        std::iota(order.begin(), order.end(), uint32_t{0});
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return sketch.Compare(name(a), name(b)) < 0;
        });
        if (!StepsOf(compare, order, name, steps)) {
            SortByCollator(compare, order, name);
            StepsOf(compare, order, name, steps);
        }
        const uint32_t first = m_runStart[run];
        for (uint32_t k = 0; k < count; ++k)
            m_order[first + k] = first + order[k];
        std::copy(steps.begin(), steps.end(), m_steps.begin() + first);
        // Kept: the names where the run may meet other rows in the walk, at its ends and on
        // either side of each subfolder's place; every name when the folder has other runs.
        const uint32_t folder = m_runFolder[run];
        keep.clear();
        if (m_firstRun[folder + 1] - m_firstRun[folder] > 1) {
            keep.resize(count);
            std::iota(keep.begin(), keep.end(), uint32_t{0});
        } else if (count > 0) {
            PlaceChildren(mine.collator, folder, count,
                          [&](size_t place) { return name(order[place]); });
            keep = {0, count - 1};
            for (uint32_t at = m_firstChild[folder]; at < m_firstChild[folder + 1]; ++at) {
                const uint32_t place = m_childAt[m_children[at]];
                if (place > 0)
                    keep.push_back(place - 1);
                if (place < count)
                    keep.push_back(place);
            }
            std::sort(keep.begin(), keep.end());
            keep.erase(std::unique(keep.begin(), keep.end()), keep.end());
        }
        m_runPart[run] = static_cast<uint8_t>(part);
        m_runKept[run] = static_cast<uint32_t>(mine.kept.places.size());
        for (const uint32_t place : keep) {
            mine.kept.bytes.append(name(order[place]));
            mine.kept.ends.push_back(mine.kept.bytes.size());
            mine.kept.places.push_back(place);
        }
        m_runKeptEnd[run] = static_cast<uint32_t>(mine.kept.places.size());
    }
}

PathRanksByFolder::NameRef PathRanksByFolder::KeptAt(uint32_t run, uint32_t place) const {
    const std::vector<uint32_t>& places = m_parts[m_runPart[run]].kept.places;
    const auto found = std::lower_bound(places.begin() + m_runKept[run],
                                        places.begin() + m_runKeptEnd[run], place);
    return NameRef{m_runPart[run], static_cast<uint32_t>(found - places.begin())};
}

void PathRanksByFolder::MergeRuns(const QCollator& collator, uint32_t folder, Merged& merged) {
    // Every name of these runs was kept, in each run's order.
    Comparing compare(collator);
    struct Item {
        uint32_t row;
        NameRef name;
    };
    const auto before = [&](const Item& a, const Item& b) {
        const int result = compare(Name(a.name), Name(b.name));
        return result < 0 || (result == 0 && a.row < b.row);
    };
    std::vector<Item> items, run, both;
    for (uint32_t at = m_firstRun[folder]; at < m_firstRun[folder + 1]; ++at) {
        const uint32_t r = m_runs[at];
        run.clear();
        for (uint32_t place = 0; place < m_runStart[r + 1] - m_runStart[r]; ++place)
            run.push_back(
                Item{m_order[m_runStart[r] + place], NameRef{m_runPart[r], m_runKept[r] + place}});
        both.clear();
        std::merge(items.begin(), items.end(), run.begin(), run.end(), std::back_inserter(both),
                   before);
        items.swap(both);
    }
    merged.rows.clear();
    merged.names.clear();
    for (const Item& item : items) {
        merged.rows.push_back(item.row);
        merged.names.push_back(item.name);
    }
    merged.steps.resize(items.empty() ? 0 : items.size() - 1);
    for (size_t k = 0; k + 1 < items.size(); ++k)
        merged.steps[k] =
            static_cast<int8_t>(compare(Name(items[k].name), Name(items[k + 1].name)));
    PlaceChildren(collator, folder, merged.rows.size(),
                  [&](size_t place) { return Name(merged.names[place]); });
}

bool PathRanksByFolder::SortChildren(const std::function<void(double)>& progress) {
    // By the sketch of the folders' characters, checked by the collator. Two subfolders whose
    // names differ only in case or accents ("Foto\", "foto\") are found next to each other:
    // their rows interleave in the whole paths' order ("foto\a" before "Foto\b").
    const CollationSketch sketch(m_own, m_text);
    const size_t folders = m_text.size();
    const size_t parts = folders < 20000 ? 1 : 16 * WorkerCount();
    std::vector<char> apart(parts, 1);
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            const QCollator collator = m_collator.CopyForAnotherThread();
            Comparing compare(collator);
            std::vector<uint32_t> order;
            std::vector<int8_t> steps;
            for (size_t folder = folders * part / parts; folder < folders * (part + 1) / parts;
                 ++folder) {
                const uint32_t first = m_firstChild[folder], end = m_firstChild[folder + 1];
                if (end - first < 2)
                    continue;
                const auto name = [&](uint32_t child) {
                    return m_text[child].substr(m_text[folder].size());
                };
                order.assign(m_children.begin() + first, m_children.begin() + end);
                std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
                    return sketch.Compare(name(a), name(b)) < 0;
                });
                if (!StepsOf(compare, order, name, steps)) {
                    SortByCollator(compare, order, name);
                    StepsOf(compare, order, name, steps);
                }
                for (size_t k = 0; k + 1 < order.size(); ++k)
                    if (steps[k] == 0 || sketch.SameLetters(name(order[k]), name(order[k + 1])))
                        apart[part] = 0;
                std::copy(order.begin(), order.end(), m_children.begin() + first);
            }
            return true;
        },
        [&](size_t part, bool&&) {
            if (progress)
                progress(static_cast<double>(part + 1) / static_cast<double>(parts));
        });
    return std::find(apart.begin(), apart.end(), 0) == apart.end();
}

std::vector<uint32_t> PathRanksByFolder::Ranks(const std::function<void(double)>& progress) {
    const auto tell = [&progress](double done) {
        if (progress)
            progress(done);
    };
    // The folders whose rows came in several runs, merged by their kept names.
    std::vector<uint32_t> several;
    for (uint32_t folder = 0; folder + 1 < m_firstRun.size(); ++folder)
        if (m_firstRun[folder + 1] - m_firstRun[folder] > 1) {
            m_mergedOf[folder] = static_cast<uint32_t>(several.size());
            several.push_back(folder);
        }
    m_merged.resize(several.size());
    {
        const size_t parts = several.size() < 100 ? 1 : 4 * WorkerCount();
        ParallelInOrder<bool>(
            parts,
            [&](size_t part) {
                const QCollator collator = m_collator.CopyForAnotherThread();
                for (size_t i = several.size() * part / parts;
                     i < several.size() * (part + 1) / parts; ++i)
                    MergeRuns(collator, several[i], m_merged[i]);
                return true;
            },
            [&](size_t part, bool&&) {
                tell(0.2 * static_cast<double>(part + 1) / static_cast<double>(parts));
            });
    }
    // The subfolders by their places among the rows, which decide where each one's rows go.
    for (size_t folder = 0; folder + 1 < m_firstChild.size(); ++folder)
        if (m_firstChild[folder + 1] - m_firstChild[folder] > 1)
            std::stable_sort(m_children.begin() + m_firstChild[folder],
                             m_children.begin() + m_firstChild[folder + 1],
                             [&](uint32_t a, uint32_t b) { return m_childAt[a] < m_childAt[b]; });
    tell(0.4);

    // The walk: each folder's rows, each subfolder's rows at its place among them, each row
    // given its rank on the way. Where two folders' rows meet, the rank goes up; their whole
    // paths are compared a batch of meetings at a time, and must come one after the other.
    const size_t rows = m_order.size();
    std::vector<uint32_t> ranks(rows);
    uint32_t rank = 0;
    bool anyRanked = false;
    uint32_t lastFolder = 0;
    NameRef lastName;
    std::vector<Meeting> meetings;
    bool inOrder = true;
    size_t ranked = 0, toldAt = 0;
    const auto countOf = [&](uint32_t folder) -> size_t {
        if (m_mergedOf[folder] != UINT32_MAX)
            return m_merged[m_mergedOf[folder]].rows.size();
        if (m_firstRun[folder + 1] == m_firstRun[folder])
            return 0;
        const uint32_t run = m_runs[m_firstRun[folder]];
        return m_runStart[run + 1] - m_runStart[run];
    };
    const auto rankRows = [&](uint32_t folder, size_t from, size_t to) {
        if (from >= to)
            return;
        const Merged* merged =
            m_mergedOf[folder] != UINT32_MAX ? &m_merged[m_mergedOf[folder]] : nullptr;
        const uint32_t run = merged != nullptr ? 0 : m_runs[m_firstRun[folder]];
        const size_t first = merged != nullptr ? 0 : m_runStart[run];
        const uint32_t* rowAt = merged != nullptr ? merged->rows.data() : m_order.data() + first;
        const int8_t* stepAt = merged != nullptr ? merged->steps.data() : m_steps.data() + first;
        const auto nameAt = [&](size_t place) {
            return merged != nullptr ? merged->names[place]
                                     : KeptAt(run, static_cast<uint32_t>(place));
        };
        if (anyRanked) {
            meetings.push_back(Meeting{{lastFolder, folder}, {lastName, nameAt(from)}});
            ++rank;
        }
        ranks[rowAt[from]] = rank;
        for (size_t place = from + 1; place < to; ++place) {
            rank += stepAt[place - 1] != 0 ? 1 : 0;
            ranks[rowAt[place]] = rank;
        }
        anyRanked = true;
        lastFolder = folder;
        lastName = nameAt(to - 1);
        ranked += to - from;
    };
    const auto checkMeetings = [&] {
        const size_t parts = meetings.size() < 4096 ? 1 : WorkerCount();
        std::vector<char> partInOrder(parts, 1);
        ParallelInOrder<bool>(
            parts,
            [&](size_t part) {
                const QCollator collator = m_collator.CopyForAnotherThread();
                Comparing compare(collator);
                for (size_t i = meetings.size() * part / parts;
                     i < meetings.size() * (part + 1) / parts; ++i) {
                    const Meeting& meeting = meetings[i];
                    const std::string_view a = m_text[meeting.folders[0]];
                    const std::string_view b = m_text[meeting.folders[1]];
                    const std::string_view nameA = Name(meeting.names[0]);
                    const std::string_view nameB = Name(meeting.names[1]);
                    const int step = a == b ? compare(nameA, nameB) : compare(a, b, nameA, nameB);
                    // The rank went up here: equal paths, which would share one, are left to
                    // the whole paths' way, as are paths out of order.
                    if (step >= 0)
                        partInOrder[part] = 0;
                }
                return true;
            },
            [](size_t, bool&&) {});
        inOrder =
            inOrder && std::find(partInOrder.begin(), partInOrder.end(), 0) == partInOrder.end();
        meetings.clear();
    };
    struct Visit {
        uint32_t folder;
        uint32_t child; // the next subfolder, in m_children
        size_t at;      // the next of the folder's own rows
    };
    std::vector<Visit> walk{{0, m_firstChild[0], 0}};
    meetings.reserve(kMeetingsAtOnce);
    while (!walk.empty() && inOrder) {
        if (meetings.size() >= kMeetingsAtOnce)
            checkMeetings();
        if (ranked - toldAt > (size_t{1} << 20)) {
            toldAt = ranked;
            tell(0.4 + 0.55 * static_cast<double>(ranked) / static_cast<double>(rows));
        }
        const Visit visit = walk.back();
        const size_t count = countOf(visit.folder);
        if (visit.child < m_firstChild[visit.folder + 1]) {
            const uint32_t child = m_children[visit.child];
            const size_t place =
                std::max<size_t>(visit.at, std::min<size_t>(m_childAt[child], count));
            rankRows(visit.folder, visit.at, place);
            walk.back() = Visit{visit.folder, visit.child + 1, place};
            walk.push_back(Visit{child, m_firstChild[child], 0});
        } else {
            rankRows(visit.folder, visit.at, count);
            walk.pop_back();
        }
    }
    checkMeetings();
    if (!inOrder)
        return {};
    tell(1);
    return ranks;
}

} // namespace vyp
