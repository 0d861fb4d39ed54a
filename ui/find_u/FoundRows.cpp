#include "ui/find_u/FoundRows.h"

#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "platform/ParallelInOrder.h"
#include "qtcore/NameCollator.h"
#include "qtcore/PathRanksByFolder.h"
#include "qtcore/Utf8.h"
#include "search/SearchRowOrder.h"
#include "search/SearchRowsCsv.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace vyp {

namespace {
// Rows painted at once are a few dozen; saving reads this many rows a piece, which bounds what
// their texts hold at a time.
constexpr size_t kKeptRows = 512;
constexpr size_t kPieceRows = size_t{1} << 18;
// Sorting reads the rows in parts side by side, telling of its progress every so many rows (and
// holding the texts of as many when it reads whole rows).
constexpr size_t kRowsATurn = size_t{1} << 16;
// The paths read for a sort are held in blocks of this size; a longer path grows its block.
constexpr size_t kBlockBytes = size_t{1} << 24;
constexpr size_t kLongPath = size_t{1} << 12;
// Ranking paths folder by folder holds the names of this many rows a part, and sorts them
// before reading on.
constexpr size_t kSortBlockRows = size_t{1} << 16;
// Of its progress, reading the folders' texts and making their tree are each told as reading
// one row in so many.
constexpr size_t kFolderShare = 8;
size_t PartsFor(size_t rows) {
    return rows < 4 * kRowsATurn ? 1 : WorkerCount();
}
} // namespace

FoundRows::FoundRows(ExtensionIconCache& icons, RegionalSettings regional)
    : m_icons(icons), m_regional(std::move(regional)), m_kept(kKeptRows) {}

