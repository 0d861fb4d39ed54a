// The rows of a list search held as places in the list files instead of texts: a row is its
// list, whether it is a folder row, where its line starts and where its folder's line starts,
// 16 bytes whatever the names, so a search that finds millions of rows holds a few bytes each.
// The rows lie in pieces of a fixed size that never move: the store grows a piece at a time
// instead of copying all its rows into an array twice as large, and a store that ends at a
// piece's end takes the pieces of a store appended to it as they are. When memory runs out the
// store keeps the rows it has and drops those after them (OutOfMemory), so a search stops with
// what it found.
// Each searched list keeps the stamp its file had when it was read; the texts are read back
// from the file (SearchHitReader) when they are shown, sorted or saved, and a file whose stamp
// changed gives none.
#pragma once

#include "platform/Files.h"
#include "util/Encoding.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyp {

// A searched list's file as the search read it.
struct SearchedListFile {
    std::string path;
    FileStamp stamp;
    TextEncoding encoding = TextEncoding::Utf8;
    bool read = false; // false: not searched, or its file could not be opened
};

class SearchHits {
public:
    SearchHits() = default;
    SearchHits(SearchHits&& other) noexcept { *this = std::move(other); }
    SearchHits& operator=(SearchHits&& other) noexcept;
    SearchHits(const SearchHits&) = delete;
    SearchHits& operator=(const SearchHits&) = delete;
    ~SearchHits() = default;

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    int32_t ListIndex(size_t i) const {
        return static_cast<int32_t>((At(i).line & kListMask) >> 1);
    }
    bool IsFolder(size_t i) const { return (At(i).line & 1) != 0; }
    // Where the row's line starts in its list file (0: the header).
    int64_t LineOffset(size_t i) const { return static_cast<int64_t>(At(i).line >> kListBits); }
    // Where the line of a file row's folder starts (0: the header, whose root holds the files
    // above every folder line).
    int64_t FolderOffset(size_t i) const { return At(i).folder; }

    // Throws VypisnikError for a list index or an offset beyond what a row can hold (a list of
    // more than 8 million entries in the registry, a list file above a terabyte). A row for which
    // no memory is left is dropped, and so is every row after it.
    void Add(int32_t listIndex, bool isFolder, int64_t lineOffset, int64_t folderOffset);
    // Moves every row and list of other to the end, other's pieces as they are when this store
    // ends at a piece's end, else copied a piece at a time, each of other's freed once copied.
    void Append(SearchHits&& other);
    void Truncate(size_t count);
    void ShrinkToFit();
    // A row was dropped for want of memory (this store's or an appended one's) since the store
    // was last truncated: the rows kept are those before it.
    bool OutOfMemory() const { return m_outOfMemory; }

    // Rows in a piece, and where the memory of a piece comes from (std::malloc unless a test
    // gives an allocator that runs out; nullptr: no memory). Pieces are freed with std::free.
    static constexpr size_t kPieceRows = size_t{1} << 16;
    using PieceAllocator = void* (*)(size_t bytes);
    // Returns the allocator before.
    static PieceAllocator SetPieceAllocator(PieceAllocator allocator);

    // The file of a list, by registry index; one not searched reads as not read.
    void SetFile(int32_t listIndex, SearchedListFile file);
    const SearchedListFile& File(int32_t listIndex) const;
    size_t ListCount() const { return m_files.size(); }

    // The extensions of the file rows' names, each spelling once, UTF-8: the pictures the rows
    // need, known without reading their lines again.
    const std::set<std::string, std::less<>>& Extensions() const { return m_extensions; }
    // Notes a file row's extension, as the list's bytes hold it (see DecodeExtensions).
    void NoteExtension(std::string_view extension);
    // Turns the extensions noted since the last call from encoding to UTF-8.
    void DecodeExtensions(TextEncoding encoding);

private:
    static constexpr int kListBits = 24; // 23 bits of list index above the folder bit
    static constexpr uint64_t kListMask = (uint64_t{1} << kListBits) - 1;

    struct Place {
        uint64_t line;  // line offset, list index and the folder bit
        int64_t folder; // the folder line's offset
    };
    struct FreePiece {
        void operator()(Place* piece) const;
    };
    using Piece = std::unique_ptr<Place[], FreePiece>;
    static constexpr size_t kPieceMask = kPieceRows - 1;
    static constexpr int kPieceBits = 16;
    static_assert(kPieceRows == size_t{1} << kPieceBits);

    const Place& At(size_t i) const { return m_pieces[i >> kPieceBits][i & kPieceMask]; }
    // Room for one more row at the end; false, the store out of memory, when there is none.
    bool MakeRoom();
    // Frees the pieces past those the rows need.
    void FreeSpare();

    std::vector<Piece> m_pieces; // all but the last full
    size_t m_size = 0;
    bool m_outOfMemory = false;
    std::vector<SearchedListFile> m_files;
    std::set<std::string, std::less<>> m_extensions;
    std::set<std::string, std::less<>> m_newExtensions; // as stored, not yet decoded
    std::string m_lastExtension;                        // spares a lookup for runs of one type
    bool m_anyExtensionNoted = false; // whether m_lastExtension holds one ("" is an extension too)
};

} // namespace vyp
