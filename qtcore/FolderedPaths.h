// The paths of many rows given as each row's folder and its own name, for ranking them by the
// locale's collation without holding every row's whole path: rows of one folder share its text,
// read once. A folder's text is what comes before its rows' names ("Fotky\2024\"; "" for rows
// at the top); the same text may be given more than once (the same folder in two lists). A row
// whose path is a folder's own path has that folder and an empty name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

// The names of many rows, 4 bytes a row beside their bytes: the rows lie in segments of 65,536,
// each segment's names one after the other in a buffer of its own, where each name ends.
class PackedNames {
public:
    static constexpr int kSegmentBits = 16;

    explicit PackedNames(size_t count = 0)
        : m_ends(count), m_segments((count >> kSegmentBits) + 1) {}

    size_t size() const { return m_ends.size(); }
    std::string_view operator[](size_t row) const {
        const std::string& bytes = m_segments[row >> kSegmentBits];
        const uint32_t begin = (row & kSegmentMask) == 0 ? 0 : m_ends[row - 1];
        return std::string_view(bytes.data() + begin, m_ends[row] - begin);
    }

    // A row's name is appended to Bytes(row), then ended by End(row). The rows of one segment
    // are given in order by one thread; other segments' rows may be given beside it. False,
    // nothing ended, when the segment's names would pass 4 GiB.
    std::string& Bytes(size_t row) { return m_segments[row >> kSegmentBits]; }
    bool End(size_t row) {
        const size_t end = Bytes(row).size();
        if (end > UINT32_MAX)
            return false;
        m_ends[row] = static_cast<uint32_t>(end);
        return true;
    }
    // One more row at the end, with name.
    bool Append(std::string_view name) {
        const size_t row = m_ends.size();
        m_ends.push_back(0);
        if ((row >> kSegmentBits) >= m_segments.size())
            m_segments.emplace_back();
        Bytes(row).append(name);
        return End(row);
    }

private:
    static constexpr size_t kSegmentMask = (size_t{1} << kSegmentBits) - 1;

    std::vector<uint32_t> m_ends;        // by row, within its segment
    std::vector<std::string> m_segments; // by row >> kSegmentBits
};

struct FolderedPaths {
    std::vector<std::string_view> folders; // UTF-8
    std::vector<uint32_t> folderOf;        // by row, an index into folders
    PackedNames names;                     // by row, UTF-8

    size_t size() const { return names.size(); }
    std::string_view Folder(size_t row) const { return folders[folderOf[row]]; }
    // The row's whole path, built in buffer.
    std::string_view Path(size_t row, std::string& buffer) const {
        buffer.assign(Folder(row)).append(names[row]);
        return buffer;
    }
};

} // namespace vyp