std::vector<FileTableColumn> FoundRows::Columns() {
    return {{{QStringLiteral("Seznam"), 100, Qt::AlignLeft}, FileTableSort::Rank},
            {{QStringLiteral("Soubor / složka"), 200, Qt::AlignLeft}, FileTableSort::Name},
            {{QStringLiteral("Velikost"), 90, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Přesná velikost"), 90, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Datum"), 70, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Čas"), 70, Qt::AlignLeft}, FileTableSort::None}};
}

void FoundRows::Assign(SearchHits&& hits, std::vector<std::string> listNames,
                       const NameCollator& collator) {
    m_reader.Close();
    for (Kept& kept : m_kept)
        kept.row = SIZE_MAX;
    m_changeTold = false;
    m_changed.clear();
    m_hits = std::move(hits);
    m_files = 0;
    for (size_t row = 0; row < m_hits.size(); ++row)
        m_files += m_hits.IsFolder(row) ? 0 : 1;
    m_listNames = std::move(listNames);
    m_ranks = RankListNames(m_listNames, [&collator](std::string_view a, std::string_view b) {
        return collator.Compare(a, b);
    });
    // The cache is asked once per spelling of an extension, not once per row: a search can
    // find millions of files of a handful of types.
    m_extImages.clear();
    for (const std::string& ext : m_hits.Extensions())
        m_extImages.emplace(ext, m_icons.ImageIndexForExt(ext));
}

bool FoundRows::Read(SearchHitReader& reader, size_t row, SearchRows& texts) const {
    const int32_t list = m_hits.ListIndex(row);
    // Once a list is found changed, none of its rows shows a text any more.
    if (Changed(list))
        texts.AddLine(list, m_hits.IsFolder(row), {}, {});
    else if (reader.Read(row, texts))
        return true;
    NoteChanged(list);
    TellChange(row);
    return false;
}

void FoundRows::TellChange(size_t row) const {
    if (m_changeTold)
        return;
    m_changeTold = true;
    if (onListChanged)
        onListChanged(ListName(row));
}

const FoundRows::Kept& FoundRows::KeptRow(size_t row) const {
    Kept& kept = m_kept[row % m_kept.size()];
    if (kept.row == row && kept.same && !StillSame(m_hits.ListIndex(row)))
        kept.row = SIZE_MAX; // read again: the list changed since these texts were read
    if (kept.row != row) {
        kept.texts.Truncate(0);
        kept.same = Read(m_reader, row, kept.texts);
        kept.row = row;
        // Opened for each row, so that every read checks the stamp again and no list stays
        // held open between paints; a paint reads a few dozen rows.
        m_reader.Close();
    }
    return kept;
}

bool FoundRows::StillSame(int32_t list) const {
    // Rows kept from an earlier paint are shown again only while their list keeps its stamp,
    // looked at a few times a second rather than at every cell.
    if (Changed(list))
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastLook < std::chrono::milliseconds(200) && list == m_lastLookedList)
        return true;
    m_lastLook = now;
    m_lastLookedList = list;
    const SearchedListFile& file = m_hits.File(list);
    InputFile input;
    FileStamp stamp;
    if (input.Open(file.path, false) == 0 && input.Stamp(stamp) == 0 && stamp == file.stamp)
        return true;
    NoteChanged(list);
    return false;
}

bool FoundRows::Changed(int32_t list) const {
    const auto index = static_cast<size_t>(list);
    return index < m_changed.size() && m_changed[index];
}

void FoundRows::NoteChanged(int32_t list) const {
    const auto index = static_cast<size_t>(list);
    if (index >= m_changed.size())
        m_changed.resize(index + 1);
    m_changed[index] = true;
}

bool FoundRows::ReadRow(size_t row, SearchRows& texts) const {
    texts.Truncate(0);
    const bool same = Read(m_reader, row, texts);
    m_reader.Close();
    return same;
}

std::string_view FoundRows::ListName(size_t row) const {
    const auto list = static_cast<size_t>(m_hits.ListIndex(row));
    return list < m_listNames.size() ? std::string_view(m_listNames[list]) : std::string_view();
}

QString FoundRows::CellText(size_t row, int column) const {
    if (column == Seznam)
        return Utf8(ListName(row));
    const Kept& kept = KeptRow(row);
    if (!kept.same)
        return {}; // never a text the search did not find
    const SearchRow found = kept.texts[0];
    switch (static_cast<Column>(column)) {
    case Seznam:
        break;
    case SouborSlozka:
        return Utf8(found.Path());
    case Velikost: {
        // A size that is no number (a damaged list) shows only in "Přesná velikost".
        const std::optional<int64_t> size = found.Size();
        return size ? Utf8(FormatMB(*size, m_regional)) : QString();
    }
    case PresnaVelikost:
        return Utf8(FormatExactSize(found.SizeText()));
    case Datum:
        return Utf8(found.DateText());
    case Cas:
        return Utf8(found.TimeText());
    }
    return {};
}

int FoundRows::CellImage(size_t row, int column) const {
    switch (static_cast<Column>(column)) {
    case Seznam:
        return ExtensionIconCache::kListPicture;
    case SouborSlozka: {
        if (m_hits.IsFolder(row))
            return ExtensionIconCache::kFolderPicture;
        const Kept& kept = KeptRow(row);
        if (!kept.same)
            return ExtensionIconCache::kBlankDocument;
        const auto known = m_extImages.find(kept.texts[0].Extension());
        return known != m_extImages.end() ? known->second : ExtensionIconCache::kBlankDocument;
    }
    case Velikost:
    case PresnaVelikost:
    case Datum:
    case Cas:
        return -1;
    }
    return -1;
}

std::string_view FoundRows::SortName(size_t row, int column) const {
    // Valid until the next row is read; sorting reads every path at once (WithSortNames).
    return column == Seznam ? ListName(row) : KeptRow(row).texts[0].Path();
}

std::optional<int64_t> FoundRows::SortSize(size_t row, int) const {
    return KeptRow(row).texts[0].Size();
}

uint32_t FoundRows::SortRank(size_t row, int) const {
    const auto list = static_cast<size_t>(m_hits.ListIndex(row));
    return list < m_ranks.size() ? m_ranks[list] : UINT32_MAX;
}

bool FoundRows::ChangesFound::Changed(int32_t list) const {
    const auto index = static_cast<size_t>(list);
    return index < changed.size() && changed[index];
}

void FoundRows::ChangesFound::Note(int32_t list, size_t row) {
    const auto index = static_cast<size_t>(list);
    if (index >= changed.size())
        changed.resize(index + 1);
    if (!changed[index])
        lists.push_back(list);
    changed[index] = true;
    firstRow = std::min(firstRow, row);
}

size_t FoundRows::PartBound(size_t part, size_t parts, size_t step) const {
    const size_t count = m_hits.size();
    return part == parts ? count : count * part / parts / step * step;
}

void FoundRows::ReadInParts(
    const std::function<void(size_t part, size_t begin, size_t end, ChangesFound& changes)>& read,
    size_t parts, size_t step) const {
    std::vector<ChangesFound> found(parts, ChangesFound{m_changed, {}, SIZE_MAX});
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            read(part, PartBound(part, parts, step), PartBound(part + 1, parts, step), found[part]);
            return true;
        },
        [](size_t, bool&&) {});
    for (const ChangesFound& changes : found) {
        for (int32_t list : changes.lists)
            NoteChanged(list);
        m_untoldChange = std::min(m_untoldChange, changes.firstRow);
    }
}

