// What a rescan of a list changes: entries added, removed and changed (size, date or time),
// counted apart for folders and files, and the list as it will be. The words shown to the user
// about a rescan are made here once, for the windows and the command line alike.
#pragma once

#include "lists/RegionalSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

struct RescanSummary {
    size_t foldersAdded = 0, foldersRemoved = 0, foldersChanged = 0;
    size_t filesAdded = 0, filesRemoved = 0, filesChanged = 0;
    size_t oldEntries = 0;         // folder and file lines of the list before the rescan
    size_t folders = 0, files = 0; // folder and file lines of the new list
    int64_t total = 0;             // the new list's total size
    bool foldersOnly = false;      // the list holds folders alone, as it was made
    size_t unreadableFolders = 0;  // folders of the new scan that could not be read

    size_t Removed() const { return foldersRemoved + filesRemoved; }
    // More than half of the old entries would be gone: likely the wrong disc in the drive, so
    // the user is asked before the list is replaced.
    bool MostWouldDisappear() const { return Removed() * 2 > oldEntries; }
    bool NothingChanged() const {
        return foldersAdded + foldersRemoved + foldersChanged + filesAdded + filesRemoved +
                   filesChanged ==
               0;
    }
};

// "CAPTION: přidáno A, odebráno R, změněno C": how a rescan, and a comparison of two lists,
// tell what changed.
std::string ChangeCountsText(std::string_view caption, size_t added, size_t removed,
                             size_t changed);

// The summary as the user reads it, one line a text.
std::vector<std::string> RescanSummaryLines(const RescanSummary& summary,
                                            const RegionalSettings& regional);

// The question (or, where nothing asks, the warning) before a list loses most of its entries.
std::string MostWouldDisappearText(const RescanSummary& summary);

// Why nothing was rescanned: the list's folder could not be opened.
std::string RootUnavailableText(const std::string& root);

} // namespace vyp
