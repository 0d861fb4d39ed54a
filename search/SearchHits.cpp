#include "search/SearchHits.h"

#include "util/Errors.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vyp {

namespace {
void* MallocPiece(size_t bytes) {
    return std::malloc(bytes);
}
std::atomic<SearchHits::PieceAllocator> g_pieceAllocator{&MallocPiece};
} // namespace

SearchHits::PieceAllocator SearchHits::SetPieceAllocator(PieceAllocator allocator) {
    return g_pieceAllocator.exchange(allocator != nullptr ? allocator : &MallocPiece);
}

void SearchHits::FreePiece::operator()(Place* piece) const {
    std::free(piece);
}

SearchHits& SearchHits::operator=(SearchHits&& other) noexcept {
    if (this == &other)
        return *this;
    m_pieces = std::move(other.m_pieces);
    m_size = std::exchange(other.m_size, 0);
    m_outOfMemory = std::exchange(other.m_outOfMemory, false);
    m_files = std::move(other.m_files);
    m_extensions = std::move(other.m_extensions);
    m_newExtensions = std::move(other.m_newExtensions);
    m_lastExtension = std::move(other.m_lastExtension);
    m_anyExtensionNoted = std::exchange(other.m_anyExtensionNoted, false);
    other.m_pieces.clear();
    other.m_files.clear();
    other.m_extensions.clear();
    other.m_newExtensions.clear();
    other.m_lastExtension.clear();
    return *this;
}

bool SearchHits::MakeRoom() {
    if (m_outOfMemory)
        return false;
    if ((m_size >> kPieceBits) < m_pieces.size())
        return true;
    try {
        m_pieces.reserve(m_pieces.size() + 1);
    } catch (const std::bad_alloc&) {
        m_outOfMemory = true;
        return false;
    }
    void* memory = g_pieceAllocator.load()(kPieceRows * sizeof(Place));
    if (memory == nullptr) {
        m_outOfMemory = true;
        return false;
    }
    m_pieces.emplace_back(static_cast<Place*>(memory));
    return true;
}

void SearchHits::FreeSpare() {
    m_pieces.resize((m_size + kPieceMask) >> kPieceBits);
}

void SearchHits::Add(int32_t listIndex, bool isFolder, int64_t lineOffset, int64_t folderOffset) {
    constexpr int64_t kMaxOffset = int64_t{1} << (64 - kListBits);
    constexpr int32_t kMaxList = int32_t{1} << (kListBits - 1);
    if (listIndex < 0 || listIndex >= kMaxList || lineOffset < 0 || lineOffset >= kMaxOffset)
        throw VypisnikError("Too many lists or a list file too large for the search results");
    if (!MakeRoom())
        return;
    m_pieces[m_size >> kPieceBits][m_size & kPieceMask] = {
        static_cast<uint64_t>(lineOffset) << kListBits | static_cast<uint64_t>(listIndex) << 1 |
            (isFolder ? 1U : 0U),
        folderOffset};
    ++m_size;
}

void SearchHits::Append(SearchHits&& other) {
    other.FreeSpare();
    bool handedOver = false;
    if ((m_size & kPieceMask) == 0 && !m_outOfMemory) {
        FreeSpare();
        try {
            m_pieces.reserve(m_pieces.size() + other.m_pieces.size());
            for (Piece& piece : other.m_pieces)
                m_pieces.push_back(std::move(piece));
            m_size += other.m_size;
            handedOver = true;
        } catch (const std::bad_alloc&) {
            m_outOfMemory = true;
        }
    } else {
        // Copied into the free end of the last piece and on, each piece of other given back
        // as soon as its rows are here, so that the rows are held about once.
        for (size_t piece = 0; piece < other.m_pieces.size() && !m_outOfMemory; ++piece) {
            const size_t count = std::min(kPieceRows, other.m_size - (piece << kPieceBits));
            const Place* from = other.m_pieces[piece].get();
            for (size_t done = 0; done < count;) {
                if (!MakeRoom())
                    break;
                const size_t slot = m_size & kPieceMask;
                const size_t now = std::min(count - done, kPieceRows - slot);
                std::memcpy(&m_pieces[m_size >> kPieceBits][slot], from + done,
                            now * sizeof(Place));
                m_size += now;
                done += now;
            }
            other.m_pieces[piece].reset();
        }
        handedOver = !m_outOfMemory;
    }
    m_outOfMemory = m_outOfMemory || other.m_outOfMemory || !handedOver;
    other.m_pieces.clear();
    other.m_size = 0;
    other.m_outOfMemory = false;
    for (size_t list = 0; list < other.m_files.size(); ++list) {
        if (other.m_files[list].read)
            SetFile(static_cast<int32_t>(list), std::move(other.m_files[list]));
    }
    other.m_files.clear();
    m_extensions.merge(other.m_extensions);
    m_newExtensions.merge(other.m_newExtensions);
}

void SearchHits::Truncate(size_t count) {
    if (count < m_size)
        m_size = count;
    // What ran out is past these rows: rows added from here may find memory again.
    m_outOfMemory = false;
    FreeSpare();
}

void SearchHits::ShrinkToFit() {
    FreeSpare();
    m_pieces.shrink_to_fit();
}
void SearchHits::SetFile(int32_t listIndex, SearchedListFile file) {
    const auto list = static_cast<size_t>(listIndex);
    if (list >= m_files.size())
        m_files.resize(list + 1);
    m_files[list] = std::move(file);
}

const SearchedListFile& SearchHits::File(int32_t listIndex) const {
    static const SearchedListFile kNone;
    const auto list = static_cast<size_t>(listIndex);
    return listIndex >= 0 && list < m_files.size() ? m_files[list] : kNone;
}

void SearchHits::NoteExtension(std::string_view extension) {
    if (m_anyExtensionNoted && extension == m_lastExtension)
        return;
    m_lastExtension.assign(extension);
    m_anyExtensionNoted = true;
    if (m_newExtensions.find(extension) == m_newExtensions.end())
        m_newExtensions.emplace(extension);
}

void SearchHits::DecodeExtensions(TextEncoding encoding) {
    for (const std::string& extension : m_newExtensions)
        m_extensions.insert(ToUtf8(extension, encoding));
    m_newExtensions.clear();
    m_lastExtension.clear();
    m_anyExtensionNoted = false;
}

} // namespace vyp
