// Where a folder's line lay in its list file when the list's folder tree was read, so that
// showing the folder's files can start reading there instead of at the top of a long list. It
// holds only while the file is unchanged; the reader checks that, and the line itself.
#pragma once

#include "lists/Encoding.h"
#include "platform/Files.h"

#include <cstdint>

namespace vyp {

struct FolderLineHint {
    int64_t offset = 0;                         // where the folder's line starts
    FileStamp stamp;                            // the file's size and last-write time then
    TextEncoding encoding = TextEncoding::Utf8; // the file's encoding then
};

} // namespace vyp
