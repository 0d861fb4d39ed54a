#include "search/ListSearch.h"

#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/MappedLineRegions.h"
#include "lists/RegionFolders.h"
#include "platform/ParallelInOrder.h"
#include "platform/StreamInOrder.h"
#include "platform/SystemError.h"
#include "search/CaseInsensitiveFinder.h"
#include "search/FoundLine.h"
#include "util/Errors.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

namespace vyp {

namespace {

// What a found line becomes: a row with its texts, or a place in the file.
void AddFound(SearchRows& rows, int32_t listIndex, const FoundLine& found, std::string_view prefix,
              int64_t, int64_t) {
    rows.AddLine(listIndex, found.isFolder, prefix, found.line);
}

void AddFound(SearchHits& hits, int32_t listIndex, const FoundLine& found, std::string_view,
              int64_t lineOffset, int64_t folderOffset) {
    hits.Add(listIndex, found.isFolder, lineOffset, folderOffset);
    if (!found.isFolder)
        hits.NoteExtension(ExtensionOf(found.fields.field[0]));
}

// The rows of a list are decoded once its encoding is known; places need only the file's
// stamp and encoding.
void ListRead(SearchRows& rows, size_t firstRow, int32_t, const ListRegionReader& reader) {
    rows.DecodeFrom(firstRow, reader.Encoding());
}

// A store of places keeps what fitted when memory ran out and drops the rest; rows with texts
// throw std::bad_alloc.
bool OutOfMemory(const SearchRows&) {
    return false;
}
bool OutOfMemory(const SearchHits& hits) {
    return hits.OutOfMemory();
}

void ListRead(SearchHits& hits, size_t, int32_t listIndex, const ListRegionReader& reader) {
    hits.SetFile(listIndex, {reader.Path(), reader.Stamp(), reader.Encoding(), true});
    hits.DecodeExtensions(reader.Encoding());
}

// Finds one form of the search text (as a file in one encoding holds it) in the regions of a
// list file and keeps the matching lines as rows.
template <typename Rows> class FormSearcher {
public:
    FormSearcher(std::string_view needle, int32_t listIndex, Rows& rows)
        : m_finder(needle), m_listIndex(listIndex), m_rows(rows) {}

    void SearchHeader(std::string_view header) {
        // The header is line 0 by position; it shows as a folder row of the root.
        if (m_finder.Find(header.data(), header.data() + header.size()) != nullptr)
            AddFound(m_rows, m_listIndex, FoundLine{header, true, SplitListLine(header)}, {}, 0, 0);
    }

    void SearchRegion(const ListRegion& region) {
        const char* floor = region.lines.data();
        const char* end = floor + region.lines.size();
        const char* p = floor;
        RegionFolders folders(region);
        FoundLine found; // filled again for each line, as there may be millions
        while (const char* match = m_finder.Find(p, end)) {
            const char* lineBegin = LineStartBefore(floor, match);
            TakeFoundLineApart(lineBegin, end, found);
            const std::string_view folder = folders.FolderOf(lineBegin);
            AddFound(m_rows, m_listIndex, found, folder, region.offset + (lineBegin - floor),
                     folders.FolderOffset());
            p = found.line.data() + found.line.size();
        }
    }

private:
    CaseInsensitiveFinder m_finder;
    int32_t m_listIndex;
    Rows& m_rows;
};

// Searches one list file in one pass, in the byte form its encoding gives the text. A text
// with accents is looked for in its UTF-8 form while the file reads as valid UTF-8; should the
// file turn out to be Windows-1250, what the UTF-8 form found is no match, and the file is read
// again from its start for the Windows-1250 form. Lists in Windows-1250 hold accents from their
// first lines, so that second read is short, and the usual UTF-8 list is searched once for one
// form rather than for two.
template <typename Rows>
void SearchFile(std::string_view text, int32_t listIndex, const std::string& path,
                SearchOutcome<Rows>& result) {
    const size_t firstRow = result.rows.size();
    std::optional<ListRegionReader> reader;
    try {
        reader.emplace(path);
    } catch (const VypisnikError& error) {
        result.errors.emplace_back(error.what());
        return;
    }
    // Lines never hold a line end, so such a text matches nothing.
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return;
    // An ASCII text has the same bytes in both encodings.
    const bool ascii = IsAscii(text);
    std::string windows1250Text;
    const bool hasWindows1250Form =
        !ascii && FromUtf8(text, TextEncoding::Windows1250, windows1250Text);
    const bool hasUtf8Form = ascii || IsValidUtf8(text);
    auto isUtf8 = [&reader] {
        return reader->Encoding() == TextEncoding::Utf8;
    };
    // Searches the rest of the file for form; false when the file stopped being UTF-8 while
    // the form was one only a UTF-8 file can hold.
    auto searchRest = [&](std::string_view form, bool onlyInUtf8) {
        FormSearcher<Rows> searcher(form, listIndex, result.rows);
        searcher.SearchHeader(reader->Header());
        ListRegion region;
        while (!OutOfMemory(result.rows) && reader->Next(region)) {
            if (onlyInUtf8 && !isUtf8())
                return false;
            const size_t before = result.rows.size();
            searcher.SearchRegion(region);
            if (reader->CutShort()) { // the region's rows may hold zeros
                result.rows.Truncate(before);
                throw VypisnikError(FileOpenErrorText(path, kErrorCutShort));
            }
        }
        return true;
    };
    try {
        if (ascii) {
            searchRest(text, false);
        } else {
            // The header alone may show Windows-1250 already.
            bool windows1250 = !isUtf8();
            const bool searched = !windows1250 && hasUtf8Form;
            if (searched)
                windows1250 = !searchRest(text, true);
            if (windows1250) {
                result.rows.Truncate(firstRow);
                if (hasWindows1250Form) {
                    if (searched)
                        reader->Restart();
                    searchRest(windows1250Text, false);
                }
            }
        }
    } catch (const VypisnikError& error) {
        result.errors.emplace_back(error.what()); // the rows found so far stay
    }
    ListRead(result.rows, firstRow, listIndex, *reader);
}

// Texts handed on and written come back here to be filled again, so that a search that prints
// gigabytes does not ask the system for fresh memory for every piece.
class TextPool {
public:
    // An empty text, with room for a piece where one came back.
    std::string Take() {
        const std::lock_guard lock(m_mutex);
        if (m_free.empty())
            return {};
        std::string text = std::move(m_free.back());
        m_free.pop_back();
        return text;
    }
    void Give(std::string&& text) {
        if (text.capacity() == 0)
            return;
        text.clear();
        const std::lock_guard lock(m_mutex);
        if (m_free.size() < kKept)
            m_free.push_back(std::move(text));
    }

private:
    static constexpr size_t kKept = 16;
    std::mutex m_mutex;
    std::vector<std::string> m_free;
};

// One list's text in the making for the streamed search: rows made into text by the front end,
// handed on in pieces of about a megabyte, counted on the way.
class StreamedText {
public:
    StreamedText(const SearchRowText& toText, const std::function<void(std::string&&)>& put,
                 TextPool* pool = nullptr)
        : m_toText(toText), m_put(put), m_pool(pool) {
        if (m_pool)
            m_piece = m_pool->Take();
    }
    ~StreamedText() {
        if (m_pool)
            m_pool->Give(std::move(m_piece));
    }
    StreamedText(const StreamedText&) = delete;
    StreamedText& operator=(const StreamedText&) = delete;