void FoundRows::AfterSort() const {
    if (m_untoldChange != SIZE_MAX)
        TellChange(std::exchange(m_untoldChange, SIZE_MAX));
}

void FoundRows::WithSortNames(
    int column, const RowsRead& rowsRead,
    const std::function<void(const std::vector<std::string_view>& names)>& use) const {
    if (column != SouborSlozka) {
        FileTableRows::WithSortNames(column, rowsRead, use);
        return;
    }
    // The paths in blocks for each part, held for this sort only, and each one's length. A
    // block is filled and never grown, so that the paths of millions of rows are not copied
    // along as one buffer doubles, nor held twice meanwhile.
    const size_t parts = PartsFor(m_hits.size());
    struct Block {
        std::string bytes;
        size_t rows = 0;
    };
    std::vector<std::vector<Block>> paths(parts);
    std::vector<uint32_t> lengths(m_hits.size());
    ReadInParts(
        [&](size_t part, size_t begin, size_t end, ChangesFound& changes) {
            SearchHitReader reader(m_hits);
            std::vector<Block>& blocks = paths[part];
            for (size_t row = begin; row < end; ++row) {
                if (blocks.empty() ||
                    blocks.back().bytes.size() + kLongPath > blocks.back().bytes.capacity()) {
                    blocks.emplace_back();
                    blocks.back().bytes.reserve(kBlockBytes);
                }
                Block& block = blocks.back();
                const int32_t list = m_hits.ListIndex(row);
                const size_t before = block.bytes.size();
                if (changes.Changed(list) || !reader.AppendPath(row, block.bytes))
                    changes.Note(list, row);
                lengths[row] = static_cast<uint32_t>(block.bytes.size() - before);
                ++block.rows;
                if ((row - begin + 1) % kRowsATurn == 0)
                    rowsRead(kRowsATurn);
            }
            rowsRead((end - begin) % kRowsATurn);
        },
        parts);
    std::vector<std::string_view> names(m_hits.size());
    size_t row = 0;
    for (const std::vector<Block>& blocks : paths)
        for (const Block& block : blocks) {
            const char* at = block.bytes.data();
            for (const size_t end = row + block.rows; row < end; ++row) {
                names[row] = std::string_view(at, lengths[row]);
                at += lengths[row];
            }
        }
    std::vector<uint32_t>().swap(lengths);
    use(names);
}

