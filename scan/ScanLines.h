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

} // namespace vyp
