// Brings an existing list up to date with its folder: scans the root stored in the list's header
// again (folders alone when that is how the list was made), compares the new lines with the old
// ones and, once the caller agrees, replaces the list file safely under the same name. The
// list's group lives in "settings.ini" and is not touched.
//
// Two steps, so a window can ask between them: Prepare() reads and scans without writing
// anything, Commit() writes. Prepare() may run on a worker thread; the object is not shared
// between threads while it runs.
#pragma once

#include "platform/DirectoryWalker.h"
#include "platform/Files.h"
#include "scan/RescanSummary.h"
#include "scan/ScanLines.h"

#include <functional>
#include <string>

namespace vyp {

struct RescanProgress {
    size_t folders = 0; // folders read so far
    size_t files = 0;   // files met in them
};

// Called after every folder read, on the thread that runs Prepare(). Returning false stops the
// scan; nothing is written.
using RescanProgressHook = std::function<bool(const RescanProgress&)>;

class ListRescan {
public:
    enum class Outcome {
        Ready,           // Summary() holds the changes; Commit() writes them
        RootUnavailable, // the root could not be opened (no disc in the drive): nothing changes
        Cancelled,       // the progress hook stopped the scan
    };

    explicit ListRescan(std::string listFilePath);

    // Reads the list, scans its root and compares. timeSeparator is the regional separator of
    // stored times, as for a new list. Throws VypisnikError when the list cannot be read.
    Outcome Prepare(DirectoryWalker& walker, std::string timeSeparator,
                    const RescanProgressHook& progress = {});

    const RescanSummary& Summary() const { return m_summary; }
    // The list's root as read from its header (UTF-8).
    const std::string& Root() const { return m_root; }

    // Replaces the list file with the new lines, under the lock of the data folder whose
    // "Seznamy" holds it (lists/SettingsWriteLock.h). Refuses, with the list left as it is, when
    // the file was changed or removed since Prepare(). Throws VypisnikError.
    void Commit();

private:
    void Compare(const std::string& oldBytes);

    std::string m_listFilePath;
    std::string m_root;
    FileStamp m_stamp; // of the list file as Prepare() read it
    ScanLines m_lines;
    RescanSummary m_summary;
    bool m_ready = false;
};

} // namespace vyp