    void Row(const SearchRowTexts& row) {
        ++(row.isFolder ? m_folders : m_files);
        m_toText(row, m_piece);
    }
    // The fields of a list line of a file row (prefix its folder) or a folder row, taken as
    // they stand.
    void Line(int32_t listIndex, bool isFolder, std::string_view prefix,
              const ListLineFields& fields) {
        auto field = [&fields](int i) {
            return i < fields.count ? fields.field[i] : std::string_view();
        };
        Row({listIndex, isFolder, isFolder ? std::string_view() : prefix, field(0), field(1),
             field(2), field(3)});
    }
    // Every row of rows, which are dropped after.
    void Rows(SearchRows& rows) {
        for (const SearchRow& row : rows)
            Row(row.AllTexts());
        rows.Truncate(0);
    }
    // Hands on the text made so far once it makes a piece; all of it at the end.
    void HandOn(bool end = false) {
        if (m_piece.size() < kPieceBytes && !(end && !m_piece.empty()))
            return;
        m_put(std::exchange(m_piece, m_pool ? m_pool->Take() : std::string()));
        if (!end && m_piece.capacity() < 2 * kPieceBytes)
            m_piece.reserve(2 * kPieceBytes); // a list that gave one piece gives more
    }
    int32_t Folders() const { return m_folders; }
    int32_t Files() const { return m_files; }
    // What was made so far, to go back to when rows made since must not go out (nothing was
    // handed on in between).
    struct Made {
        size_t bytes;
        int32_t folders;
        int32_t files;
    };
    Made Now() const { return {m_piece.size(), m_folders, m_files}; }
    void BackTo(const Made& made) {
        m_piece.resize(made.bytes);
        m_folders = made.folders;
        m_files = made.files;
    }

