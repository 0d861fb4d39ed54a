// Reads a list file in pieces of whole lines through one reused buffer, so the readers and the
// search go through files of any size at the speed of copying memory, without holding the file.
#pragma once

#include "lists/Encoding.h"
#include "platform/Files.h"

#include <string>
#include <string_view>

namespace vyp {

class ListFileStream {
public:
    // Opens path; throws VypisnikError "Cannot open file "PATH". REASON" when it cannot be read
    // (a folder included). With checkEncoding, Encoding() tells the encoding of what was read.
    ListFileStream(const std::string& path, bool checkEncoding);
    ListFileStream(const ListFileStream&) = delete;
    ListFileStream& operator=(const ListFileStream&) = delete;

    // The next piece of whole lines, valid until the next call; the first piece starts at the
    // file's start. A piece ends right after a line end, or at the end of the file. Returns false
    // at the end. Throws VypisnikError when reading fails.
    bool NextRegion(std::string_view& region);

    // UTF-8 while everything read so far was valid UTF-8, else Windows-1250.
    TextEncoding Encoding() const {
        return m_validUtf8 ? TextEncoding::Utf8 : TextEncoding::Windows1250;
    }
    // Reads the rest of the file only to learn its encoding.
    TextEncoding EncodingOfWholeFile();
    // The encoding of the whole file, read again from its start; the stream stays where it is.
    TextEncoding EncodingFromStart() const;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    mutable InputFile m_file;
    std::string m_buffer;
    size_t m_filled = 0;   // bytes in the buffer
    size_t m_consumed = 0; // bytes handed out by the last NextRegion
    bool m_atEnd = false;
    bool m_checkEncoding;
    bool m_validUtf8 = true;
};

// The start of the line holding p, looking back no further than floor.
const char* LineStartBefore(const char* floor, const char* p);
// The end of the line holding p (its CR or LF, or end).
const char* LineEndAfter(const char* p, const char* end);

} // namespace vyp