bool FoundRows::WithSortPaths(int column, const RowsRead& rowsRead,
                              const std::function<void(const FolderedPaths& paths)>& use) const {
    if (column != SouborSlozka)
        return false;
    // Each part reads the path of each folder line its rows refer to once, at its first row,
    // and every row's own name, packed (4 bytes a row beside the names). A row of a list changed
    // since the search has an empty path: folder 0, "", and no name. The parts start at a
    // segment of the names, so that each segment is filled by one part.
    const size_t count = m_hits.size();
    const size_t parts = PartsFor(count);
    constexpr size_t kSegmentRows = size_t{1} << PackedNames::kSegmentBits;
    struct Part {
        std::string folderBytes;
        std::vector<size_t> folderEnds;
        bool tooLong = false;
    };
    std::vector<Part> read(parts);
    FolderedPaths paths;
    paths.folderOf.resize(count);
    paths.names = PackedNames(count);
    ReadInParts(
        [&](size_t part, size_t begin, size_t end, ChangesFound& changes) {
            SearchHitReader reader(m_hits);
            Part& mine = read[part];
            // A folder by its list and its line's offset; a folder's rows mostly come together.
            std::unordered_map<uint64_t, uint32_t> folders;
            uint64_t lastKey = UINT64_MAX;
            uint32_t lastFolder = 0;
            for (size_t row = begin; row < end; ++row) {
                std::string& bytes = paths.names.Bytes(row);
                if (row % kSegmentRows == 0 && row > begin)
                    bytes.reserve(paths.names.Bytes(row - 1).size() / 8 * 9);
                const int32_t list = m_hits.ListIndex(row);
                uint32_t folder = 0; // the empty path's, until read
                if (changes.Changed(list)) {
                    changes.Note(list, row);
                } else {
                    const int64_t offset =
                        m_hits.IsFolder(row) ? m_hits.LineOffset(row) : m_hits.FolderOffset(row);
                    const uint64_t key =
                        static_cast<uint64_t>(list) << 40 | static_cast<uint64_t>(offset);
                    const auto known = key == lastKey ? folders.end() : folders.find(key);
                    if (key == lastKey && !m_hits.IsFolder(row)) {
                        // The folder's line was read with the row before, from the open file.
                        if (reader.AppendFileName(row, bytes))
                            folder = lastFolder;
                        else
                            changes.Note(list, row);
                    } else if (key == lastKey || known != folders.end()) {
                        if (reader.AppendPathParts(row, nullptr, bytes)) {
                            folder = key == lastKey ? lastFolder : known->second;
                            lastKey = key;
                            lastFolder = folder;
                        } else {
                            changes.Note(list, row);
                        }
                    } else if (reader.AppendPathParts(row, &mine.folderBytes, bytes)) {
                        mine.folderEnds.push_back(mine.folderBytes.size());
                        folder = static_cast<uint32_t>(mine.folderEnds.size()); // from 1 in a part
                        folders.emplace(key, folder);
                        lastKey = key;
                        lastFolder = folder;
                    } else {
                        changes.Note(list, row);
                    }
                }
                paths.folderOf[row] = folder;
                mine.tooLong = !paths.names.End(row) || mine.tooLong;
                if ((row - begin + 1) % kRowsATurn == 0)
                    rowsRead(kRowsATurn);
            }
            rowsRead((end - begin) % kRowsATurn);
        },
        parts, kSegmentRows);
    // The parts' folders one after the other, after the empty path's.
    paths.folders.emplace_back();
    std::vector<uint32_t> firstFolder(parts);
    for (size_t part = 0; part < parts; ++part) {
        if (read[part].tooLong)
            return false; // names of more than 4 GiB in 65,536 rows: read whole paths instead
        firstFolder[part] = static_cast<uint32_t>(paths.folders.size()) - 1;
        size_t start = 0;
        for (const size_t end : read[part].folderEnds) {
            paths.folders.emplace_back(read[part].folderBytes.data() + start, end - start);
            start = end;
        }
    }
    for (size_t part = 0; part < parts; ++part) {
        const size_t last = PartBound(part + 1, parts, kSegmentRows);
        for (size_t row = PartBound(part, parts, kSegmentRows); row < last; ++row)
            if (paths.folderOf[row] != 0)
                paths.folderOf[row] += firstFolder[part];
    }
    use(paths);
    return true;
}