    // Big enough that handing on costs nothing, small enough that a list ahead holds little.
    static constexpr size_t kPieceBytes = size_t{1} << 20;

private:
    const SearchRowText& m_toText;
    const std::function<void(std::string&&)>& m_put;
    TextPool* m_pool;
    std::string m_piece;
    int32_t m_folders = 0;
    int32_t m_files = 0;
};

// The rows of a list searched for printing, which cannot be taken back once handed on, while
// the list's encoding may still turn out to be Windows-1250 further down. A row of ASCII bytes
// reads the same in either encoding and may go at once, as long as no row ahead of it waits;
// the first row with other bytes and every row after it wait until the encoding is known. In a
// list known to be UTF-8 a line is made into text as it stands, with no row made of it.
struct StreamedRows {
    explicit StreamedRows(StreamedText& out) : text(out) {}
    StreamedText& text;
    SearchRows ready;   // may go out now, decoded in the list's encoding once that is known
    SearchRows waiting; // raw bytes of the list, until its encoding is known
    bool encodingKnown = false;
    bool direct = false; // known to be UTF-8: lines go to text as they are found
};

void AddFound(StreamedRows& rows, int32_t listIndex, const FoundLine& found,
              std::string_view prefix, int64_t, int64_t) {
    if (rows.direct) {
        rows.text.Line(listIndex, found.isFolder, prefix, found.fields);
        return;
    }
    const bool goesNow =
        rows.waiting.empty() &&
        (rows.encodingKnown || (IsAscii(found.line) && (found.isFolder || IsAscii(prefix))));
    (goesNow ? rows.ready : rows.waiting).AddLine(listIndex, found.isFolder, prefix, found.line);
}

// A list of the streamed search, opened once and cut into pieces that are searched side by
// side through the one open file, so that a list that gives millions of rows keeps both cores
// busy and a list replaced meanwhile is still read whole as it was. A piece after the first
// starts at a folder line, so it needs nothing from the pieces before it but the list's
// encoding, which is known once every byte has been checked: each piece checks its own bytes,
// and whoever holds too many rows waiting for it checks the whole file once.
class StreamedList {
public:
    enum State { kUnknown, kUtf8, kWindows1250 };

    // Opens path and finds the pieces; VypisnikError when it cannot be read.
    StreamedList(std::string path, int64_t pieceBytes) : m_path(std::move(path)) {
        m_file = OpenForReading(m_path);
        FileStamp stamp;
        m_file.Stamp(stamp);
        ReadHeader();
        m_starts.push_back(m_linesStart);
        for (int64_t nominal = m_linesStart + pieceBytes; nominal < stamp.size;
             nominal += pieceBytes) {
            const int64_t start = FolderLineFrom(nominal);
            if (start > m_starts.back() && start < stamp.size)
                m_starts.push_back(start);
        }
    }

    const std::string& Path() const { return m_path; }
    std::string_view Header() const { return m_header; }
    size_t Pieces() const { return m_starts.size(); }
    int64_t PieceStart(size_t piece) const { return m_starts[piece]; }
    // Where the piece ends; -1 for the last, which reads to the end of the file.
    int64_t PieceEnd(size_t piece) const {
        return piece + 1 < m_starts.size() ? m_starts[piece + 1] : -1;
    }
    // The folder of the first piece's lines: the root.
    std::string_view RootFolder() const { return FirstField(m_header); }

