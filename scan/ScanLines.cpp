#include "scan/ScanLines.h"

#include "lists/ListFile.h"
#include "util/SafeFileWriter.h"

namespace vyp {

void ScanLines::Clear() {
    m_bytes.clear();
    m_placeholders.clear();
}

void ScanLines::AppendLine(std::string_view line) {
    m_bytes.append(line);
    EndLine();
}

size_t ScanLines::AppendPlaceholder() {
    m_placeholders.push_back({m_bytes.size(), std::string()});
    return m_placeholders.size() - 1;
}

void ScanLines::FillPlaceholder(size_t handle, std::string line) {
    m_placeholders.at(handle).line = std::move(line);
}

void ScanLines::WriteTo(SafeFileWriter& writer) const {
    size_t written = 0;
    for (const Placeholder& placeholder : m_placeholders) {
        writer.Write(std::string_view(m_bytes).substr(written, placeholder.offset - written));
        writer.Write(placeholder.line);
        writer.Write("\r\n");
        written = placeholder.offset;
    }
    writer.Write(std::string_view(m_bytes).substr(written));
}

std::vector<std::string> ScanLines::ToLines() const {
    std::string all;
    size_t written = 0;
    for (const Placeholder& placeholder : m_placeholders) {
        all.append(m_bytes, written, placeholder.offset - written);
        all.append(placeholder.line).append("\r\n");
        written = placeholder.offset;
    }
    all.append(m_bytes, written);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(all))
        lines.emplace_back(line);
    return lines;
}

} // namespace vyp