bool FoundRows::RankPaths(int column, const NameCollator& collator, const RowsRead& rowsRead,
                          const std::function<void(double done)>& ranked,
                          std::vector<uint32_t>& ranks) const {
    const size_t count = m_hits.size();
    if (column != SouborSlozka || count == 0 || count >= UINT32_MAX)
        return false;
    // Rows of a list found changed have empty paths, which the whole paths' way gives them.
    if (std::find(m_changed.begin(), m_changed.end(), true) != m_changed.end())
        return false;
    // The runs: the rows of one folder line of one list come one after the other.
    std::vector<uint32_t> runStarts;
    uint64_t lastKey = UINT64_MAX;
    for (size_t row = 0; row < count; ++row) {
        const int64_t offset =
            m_hits.IsFolder(row) ? m_hits.LineOffset(row) : m_hits.FolderOffset(row);
        const uint64_t key =
            static_cast<uint64_t>(m_hits.ListIndex(row)) << 40 | static_cast<uint64_t>(offset);
        if (key != lastKey)
            runStarts.push_back(static_cast<uint32_t>(row));
        lastKey = key;
    }
    // Parts of whole runs, about as many rows each (a run's part is held in a byte).
    const size_t parts = std::min<size_t>(PartsFor(count), 64);
    std::vector<size_t> partRun(parts + 1, runStarts.size());
    for (size_t part = 0; part < parts; ++part)
        partRun[part] = static_cast<size_t>(
            std::lower_bound(runStarts.begin(), runStarts.end(), count * part / parts) -
            runStarts.begin());
    // Each run's folder text first: the tree of the folders is known before any name is read.
    std::vector<std::string> folderBytes(parts);
    std::vector<std::vector<size_t>> folderEnds(parts);
    std::atomic<bool> same{true};
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            SearchHitReader reader(m_hits);
            std::string name;
            size_t unreported = 0;
            for (size_t run = partRun[part]; run < partRun[part + 1] && same; ++run) {
                name.clear();
                if (!reader.AppendPathParts(runStarts[run], &folderBytes[part], name))
                    same = false;
                folderEnds[part].push_back(folderBytes[part].size());
                const size_t end = run + 1 < runStarts.size() ? runStarts[run + 1] : count;
                unreported += end - runStarts[run];
                if (unreported >= kRowsATurn / 4 * kFolderShare) {
                    rowsRead(unreported / kFolderShare);
                    unreported %= kFolderShare;
                }
            }
            rowsRead(unreported / kFolderShare);
            return true;
        },
        [](size_t, bool&&) {});
    if (!same)
        return false;
    std::vector<std::string_view> folders;
    folders.reserve(runStarts.size());
    for (size_t part = 0; part < parts; ++part) {
        size_t start = 0;
        for (const size_t end : folderEnds[part]) {
            folders.push_back(std::string_view(folderBytes[part]).substr(start, end - start));
            start = end;
        }
    }
    size_t treeTold = 0;
    const size_t treeRows = count / kFolderShare;
    PathRanksByFolder byFolder(
        collator, std::move(folders), std::move(runStarts), count, parts, [&](double done) {
            const auto now = static_cast<size_t>(done * static_cast<double>(treeRows));
            rowsRead(now - std::min(now, treeTold));
            treeTold = std::max(now, treeTold);
        });
    if (!byFolder.FollowsTheTree())
        return false;
    // The names, a block of whole runs at a time, each block sorted as soon as it is read.
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            SearchHitReader reader(m_hits);
            PackedNames block;
            std::string name;
            size_t blockRun = partRun[part], unreported = 0;
            for (size_t run = partRun[part]; run < partRun[part + 1] && same; ++run) {
                const size_t first = byFolder.RunStart(run), end = byFolder.RunStart(run + 1);
                for (size_t row = first; row < end; ++row) {
                    name.clear();
                    const bool read = row == first || m_hits.IsFolder(row)
                                          ? reader.AppendPathParts(row, nullptr, name)
                                          : reader.AppendFileName(row, name);
                    if (!read || !block.Append(name))
                        same = false;
                }
                unreported += end - first - (end - first) / kFolderShare * 2;
                if (block.size() >= kSortBlockRows || run + 1 == partRun[part + 1]) {
                    byFolder.SortRuns(part, blockRun, run + 1, block);
                    block = PackedNames();
                    blockRun = run + 1;
                }
                if (unreported >= kRowsATurn / 4) { // a block's sort comes between
                    rowsRead(unreported);
                    unreported = 0;
                }
            }
            rowsRead(unreported);
            return true;
        },
        [](size_t, bool&&) {});
    if (!same)
        return false;
    ranks = byFolder.Ranks(ranked);
    return !ranks.empty();
}