    State Known() const { return m_state.load(std::memory_order_acquire); }
    TextEncoding Encoding() const {
        return Known() == kWindows1250 ? TextEncoding::Windows1250 : TextEncoding::Utf8;
    }
    // Bytes met that are not UTF-8 make it a Windows-1250 list; every byte checked a UTF-8 one.
    void Learn(State state) {
        State unknown = kUnknown;
        m_state.compare_exchange_strong(unknown, state, std::memory_order_acq_rel);
    }
    // Rows held somewhere until the encoding is known; once there are more than limit, the whole
    // file is checked (once, whoever asks first) so that they may go.
    void Hold(size_t bytes, size_t limit) {
        if (m_waitingBytes.fetch_add(bytes, std::memory_order_relaxed) + bytes > limit)
            CheckWhole();
    }

    // Checks every byte of the file, once, whoever asks first.
    void CheckWhole();

    int ReadAt(int64_t offset, char* buffer, size_t count, size_t& done) {
        return m_file.ReadAt(offset, buffer, count, done);
    }
    const InputFile& File() const { return m_file; }

private:
    void ReadHeader();
    int64_t FolderLineFrom(int64_t nominal);

    std::string m_path;
    InputFile m_file; // read at offsets only, by every piece at once
    std::string m_header;
    int64_t m_linesStart = 0;
    std::vector<int64_t> m_starts;
    std::atomic<State> m_state{kUnknown};
    std::atomic<size_t> m_waitingBytes{0};
    std::mutex m_checkMutex;
    bool m_checkFailed = false; // reading the whole file failed: the pieces tell what they read
};

void StreamedList::ReadHeader() {
    std::string bytes;
    size_t filled = 0;
    bool atEnd = false;
    size_t end = 0;
    for (;;) {
        end = static_cast<size_t>(LineEndAfter(bytes.data(), bytes.data() + filled) - bytes.data());
        // A CR at the end of what was read may still get its LF.
        if (atEnd || (end < filled && !(bytes[end] == '\r' && end + 1 == filled)))
            break;
        bytes.resize(filled + 65536);
        size_t n = 0;
        if (const int err = m_file.ReadAt(static_cast<int64_t>(filled), bytes.data() + filled,
                                          bytes.size() - filled, n))
            throw VypisnikError(FileOpenErrorText(m_path, err));
        atEnd = n == 0;
        filled += n;
    }
    m_header.assign(bytes.data(), end);
    m_linesStart = PastLineBreak(bytes.data() + end, bytes.data() + filled) - bytes.data();
    if (!IsValidUtf8(m_header))
        Learn(kWindows1250);
}

int64_t StreamedList::FolderLineFrom(int64_t nominal) {
    // The first folder line that starts in a window after nominal, which is widened once; none
    // when the wider one holds none whole (the piece before goes on then).
    std::string window;
    for (const size_t size : {size_t{1} << 14, size_t{1} << 18}) {
        window.resize(size);
        size_t n = 0;
        if (m_file.ReadAt(nominal, window.data(), window.size(), n) != 0)
            return -1;
        const char* begin = window.data();
        const char* end = begin + n;
        const char* lineStart = PastLineBreak(LineEndAfter(begin, end), end);
        const auto* slash = static_cast<const char*>(
            std::memchr(lineStart, '\\', static_cast<size_t>(end - lineStart)));
        if (slash != nullptr && LineEndAfter(slash, end) != end)
            return nominal + (LineStartBefore(lineStart, slash) - begin);
        if (n < size)
            return -1; // the end of the file
    }
    return -1;
}

void StreamedList::CheckWhole() {
    const std::lock_guard lock(m_checkMutex);
    if (Known() != kUnknown || m_checkFailed)
        return;
    bool valid = true;
    if (CheckUtf8From(m_file, m_linesStart, {}, valid) != 0) {
        m_checkFailed = true;
        return;
    }
    Learn(valid ? kUtf8 : kWindows1250);
}

// Reads one piece of a streamed list in regions of whole lines, from the file's mapping where
// the system maps files and else through one reused buffer, checking their bytes while the
// list's encoding is not known.
class PieceReader {
public:
    PieceReader(StreamedList& list, size_t piece)
        : m_list(list), m_start(list.PieceStart(piece)), m_end(list.PieceEnd(piece)),
          m_firstFolder(piece == 0 ? list.RootFolder() : std::string_view()) {
        Restart();
    }

