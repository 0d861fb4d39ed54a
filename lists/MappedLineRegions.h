// Whole lines of a stretch of an open list file, handed out in regions of about a buffer's size
// straight from a mapping of the file (MappedFilePart), so that a reader going through a long
// list neither copies its bytes nor holds more than a window of them. A window of a few
// megabytes begins at the first line the one before did not hold whole, and a line longer than
// a window gets a wider one. Windows are few and large: every unmapping stops the process's
// other threads for a moment (their address translations are flushed), which many small
// windows would do thousands of times. The readers of lists (ListRegionReader, the printed
// search's pieces) take their regions from here where the system maps files and read them into
// their buffer where it does not.
#pragma once

#include "platform/MappedFilePart.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vyp {

class MappedLineRegions {
public:
    // regionBytes: about how much a region holds (a region is checked and searched while it is
    // in the processor's cache); windowBytes: how much is mapped at most, but for a longer line.
    explicit MappedLineRegions(size_t regionBytes = size_t{1} << 17,
                               size_t windowBytes = size_t{8} << 20)
        : m_regionBytes(regionBytes), m_windowBytes(windowBytes) {}

    // Starts on the stretch [start, end) of file, start the start of a line; end -1 reads to the
    // file's end. False where the file cannot be mapped: nothing is held then.
    bool Start(const InputFile& file, int64_t start, int64_t end);
    // The next lines, valid until the next call: whole lines, each with its line end, but for the
    // stretch's last bytes, which need none; offset is where they start in the file. False at the
    // end of the stretch, or when a later window could not be mapped (Failed()).
    bool Next(std::string_view& lines, int64_t& offset);
    // Whether the lines handed out last were the stretch's last.
    bool AtEnd() const { return m_atEnd; }
    // A window after the first could not be mapped: the reader reads on from Position().
    bool Failed() const { return m_failed; }
    // Whether the file was cut short in place by another program since Start: a read met the
    // cut, and lines handed out may hold zeros where the file's bytes were, or a later window
    // found the file ending before it did at Start. Asked after the lines were read and before
    // anything made of them is handed on; it stays true for this reader, which treats the file
    // as changed.
    bool CutShort() const { return m_cutShort || m_window.CutShort(); }
    // Where the lines after those handed out start.
    int64_t Position() const { return m_position; }
    // Lets go of the mapping.
    void Close() {
        m_cutShort = CutShort();
        m_window.Close();
    }

private:
    bool MapAt(int64_t offset, size_t count);

    size_t m_regionBytes;
    size_t m_windowBytes;
    const InputFile* m_file = nullptr;
    MappedFilePart m_window;
    int64_t m_windowOffset = 0; // where the window starts in the file
    bool m_windowAtEnd = false; // the window reaches the end of the stretch
    size_t m_nextWindow = 0;    // how much the next window maps
    int64_t m_position = 0;
    int64_t m_end = -1;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_cutShort = false;    // a window before the one mapped now was
    int64_t m_sizeAtStart = -1; // the file's size at Start
};

} // namespace vyp
