// The ranks of many rows' paths in the locale's collation, as NameCollator::Ranks gives them for
// the whole paths, made folder by folder while the rows are read: the rows come in runs of one
// folder (a list's folder line and its files), and each run's rows are put in order by their
// names as soon as its names are read, on the thread that read them, keeping of the names only
// the few where the run meets another folder's rows. What is left to the end is the tree of the
// folders, the walk through it, and the collator's check where neighbours come from two folders;
// every row's name is never held at once.
#pragma once

#include "qtcore/FolderedPaths.h"

#include <QCollator>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vyp {

class NameCollator;

class PathRanksByFolder {
public:
    // Run r is the rows from runStarts[r] to the next run's start (the last one to rows), of the
    // folder text folders[r] (as FolderedPaths gives a folder: "Fotky\2024\", "" at the top).
    // The same text may be the folder of several runs (the same folder in two lists). parts: how
    // many threads give runs side by side (SortRuns). made hears how much of the folders' tree
    // is made (0 to 1), a few dozen times.
    PathRanksByFolder(const NameCollator& collator, std::vector<std::string_view> folders,
                      std::vector<uint32_t> runStarts, size_t rows, size_t parts,
                      const std::function<void(double done)>& made = {});

    size_t RunCount() const { return m_runStart.size() - 1; }
    size_t RunStart(size_t run) const { return m_runStart[run]; }

    // Whether the whole paths' order may follow the tree of the folders: false when two
    // subfolders of one folder differ only in case or accents, whose rows interleave (then rank
    // the whole paths instead, without reading the names here).
    bool FollowsTheTree() const { return m_followsTree; }

    // Puts the rows of runs firstRun..lastRun-1 in order by their names: names[i] is the name of
    // row RunStart(firstRun) + i. Each part calls this on one thread of its own, for its runs in
    // order; the parts run side by side, each run given by one part once.
    void SortRuns(size_t part, size_t firstRun, size_t lastRun, const PackedNames& names);

    // The ranks of the rows' whole paths (folder and name), equal paths sharing one, once every
    // run was sorted; empty when the walk through the folders is not the collator's order of the
    // whole paths somewhere (then rank the whole paths instead). progress hears on this thread
    // how much of this last step is done (0 to 1).
    std::vector<uint32_t> Ranks(const std::function<void(double done)>& progress = {});

private:
    // The names kept by one part, each with its place in its run's order.
    struct KeptNames {
        std::string bytes;
        std::vector<size_t> ends;
        std::vector<uint32_t> places;
        std::string_view operator[](size_t k) const {
            const size_t begin = k == 0 ? 0 : ends[k - 1];
            return std::string_view(bytes).substr(begin, ends[k] - begin);
        }
    };
    struct Part {
        QCollator collator;
        KeptNames kept;
    };
    // A kept name: its part, and its number there.
    struct NameRef {
        uint32_t part = UINT32_MAX;
        uint32_t kept = 0;
    };
    // A folder of the tree whose rows come in more than one run: its rows in order, merged at
    // the end from the runs' kept names.
    struct Merged {
        std::vector<uint32_t> rows;
        std::vector<int8_t> steps;
        std::vector<NameRef> names;
    };
    // Where two folders' rows meet in the walk: the collator compares their whole paths.
    struct Meeting {
        uint32_t folders[2]; // in the tree
        NameRef names[2];
    };

    void MakeTree(const std::vector<std::string_view>& folders,
                  const std::function<void(double done)>& made);
    // Sorts the subfolders of every folder of the tree by their names; false when two of them
    // differ only in case or accents.
    bool SortChildren(const std::function<void(double done)>& progress);
    // The place of each of folder's subfolders among rows (count of them, in order, whose names
    // name(i) gives): before the first row that comes after it.
    template <typename NameAt>
    void PlaceChildren(const QCollator& collator, uint32_t folder, size_t count,
                       const NameAt& name);
    void MergeRuns(const QCollator& collator, uint32_t folder, Merged& merged);
    std::string_view Name(NameRef ref) const { return m_parts[ref.part].kept[ref.kept]; }
    // The kept name of place in run's order.
    NameRef KeptAt(uint32_t run, uint32_t place) const;

    const NameCollator& m_collator;
    QCollator m_own;                   // for the thread that makes this and asks for the ranks
    std::vector<uint32_t> m_runStart;  // by run, and the row count after the last
    std::vector<uint32_t> m_runFolder; // by run: its folder in the tree
    std::vector<uint8_t> m_runPart;
    std::vector<uint32_t> m_runKept; // by run: its first kept name in its part; and the end
    std::vector<uint32_t> m_runKeptEnd;
    // The tree: folder 0 is the top; each folder's whole text, the folder above it, its
    // subfolders in order (m_children[m_firstChild[f] .. m_firstChild[f + 1])) and its runs.
    std::vector<std::string_view> m_text;
    std::vector<uint32_t> m_parent;
    std::vector<uint32_t> m_firstChild, m_children;
    std::vector<uint32_t> m_firstRun, m_runs;
    std::vector<uint32_t> m_childAt; // by folder: its place among the rows of the folder above
    std::vector<uint32_t> m_order;   // by row place: the run's rows in order
    std::vector<int8_t> m_steps;     // by row place: the collator's order of it and the next
    std::vector<Part> m_parts;
    bool m_followsTree = true;
    std::vector<Merged> m_merged;
    std::vector<uint32_t> m_mergedOf; // by folder: its number in m_merged, or UINT32_MAX
};

} // namespace vyp