    void Restart() {
        m_next = m_start;
        m_filled = 0;
        m_consumed = 0;
        m_atEnd = false;
        m_folder.assign(m_firstFolder);
        m_lastLines = {};
        m_mapping = m_mapped.Start(m_list.File(), m_start, m_end);
        if (!m_mapping && m_buffer.size() < (size_t{1} << 17))
            m_buffer.resize(size_t{1} << 17);
    }

    // The next region, valid until the next call; false at the piece's end. Throws
    // VypisnikError when reading fails.
    bool Next(ListRegion& region) {
        LastFolderLine(m_lastLines, m_folder); // the folder in force after the last region
        m_lastLines = {};
        if (m_mapping) {
            int64_t offset = 0;
            if (m_mapped.Next(m_lastLines, offset)) {
                HandOut(region, m_lastLines, offset);
                return true;
            }
            if (!m_mapped.Failed())
                return false;
            // The rest is read through the buffer.
            m_mapping = false;
            m_next = m_mapped.Position();
            if (m_buffer.size() < (size_t{1} << 17))
                m_buffer.resize(size_t{1} << 17);
        }
        std::memmove(m_buffer.data(), m_buffer.data() + m_consumed, m_filled - m_consumed);
        m_filled -= m_consumed;
        m_consumed = 0;
        for (;;) {
            const size_t complete =
                m_atEnd ? m_filled : WholeLinesLength(std::string_view(m_buffer.data(), m_filled));
            if (complete > 0 && (m_atEnd || complete > m_buffer.size() / 2)) {
                m_consumed = complete;
                m_lastLines = std::string_view(m_buffer.data(), complete);
                HandOut(region, m_lastLines, m_next - static_cast<int64_t>(m_filled));
                return true;
            }
            if (m_atEnd)
                return false;
            Fill();
        }
    }

    // No byte read was other than UTF-8.
    bool Valid() const { return m_valid; }
    // The file was met cut short in place: the region handed out last may hold zeros.
    bool CutShort() const { return m_mapped.CutShort(); }

private:
    void HandOut(ListRegion& region, std::string_view lines, int64_t offset) {
        region.lines = lines;
        region.folder = m_folder;
        region.offset = offset;
        if (m_valid && m_list.Known() == StreamedList::kUnknown)
            m_valid = IsValidUtf8(lines);
    }

    void Fill() {
        if (m_filled == m_buffer.size())
            m_buffer.resize(m_buffer.size() * 2); // a line longer than the buffer
        size_t count = m_buffer.size() - m_filled;
        if (m_end >= 0)
            count = std::min(count, static_cast<size_t>(std::max<int64_t>(m_end - m_next, 0)));
        size_t n = 0;
        if (count > 0) {
            if (const int err = m_list.ReadAt(m_next, m_buffer.data() + m_filled, count, n))
                throw VypisnikError(FileOpenErrorText(m_list.Path(), err));
        }
        m_next += static_cast<int64_t>(n);
        m_filled += n;
        m_atEnd = n == 0;
    }

