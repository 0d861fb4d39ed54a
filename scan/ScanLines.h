// The lines of the list being built, in file order. File lines are appended as bytes to one
// buffer; a folder's line, known only after its subtree, is reserved as a placeholder where it
// belongs and filled in later. This keeps a scan of millions of entries close to the size of
// the list file it writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class SafeFileWriter;

class ScanLines {
public:
    void Clear();

    // Appends one line (without its line end).
    void AppendLine(std::string_view line);
    // The buffer to append one line to directly; end it with EndLine().
    std::string& LineBuffer() { return m_bytes; }
    void EndLine() { m_bytes.append("\r\n"); }

    // Reserves the next line for text known later; returns its handle for FillPlaceholder.
    size_t AppendPlaceholder();
    void FillPlaceholder(size_t handle, std::string line);

    // Writes every line, each ended by CR LF.
    void WriteTo(SafeFileWriter& writer) const;
    // Calls visit with every line, without its line end, in file order.
    template <typename Visit> void ForEachLine(Visit visit) const;
    // The lines as separate texts (for inspection; a list file is written by WriteTo).
    std::vector<std::string> ToLines() const;

private:
    struct Placeholder {
        size_t offset; // position in m_bytes where the line stands
        std::string line;
    };
    std::string m_bytes;
    std::vector<Placeholder> m_placeholders; // in line order: offsets never decrease
};

template <typename Visit> void ScanLines::ForEachLine(Visit visit) const {
    const std::string_view bytes(m_bytes);
    // Appended lines all end with CR LF, and names never hold CR or LF.
    const auto visitLines = [&](size_t from, size_t to) {
        while (from < to) {
            const size_t end = bytes.find("\r\n", from);
            visit(bytes.substr(from, end - from));
            from = end + 2;
        }
    };
    size_t done = 0;
    for (const Placeholder& placeholder : m_placeholders) {
        visitLines(done, placeholder.offset);
        visit(std::string_view(placeholder.line));
        done = placeholder.offset;
    }
    visitLines(done, bytes.size());
}

} // namespace vyp