bool FoundRows::SortSizeKeys(int, const RowsRead& rowsRead, std::vector<uint64_t>& keys) const {
    keys.assign(m_hits.size(), 0);
    std::atomic<bool> keyed{true};
    ReadInParts(
        [&](size_t, size_t begin, size_t end, ChangesFound& changes) {
            // Each row's size read where its line is, no text of the row made; a row of a list
            // changed since the search has none.
            SearchHitReader reader(m_hits);
            for (size_t first = begin; first < end; first += kRowsATurn) {
                const size_t last = std::min(end, first + kRowsATurn);
                for (size_t row = first; row < last; ++row) {
                    const int32_t list = m_hits.ListIndex(row);
                    std::optional<int64_t> size;
                    std::string_view text;
                    if (!changes.Changed(list)) {
                        if (reader.SizeText(row, text))
                            size = TryParseSizeText(text);
                        else
                            changes.Note(list, row);
                    }
                    if (size == std::numeric_limits<int64_t>::min())
                        keyed = false;
                    keys[row] = SizeSortKey(size);
                }
                rowsRead(last - first);
            }
        },
        PartsFor(m_hits.size()));
    return keyed;
}

void FoundRows::AppendCsvHeader(std::string& out) const {
    AppendSearchRowsCsvHeader(out);
}

void FoundRows::AppendCsvRow(size_t row, std::string& out) const {
    AppendCsvRows({row}, out);
}

void FoundRows::AppendCsvRows(const std::vector<size_t>& rows, std::string& out) const {
    // A piece of the rows read in file order, then written in the order given.
    SearchHitReader reader(m_hits);
    SearchRows texts;
    std::vector<uint32_t> order;
    std::vector<uint32_t> where;
    for (size_t first = 0; first < rows.size(); first += kPieceRows) {
        const size_t count = std::min(rows.size() - first, kPieceRows);
        order.resize(count);
        std::iota(order.begin(), order.end(), uint32_t{0});
        std::sort(order.begin(), order.end(),
                  [&](uint32_t a, uint32_t b) { return rows[first + a] < rows[first + b]; });
        where.resize(count);
        texts.Truncate(0);
        for (uint32_t k : order) {
            where[k] = static_cast<uint32_t>(texts.size());
            Read(reader, rows[first + k], texts);
        }
        for (size_t k = 0; k < count; ++k) {
            // The list's name as the table shows it.
            const size_t row = rows[first + k];
            AppendSearchRowCsv(texts[where[k]], Utf8Bytes(Utf8(ListName(row))), m_regional, out);
        }
    }
}

} // namespace vyp