    StreamedList& m_list;
    int64_t m_start;
    int64_t m_end;
    std::string_view m_firstFolder;
    MappedLineRegions m_mapped;
    bool m_mapping = false;
    // One buffer for every piece a thread reads where nothing is mapped: pieces are many and
    // short.
    static thread_local std::string m_buffer;
    std::string m_folder;
    std::string_view m_lastLines; // the region handed out last
    size_t m_filled = 0;
    size_t m_consumed = 0;
    int64_t m_next = 0; // where the next read starts
    bool m_atEnd = false;
    bool m_valid = true;
};

thread_local std::string PieceReader::m_buffer;

// What a piece of a streamed list leaves beside the text it handed on.
struct PieceOutcome {
    int32_t foldersFound = 0;
    int32_t filesFound = 0;
    // Rows that were still waiting for the list's encoding at the piece's end, raw bytes; they
    // go out after the piece's text once the encoding is known.
    SearchRows waiting;
    // The waiting rows were found by the UTF-8 form of a text with accents: in a Windows-1250
    // list they are no match, and the piece is searched again for that form.
    bool utf8Form = false;
    std::string error;
};

// The search of one piece: its rows go to text as soon as nothing can change how they read.
// Rows that must wait are held, and once the list holds more than heldBytes of them the whole
// file is checked. A text with accents is looked for in its UTF-8 form until the list is known
// to be Windows-1250 (no such row has gone out then), and the piece then searched again for the
// Windows-1250 form.
PieceOutcome SearchPiece(std::string_view text, int32_t listIndex, StreamedList& list, size_t piece,
                         StreamedText& out, size_t heldBytes, const PieceStepHook& pieceStep) {
    auto reached = [&](PieceStep step) {
        if (pieceStep)
            pieceStep(piece, step);
    };
    PieceOutcome outcome;
    const bool ascii = IsAscii(text);
    std::string windows1250Text;
    const bool hasWindows1250Form =
        !ascii && FromUtf8(text, TextEncoding::Windows1250, windows1250Text);
    PieceReader reader(list, piece);
    StreamedRows rows(out);
    auto handOn = [&](SearchRows& some) {
        some.DecodeFrom(0, list.Encoding());
        out.Rows(some);
        out.HandOn();
    };
    auto release = [&] {
        handOn(rows.ready);
        rows.encodingKnown = true;
        rows.direct = list.Known() == StreamedList::kUtf8;
        handOn(rows.waiting);
    };
    auto isWindows1250 = [&list] {
        return list.Known() == StreamedList::kWindows1250;
    };
    size_t held = 0; // of the waiting rows' bytes, told to the list
    // Searches the piece for form; false when the list turned out to be Windows-1250 while form
    // is the UTF-8 one of a text with accents.
    auto search = [&](std::string_view form, bool onlyInUtf8) {
        FormSearcher<StreamedRows> searcher(form, listIndex, rows);
        if (piece == 0)
            searcher.SearchHeader(list.Header());
        ListRegion region;
        while (reader.Next(region)) {
            reached(PieceStep::ReadRegion);
            if (!reader.Valid()) {
                list.Learn(StreamedList::kWindows1250);
                reached(PieceStep::MetWindows1250);
            }
            if (onlyInUtf8 && isWindows1250())
                return false;
            const StreamedText::Made made = out.Now();
            const size_t ready = rows.ready.size();
            const size_t waiting = rows.waiting.size();
            searcher.SearchRegion(region);
            if (reader.CutShort()) { // none of the region's rows goes out: they may hold zeros
                out.BackTo(made);
                rows.ready.Truncate(ready);
                rows.waiting.Truncate(waiting);
                throw VypisnikError(FileOpenErrorText(list.Path(), kErrorCutShort));
            }
            reached(PieceStep::SearchedRegion);
            if (!rows.encodingKnown && rows.waiting.TextBytes() > held) {
                const size_t more = rows.waiting.TextBytes() - held;
                held += more;
                list.Hold(more, heldBytes);
                if (onlyInUtf8 && isWindows1250())
                    return false;
            }
            // Known once, for good; read once here, as other pieces may learn it meanwhile.
            const StreamedList::State known = list.Known();
            if (!rows.encodingKnown && known != StreamedList::kUnknown) {
                if (onlyInUtf8 && known == StreamedList::kWindows1250)
                    return false; // what this form found is no match
                release();
            } else {
                handOn(rows.ready);
            }
        }
        return true;
    };
    try {
        if (ascii) {
            search(text, false);
        } else {
            outcome.utf8Form = true;
            if (!isWindows1250())
                search(text, true);
            if (isWindows1250()) {
                // What the UTF-8 form found is no match, and none of it went out.
                rows.waiting.Truncate(0);
                outcome.utf8Form = false;
                if (hasWindows1250Form) {
                    rows.encodingKnown = true;
                    reader.Restart();
                    search(windows1250Text, false);
                }
            }
        }
    } catch (const VypisnikError& error) {
        outcome.error = error.what(); // the rows found so far go out
    }
    const StreamedList::State known = list.Known();
    if (outcome.utf8Form && known == StreamedList::kWindows1250) {
        // The list's other pieces learned it after the search above: the writing side searches
        // this piece again.
        rows.waiting.Truncate(0);
    } else if (rows.encodingKnown || known != StreamedList::kUnknown) {
        outcome.utf8Form = false;
        release();
    } else {
        out.Rows(rows.ready); // ASCII rows, the same in either encoding
        outcome.waiting = std::move(rows.waiting);
    }
    out.HandOn(true);
    outcome.foldersFound = out.Folders();
    outcome.filesFound = out.Files();
    return outcome;
}

std::vector<size_t> SearchedLists(const GroupFilter& groups, const ListRegistry& registry) {
    std::vector<size_t> searched;
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) - kFirstGroup)])
            searched.push_back(i);
    }
    return searched;
}

