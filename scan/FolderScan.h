// The folder scan: walks a folder tree depth-first, each folder's own files before its
// subfolders, and builds the lines of a list file; and the list creation sequence that writes
// them. Links are never followed and a folder that cannot be read gets its line with size 0.
// With a walker that may list from several threads, folders are listed ahead of the scan on
// every core; the lines come out byte for byte as from a scan on one core.
#pragma once

#include "platform/DirectoryWalker.h"
#include "scan/ScanLines.h"

#include <cstdint>
#include <string>

namespace vyp {

struct ScanOptions {
    bool foldersOnly = false;        // "Pouze adresářovou strukturu": file lines are left out
    std::string timeSeparator = ":"; // the regional time separator of stored times
    unsigned threads = 0;            // threads that list folders; 0: one per core
};

class FolderScan {
public:
    FolderScan(DirectoryWalker& walker, ScanOptions options, ScanLines& lines);

    // Appends the lines of everything below path (not path's own line) and returns the total size
    // of all files below it. path is a native path ending with the native separator;
    // relativePath is the same folder below the root in list form ("Games\Old\"), empty for
    // the root: it is built as the walk descends, never by cutting the root text out of path.
    int64_t ScanFolder(const std::string& path, const std::string& relativePath);

    // Folders that could not be enumerated (no access, or a path longer than the system takes):
    // each has its line with size 0 and nothing beneath it.
    size_t UnreadableFolders() const { return m_unreadableFolders; }

private:
    // The walk below folder, whose entries Source lists: the walker itself, one folder at a
    // time, or a lookahead that lists them on other threads.
    template <typename Source>
    int64_t Walk(Source& source, const typename Source::Folder& folder,
                 const std::string& relativePath);

    DirectoryWalker& m_walker;
    ScanOptions m_options;
    ScanLines& m_lines;
    size_t m_unreadableFolders = 0;
};

// Builds the lines of root's list into lines (cleared first): the header, then everything below
// root. Returns how many folders could not be read (the root itself included).
size_t BuildListLines(DirectoryWalker& walker, const std::string& root, const ScanOptions& options,
                      ScanLines& lines);

// Builds the lines of root's list into lines (cleared first) and writes them to listFilePath,
// replacing an existing list only once the new one is whole. Throws VypisnikError when the file
// cannot be written. Returns how many folders could not be read (their subtrees are missing from
// the list, which is written all the same), so the caller can tell the user.
size_t CreateList(DirectoryWalker& walker, const std::string& root, const std::string& listFilePath,
                  const ScanOptions& options, ScanLines& lines);

// A name as it may stand in a list line: "\", TAB, CR and LF would break the format and are
// written as "_".
std::string ListSafeName(std::string_view name);

} // namespace vyp
