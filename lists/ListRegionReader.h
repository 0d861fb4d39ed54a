// Reads a list file once, from start to end, in regions of whole lines, so every reader of lists
// (the folder hierarchy, a folder's rows, the search) goes through files of any size without
// holding the file: a whole file is read from its mapping where the system maps files
// (MappedLineRegions), without a copy, and elsewhere, or from a given offset (a folder's few
// lines), through one reused buffer at the speed of copying memory. It knows
// the header by its position (line 0), tells each region's folder (the folder line in force
// where the region starts) and learns the file's encoding in the same pass.
#pragma once

#include "lists/MappedLineRegions.h"
#include "platform/Files.h"
#include "util/Encoding.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

// Where a folder's line lay in its list file when the list's folder tree was read, so that
// showing the folder's files can start reading there instead of at the top of a long list. It
// holds only while the file is unchanged; the reader checks that, and the line itself.
struct FolderLineHint {
    int64_t offset = 0;                         // where the folder's line starts
    FileStamp stamp;                            // the file's size and last-write time then
    TextEncoding encoding = TextEncoding::Utf8; // the file's encoding then
};

struct ListRegion {
    // Whole lines after the header, each with its line end (the file's last line may lack one).
    std::string_view lines;
    // The first field of the last line holding "\" before these lines: the folder their file
    // lines belong to. At the start of the file, the header's first field (the root).
    std::string_view folder;
    // Where the line that folder comes from starts in the file: 0 for the header, -1 when a
    // reader started at an offset has met no folder line yet.
    int64_t folderOffset = 0;
    // Where lines start in the file.
    int64_t offset = 0;
};

class ListRegionReader {
public:
    // Opens path and reads its header. Throws VypisnikError "Cannot open file "PATH". REASON"
    // when it cannot be read (a folder included).
    explicit ListRegionReader(const std::string& path);
    // Opens path to read from offset, the start of a line found before: there is no header
    // then, and regions start with no folder. Throws as the other constructor does.
    ListRegionReader(const std::string& path, int64_t offset);

    // The file's size and last-write time when it was opened.
    const FileStamp& Stamp() const { return m_stamp; }

    // Line 0 without its line end, as stored.
    std::string_view Header() const { return m_header; }
    // Whether the file has a line 0 at all (an empty file has none).
    bool HasHeaderLine() const { return m_hasHeaderLine; }

    // Reads the file again from its start, header included, through the file opened at first:
    // the same bytes even when the list has been replaced since. What was learned of the
    // encoding stays.
    void Restart();

    // The next region, valid until the next call. Returns false at the end. Throws
    // VypisnikError when reading fails, or when the regions handed out were met cut short in
    // place (CutShort): then nothing made of the last one may be handed on.
    bool Next(ListRegion& region);

    // UTF-8 while everything read so far was valid UTF-8, else Windows-1250.
    TextEncoding Encoding() const {
        return m_validUtf8 ? TextEncoding::Utf8 : TextEncoding::Windows1250;
    }
    // Whether Encoding() is the whole file's: a byte that is not UTF-8 was met, or every byte
    // was checked. Regions handed out after that are not checked again.
    bool EncodingKnown() const { return !m_validUtf8 || m_checkedToEnd; }
    // Reads on to the end only as long as it takes to learn the file's encoding.
    TextEncoding EncodingOfWholeFile();
    // Learns the file's encoding by checking what lies ahead of the regions handed out so far,
    // through a buffer of its own, so that Next goes on from where it was and the lines ahead are
    // checked once however they are read after. Throws VypisnikError when reading fails; what was
    // checked before counts.
    TextEncoding CheckAhead();

    // Whether the file was met cut short in place while mapped regions were read: the region
    // handed out last may hold zeros where the file's bytes were.
    bool CutShort() const { return m_mapped.CutShort(); }

    const std::string& Path() const { return m_path; }

private:
    void ReadHeader();
    void Fill();
    void CheckEncoding(std::string_view bytes);
    void NoteLastFolder();
    void StartMapped();
    void HandOut(ListRegion& region, std::string_view lines, int64_t offset);

    std::string m_path;
    InputFile m_file;
    std::string m_buffer;
    size_t m_filled = 0;        // bytes in the buffer
    size_t m_consumed = 0;      // bytes handed out
    int64_t m_bufferOffset = 0; // the file offset of the buffer's first byte
    bool m_atEnd = false;
    bool m_validUtf8 = true;
    bool m_checkedToEnd = false; // every byte of the file was checked
    bool m_hasHeaderLine = false;
    bool m_positional = false; // reading from a given offset rather than from the start
    int64_t m_readOffset = 0;  // where the next positional read starts
    FileStamp m_stamp;
    std::string m_header;
    std::string m_folder;       // the folder in force after what has been handed out
    int64_t m_folderOffset = 0; // where m_folder's line starts
    std::string_view
        m_lastLines;          // the region handed out last, whose folder lines are not noted yet
    int64_t m_lastOffset = 0; // where m_lastLines start in the file
    // Windows of a megabyte: their pages count as the process's memory while they are mapped,
    // and a search in the window reads two lists at once beside what it holds.
    MappedLineRegions m_mapped{size_t{1} << 17, size_t{1} << 20};
    bool m_mapping = false; // the lines after the header come from m_mapped
};

// The start of the line holding p, looking back no further than floor.
const char* LineStartBefore(const char* floor, const char* p);
// The end of the line holding p (its CR or LF, or end).
const char* LineEndAfter(const char* p, const char* end);
// The start of the line after the line end at p (CR LF, CR or LF).
const char* PastLineBreak(const char* p, const char* end);
// The first TAB-separated field of a line.
std::string_view FirstField(std::string_view line);
// Whether every byte of file from offset on, after the bytes of ahead (read already, not yet
// checked), is UTF-8: read in pieces, each checked up to its last ASCII byte, where no UTF-8
// sequence can be open; stops at the first piece that is not. Returns the error of a failed read,
// 0 when there was none.
int CheckUtf8From(InputFile& file, int64_t offset, std::string ahead, bool& valid);
// How many bytes of what a reader has filled are whole lines: up to its last line break, short of
// a CR at the very end, whose LF may still come.
size_t WholeLinesLength(std::string_view filled);
// The last folder line in lines (the last line holding "\"): its start, or nullptr when there is
// none; folder is set to its first field.
const char* LastFolderLine(std::string_view lines, std::string& folder);

} // namespace vyp