bool IsFolderRow(const SearchRows& rows, size_t i) {
    return rows[i].IsFolder();
}
bool IsFolderRow(const SearchHits& hits, size_t i) {
    return hits.IsFolder(i);
}

template <typename Rows>
void CountRows(const Rows& rows, int32_t& foldersFound, int32_t& filesFound) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (IsFolderRow(rows, i))
            ++foldersFound;
        else
            ++filesFound;
    }
}

template <typename Rows>
SearchOutcome<Rows> SearchAll(std::string_view text, const GroupFilter& groups,
                              const ListRegistry& registry, const SearchProgressHook& progress) {
    SearchOutcome<Rows> result;
    if (text.empty())
        return result;
    const std::vector<size_t> searched = SearchedLists(groups, registry);
    struct Stopped {}; // thrown out of the consuming step, which stops the readers
    try {
        // The lists are read side by side; their rows join the result in registry order.
        ParallelInOrder<SearchOutcome<Rows>>(
            searched.size(),
            [&](size_t k) {
                SearchOutcome<Rows> one;
                SearchFile(text, static_cast<int32_t>(searched[k]), registry.ListPaths[searched[k]],
                           one);
                return one;
            },
            [&](size_t, SearchOutcome<Rows>&& one) {
                int32_t folders = 0;
                int32_t files = 0;
                CountRows(one.rows, folders, files);
                result.rows.Append(std::move(one.rows));
                for (std::string& error : one.errors)
                    result.errors.push_back(std::move(error));
                if (OutOfMemory(result.rows)) {
                    // What fitted stays, counted as the rows are.
                    folders = 0;
                    files = 0;
                    CountRows(result.rows, folders, files);
                    result.foldersFound = folders;
                    result.filesFound = files;
                    result.outOfMemory = true;
                    throw Stopped();
                }
                result.foldersFound += folders;
                result.filesFound += files;
                if (progress && !progress(result.foldersFound, result.filesFound))
                    throw Stopped();
            });
    } catch (const Stopped&) {
        result.stopped = true;
    } catch (const std::bad_alloc&) {
        // The rows of the lists that joined stay; a list that did not fit is left out whole.
        result.stopped = true;
        result.outOfMemory = true;
    }
    result.rows.ShrinkToFit();
    return result;
}

} // namespace

std::string ListNameOf(const rsznListInfo& info) {
    return std::string(ListCaption(info.FileName));
}

SearchResult SearchLists(std::string_view text, const GroupFilter& groups,
                         const ListRegistry& registry, const SearchProgressHook& progress) {
    return SearchAll<SearchRows>(text, groups, registry, progress);
}

SearchHitsResult SearchListHits(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const SearchProgressHook& progress) {
    return SearchAll<SearchHits>(text, groups, registry, progress);
}

