#include "lists/ListFile.h"

#include "lists/ListRegionReader.h"
#include "util/Errors.h"
#include "util/PutField.h"
#include "util/SafeFileWriter.h"
#include "util/TabFields.h"

#include <algorithm>
#include <cstring>

namespace vyp {

InputFile OpenForReading(const std::string& path) {
    InputFile file;
    if (const int err = file.Open(path, true))
        throw VypisnikError(FileOpenErrorText(path, err));
    return file;
}

size_t ReadSome(InputFile& file, char* buffer, size_t count, const std::string& path) {
    size_t done = 0;
    if (const int err = file.Read(buffer, count, done))
        throw VypisnikError(FileOpenErrorText(path, err));
    return done;
}

std::string ReadWholeFile(const std::string& path) {
    InputFile file = OpenForReading(path);
    // The size is a first guess only: the file may grow while it is read, or tell no size.
    FileStamp stamp;
    file.Stamp(stamp);
    std::string bytes(static_cast<size_t>(std::max<int64_t>(stamp.size, 0)) + 1, '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() + 65536);
        const size_t n = ReadSome(file, bytes.data() + done, bytes.size() - done, path);
        if (n == 0)
            break;
        done += n;
    }
    bytes.resize(done);
    return bytes;
}

std::string ReadFirstLine(const std::string& path) {
    InputFile file = OpenForReading(path);
    std::string line;
    char buffer[4096];
    for (;;) {
        const size_t n = ReadSome(file, buffer, sizeof buffer, path);
        const std::string_view chunk(buffer, n);
        const size_t end = chunk.find_first_of("\r\n");
        line.append(chunk.substr(0, end));
        if (n == 0 || end != std::string_view::npos)
            return line;
    }
}

std::string_view HeaderTotal(std::string_view header) {
    const size_t tab = header.find('\t');
    return tab == std::string_view::npos ? std::string_view("0") : header.substr(tab + 1);
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    LineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

bool LineReader::Next(std::string_view& line) {
    if (m_p >= m_end)
        return false;
    const char* stop = LineEndAfter(m_p, m_end);
    line = std::string_view(m_p, static_cast<size_t>(stop - m_p));
    if (stop == m_end)
        m_p = m_end;
    else
        m_p = (*stop == '\r' && stop + 1 < m_end && stop[1] == '\n') ? stop + 2 : stop + 1;
    return true;
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    SafeFileWriter writer(path);
    for (const std::string& line : lines) {
        writer.Write(line);
        writer.Write("\r\n");
    }
    writer.Commit();
}

ListLineFields SplitListLine(std::string_view line) {
    ListLineFields fields;
    if (!line.empty())
        fields.count = static_cast<int>(SplitAtTabs(line, fields.field, 4));
    return fields;
}

void AppendFieldForDisplay(const ListLineFields& fields, size_t f, std::string& out) {
    if (static_cast<int>(f) >= fields.count)
        return;
    if (f == 3)
        AppendTimeForDisplay(fields.field[f], out);
    else
        out.append(fields.field[f]);
}

std::string_view ParentFolderOf(std::string_view path) {
    const size_t last =
        path.substr(0, IsFolderPath(path) ? path.size() - 1 : path.size()).rfind(kPathSeparator);
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string_view DisplayNameOf(std::string_view field1) {
    if (field1.find('\\') == std::string_view::npos)
        return field1;
    const std::string_view withoutLast = field1.substr(0, field1.size() - 1);
    const size_t slash = withoutLast.rfind('\\');
    return slash == std::string_view::npos ? withoutLast : withoutLast.substr(slash + 1);
}

std::string_view ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

void AppendTimeForDisplay(std::string_view storedTime, std::string& out) {
    const size_t from = out.size();
    out.append(storedTime);
    // Chosen, not jumped over: whether a byte is a "." is guessed wrong at every row a search
    // prints.
    for (size_t i = from; i < out.size(); ++i)
        out[i] = out[i] == '.' ? ':' : out[i];
}

char* PutTimeForDisplay(char* p, std::string_view storedTime) {
    char* const time = p;
    p = PutField(p, storedTime);
    // Every "." as ":" eight bytes at a time: a byte's compare and jump would be guessed wrong
    // at every row.
    for (char* chunk = time; chunk < p; chunk += 8) {
        uint64_t eight = 0;
        std::memcpy(&eight, chunk, 8);
        constexpr uint64_t kLow = 0x7F7F7F7F7F7F7F7FULL;
        const uint64_t other = eight ^ 0x2E2E2E2E2E2E2E2EULL; // zero where a "."
        const uint64_t dots = ~(((other & kLow) + kLow) | other | kLow);
        eight += (dots >> 7) * (':' - '.');
        std::memcpy(chunk, &eight, 8);
    }
    return p;
}

std::string TimeForDisplay(std::string_view storedTime) {
    std::string out;
    AppendTimeForDisplay(storedTime, out);
    return out;
}

bool ParseListLine(std::string& field1, std::string& name, std::string& size, std::string& date,
                   std::string& time, std::string_view line) {
    try {
        const ListLineFields fields = SplitListLine(line);
        std::string* outputs[4] = {&field1, &size, &date, &time};
        for (int i = 0; i < fields.count; ++i)
            outputs[i]->assign(fields.field[i]);
        name.assign(DisplayNameOf(field1));
        time = TimeForDisplay(time);
        return true;
    } catch (...) {
        return false;
    }
}

std::string_view ListCaption(std::string_view fileName) {
    if (fileName.ends_with(kListExtension))
        fileName.remove_suffix(kListExtension.size());
    return fileName;
}

} // namespace vyp
