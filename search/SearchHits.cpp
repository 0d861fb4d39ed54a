#include "search/SearchHits.h"

#include "util/Errors.h"

namespace vyp {

void SearchHits::Add(int32_t listIndex, bool isFolder, int64_t lineOffset, int64_t folderOffset) {
    constexpr int64_t kMaxOffset = int64_t{1} << (64 - kListBits);
    constexpr int32_t kMaxList = int32_t{1} << (kListBits - 1);
    if (listIndex < 0 || listIndex >= kMaxList || lineOffset < 0 || lineOffset >= kMaxOffset)
        throw VypisnikError("Too many lists or a list file too large for the search results");
    m_places.push_back({static_cast<uint64_t>(lineOffset) << kListBits |
                            static_cast<uint64_t>(listIndex) << 1 | (isFolder ? 1U : 0U),
                        folderOffset});
}

void SearchHits::Append(SearchHits&& other) {
    if (m_places.empty())
        m_places = std::move(other.m_places);
    else
        m_places.insert(m_places.end(), other.m_places.begin(), other.m_places.end());
    other.m_places.clear();
    for (size_t list = 0; list < other.m_files.size(); ++list) {
        if (other.m_files[list].read)
            SetFile(static_cast<int32_t>(list), std::move(other.m_files[list]));
    }
    other.m_files.clear();
    m_extensions.merge(other.m_extensions);
    m_newExtensions.merge(other.m_newExtensions);
}

void SearchHits::Truncate(size_t count) {
    if (count < m_places.size())
        m_places.resize(count);
}

void SearchHits::ShrinkToFit() {
    m_places.shrink_to_fit();
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
    if (extension == m_lastExtension)
        return;
    m_lastExtension.assign(extension);
    if (m_newExtensions.find(extension) == m_newExtensions.end())
        m_newExtensions.emplace(extension);
}

void SearchHits::DecodeExtensions(TextEncoding encoding) {
    for (const std::string& extension : m_newExtensions)
        m_extensions.insert(ToUtf8(extension, encoding));
    m_newExtensions.clear();
    m_lastExtension.clear();
}

} // namespace vyp