SearchCounts SearchListsInOrder(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const std::vector<size_t>& listOrder,
                                const SearchRowText& toText,
                                const std::function<void(std::string_view text)>& write,
                                size_t heldBytes, int64_t pieceBytes,
                                const PieceStepHook& pieceStep) {
    SearchCounts counts;
    if (text.empty())
        return counts;
    const std::vector<size_t> ticked = SearchedLists(groups, registry);
    std::vector<std::pair<size_t, std::string>> errors; // with the list's registry index
    // The lists are opened in print order and cut into pieces; the pieces are searched side by
    // side and their texts written in order.
    std::vector<std::unique_ptr<StreamedList>> lists;
    std::vector<int32_t> listIndices;
    struct Piece {
        size_t list;
        size_t piece;
    };
    std::vector<Piece> pieces;
    for (size_t list : listOrder) {
        if (!std::binary_search(ticked.begin(), ticked.end(), list))
            continue;
        try {
            lists.push_back(std::make_unique<StreamedList>(registry.ListPaths[list], pieceBytes));
        } catch (const VypisnikError& error) {
            errors.emplace_back(list, error.what());
            continue;
        }
        listIndices.push_back(static_cast<int32_t>(list));
        for (size_t p = 0; p < lists.back()->Pieces(); ++p)
            pieces.push_back({lists.size() - 1, p});
    }
    // Lines never hold a line end, so such a text matches nothing; nor does one that has no
    // form in either encoding.
    std::string windows1250Text;
    if (text.find_first_of("\r\n") != std::string_view::npos ||
        (!IsAscii(text) && !IsValidUtf8(text) &&
         !FromUtf8(text, TextEncoding::Windows1250, windows1250Text)))
        pieces.clear();

    // On the writing side: what waits for a list's encoding, in order, and once it is known
    // goes out. A text to write, or a piece's waiting rows (piece says which, for a search again).
    struct Held {
        std::string text;
        SearchRows rows;
        bool utf8Form = false;
        size_t piece = 0;
    };
    std::deque<Held> held;
    size_t heldTextBytes = 0;
    bool holding = false;
    std::vector<bool> errorSeen(lists.size(), false);
    TextPool pool;
    const std::function<void(std::string &&)> writePiece = [&](std::string&& piece) {
        write(piece);
        pool.Give(std::move(piece));
    };
    auto flush = [&](size_t listAt) {
        StreamedList& list = *lists[listAt];
        const int32_t listIndex = listIndices[listAt];
        for (Held& one : held) {
            if (!one.utf8Form || list.Known() != StreamedList::kWindows1250) {
                StreamedText out(toText, writePiece, &pool);
                one.rows.DecodeFrom(0, list.Encoding());
                out.Rows(one.rows);
                out.HandOn(true);
                counts.foldersFound += out.Folders();
                counts.filesFound += out.Files();
                if (!one.text.empty())
                    writePiece(std::move(one.text));
            } else {
                // Found by the UTF-8 form in a Windows-1250 list: searched again for its own form.
                StreamedText out(toText, writePiece, &pool);
                PieceOutcome again =
                    SearchPiece(text, listIndex, list, one.piece, out, heldBytes, pieceStep);
                counts.foldersFound += again.foldersFound;
                counts.filesFound += again.filesFound;
            }
        }
        held.clear();
        heldTextBytes = 0;
        holding = false;
    };
    StreamInOrder<PieceOutcome>(
        pieces.size(),
        [&](size_t k, auto& put) {
            const std::function<void(std::string &&)> putPiece = [&put](std::string&& piece) {
                put(std::move(piece));
            };
            StreamedText out(toText, putPiece, &pool);
            return SearchPiece(text, listIndices[pieces[k].list], *lists[pieces[k].list],
                               pieces[k].piece, out, heldBytes, pieceStep);
        },
        [&](std::string&& piece) {
            if (!holding) {
                writePiece(std::move(piece));
                return;
            }
            heldTextBytes += piece.size();
            Held one;
            one.text = std::move(piece);
            held.push_back(std::move(one));
        },
        [&](size_t k, PieceOutcome&& outcome) {
            const size_t listAt = pieces[k].list;
            StreamedList& list = *lists[listAt];
            counts.foldersFound += outcome.foldersFound;
            counts.filesFound += outcome.filesFound;
            if (!outcome.error.empty() && !errorSeen[listAt]) {
                errorSeen[listAt] = true;
                errors.emplace_back(static_cast<size_t>(listIndices[listAt]),
                                    std::move(outcome.error));
            }
            // A piece searched for the UTF-8 form waits even with no rows: in a Windows-1250
            // list it is searched again.
            if (!outcome.waiting.empty() || outcome.utf8Form) {
                heldTextBytes += outcome.waiting.TextBytes();
                Held one;
                one.rows = std::move(outcome.waiting);
                one.utf8Form = outcome.utf8Form;
                one.piece = pieces[k].piece;
                held.push_back(std::move(one));
                holding = true;
            }
            if (pieces[k].piece + 1 == list.Pieces())
                list.Learn(StreamedList::kUtf8); // every byte was checked and none failed
            else if (holding && list.Known() == StreamedList::kUnknown && heldTextBytes > heldBytes)
                list.CheckWhole();
            if (holding && list.Known() != StreamedList::kUnknown)
                flush(listAt);
        },
        // A piece ahead of the one being written may make all its text (about twice its
        // bytes) before it waits, so the two cores rarely wait for each other.
        12 * StreamedText::kPieceBytes);
    std::stable_sort(errors.begin(), errors.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [list, error] : errors)
        counts.errors.push_back(std::move(error));
    return counts;
}

} // namespace vyp
