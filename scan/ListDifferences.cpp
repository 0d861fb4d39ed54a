#include "scan/ListDifferences.h"

#include "lists/DisplayFormat.h"
#include "lists/ListEntries.h"
#include "lists/ListFile.h"
#include "lists/ListText.h"
#include "lists/SizeText.h"
#include "platform/ParallelInOrder.h"
#include "scan/ListComparison.h"
#include "scan/RescanSummary.h"

#include <memory>

namespace vyp {

namespace {

// A list read and taken apart, on a core of its own.
struct ReadList {
    std::unique_ptr<ListText> text; // where entries point
    std::unique_ptr<ListEntries> entries;
};

ReadList Read(const std::string& path) {
    ReadList list;
    list.text = std::make_unique<ListText>(path);
    list.entries = std::make_unique<ListEntries>(list.text->Text());
    return list;
}

int64_t TotalOf(std::string_view header) {
    return TryParseSizeText(HeaderTotal(header)).value_or(0);
}

std::string CountsText(std::string_view caption, const ComparedListCounts& counts,
                       const RegionalSettings& regional) {
    return std::string(caption) + ": počet složek: " + std::to_string(counts.folders) +
           ", počet souborů: " + std::to_string(counts.files) +
           ", velikost: " + FormatTreeSize(std::to_string(counts.total), regional);
}

} // namespace

std::string_view DifferenceKindText(DifferenceKind kind) {
    switch (kind) {
    case DifferenceKind::OnlyInFirst:
        return "Jen v prvním";
    case DifferenceKind::OnlyInSecond:
        return "Jen ve druhém";
    case DifferenceKind::Changed:
        return "Změněno";
    }
    return {};
}

std::vector<std::string> ComparisonSummaryLines(const ComparisonSummary& summary,
                                                const RegionalSettings& regional) {
    std::vector<std::string> lines;
    if (summary.Same())
        lines.emplace_back("Seznamy obsahují stejné položky.");
    lines.push_back(
        ChangeCountsText("Složky", summary.foldersOnlyInSecond, summary.foldersOnlyInFirst, 0));
    lines.push_back(ChangeCountsText("Soubory", summary.filesOnlyInSecond, summary.filesOnlyInFirst,
                                     summary.filesChanged));
    lines.push_back(CountsText("První seznam", summary.first, regional));
    lines.push_back(CountsText("Druhý seznam", summary.second, regional));
    return lines;
}

std::string_view ListDifferences::Folder(size_t i) const {
    const std::string_view path = Path(i);
    if (IsFolder(i))
        return path;
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

void ListDifferences::Add(DifferenceKind kind, bool isFolder, std::string_view folder,
                          std::string_view name, std::string_view firstFields,
                          std::string_view secondFields) {
    const ListLineFields first = SplitListLine(firstFields);
    const ListLineFields second = SplitListLine(secondFields);
    m_texts.AddWith([&](size_t f, std::string& text) {
        if (f == 0) {
            if (!isFolder)
                text.append(folder);
            text.append(name);
            return;
        }
        const ListLineFields& side = f <= 3 ? first : second;
        const int field = static_cast<int>((f - 1) % 3);
        if (field >= side.count)
            return;
        if (field == 2)
            AppendTimeForDisplay(side.field[field], text);
        else
            text.append(side.field[field]);
    });
    m_kinds.push_back(static_cast<uint8_t>(static_cast<unsigned>(kind) << 1 | (isFolder ? 1 : 0)));
}

void ListDifferences::Clear() {
    m_texts.Truncate(0);
    m_kinds.clear();
}

bool ListDifferences::CompareEach(const std::string& firstPath, const std::string& secondPath,
                                  const Each& each, ComparisonSummary& summary,
                                  const Progress& progress,
                                  const std::function<void()>& allHanded) {
    // Both lists read and taken apart side by side: the comparison then walks what both hold.
    ReadList lists[2];
    ParallelInOrder<ReadList>(
        2, [&](size_t side) { return Read(side == 0 ? firstPath : secondPath); },
        [&](size_t side, ReadList&& list) { lists[side] = std::move(list); });
    const ListEntries& first = *lists[First].entries;

    summary = {};
    // The second list is held, the first met entry by entry: its entries come first, in its
    // order.
    ListComparison second(std::move(*lists[Second].entries));
    summary.second.total = TotalOf(second.HeldHeader());
    summary.second.folders = second.HeldFolders();
    summary.second.files = second.HeldFiles();
    summary.first.total = TotalOf(first.Header());

    ListComparison::Met met;
    // Often enough for a window to paint a running count, rarely enough to cost nothing.
    constexpr uint32_t kEntriesBetweenReports = 1 << 16;
    for (uint32_t i = 0; i < first.Count(); ++i) {
        if (progress && i % kEntriesBetweenReports == kEntriesBetweenReports - 1 &&
            !progress(summary.first.folders, summary.first.files))
            return false;
        second.Meet(first, i, met);
        (met.isFolder ? summary.first.folders : summary.first.files) += 1;
        if (met.found == ListComparison::Found::Missing) {
            (met.isFolder ? summary.foldersOnlyInFirst : summary.filesOnlyInFirst) += 1;
            each({DifferenceKind::OnlyInFirst, met.isFolder, met.folder, met.name, met.fields, {}});
        } else if (met.found == ListComparison::Found::Changed && !met.isFolder) {
            ++summary.filesChanged;
            each(
                {DifferenceKind::Changed, false, met.folder, met.name, met.fields, met.heldFields});
        }
    }
    second.ForEachUnmet([&](const ListComparison::HeldEntry& entry) {
        (entry.isFolder ? summary.foldersOnlyInSecond : summary.filesOnlyInSecond) += 1;
        each({DifferenceKind::OnlyInSecond,
              entry.isFolder,
              entry.folder,
              entry.name,
              {},
              entry.fields});
    });
    if (allHanded)
        allHanded();
    return true;
}

ListDifferences ListDifferences::Compare(const std::string& firstPath,
                                         const std::string& secondPath, const Progress& progress,
                                         const Pieces& pieces) {
    ListDifferences differences;
    // Differences held at most before they are handed to pieces: a few MB, reused.
    constexpr size_t kPiece = 1 << 14;
    auto handOn = [&] {
        if (pieces && differences.Count() != 0) {
            pieces(differences);
            differences.Clear();
        }
    };
    const bool finished = CompareEach(
        firstPath, secondPath,
        [&](const Found& found) {
            differences.Add(found.kind, found.isFolder, found.folder, found.name, found.firstFields,
                            found.secondFields);
            if (differences.Count() >= kPiece)
                handOn();
        },
        differences.m_summary, progress);
    if (!finished)
        return differences;
    handOn();
    differences.m_texts.ShrinkToFit();
    differences.m_kinds.shrink_to_fit();
    return differences;
}

} // namespace vyp
