// Lists the folders of a tree ahead of the scan on worker threads, in the scan's own depth-first
// order (each folder before its subfolders, subfolders in the order of their parent's entries),
// so the scan finds most folders already listed when it reaches them. How far the workers run
// ahead is bounded by the number of entries listed and not yet taken, so memory stays small
// whatever the size of the tree. The walker must allow ListFolder from several threads at once.
#pragma once

#include "platform/DirectoryWalker.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vyp {

struct LookaheadFolder; // one folder of the tree as the lookahead knows it

class FolderLookahead {
public:
    using Folder = LookaheadFolder;

    // Starts workers threads listing the tree below rootPath (a native path ending with the
    // native separator).
    FolderLookahead(DirectoryWalker& walker, std::string rootPath, unsigned workers,
                    size_t entriesAhead = 1 << 15);
    ~FolderLookahead(); // stops the workers; folders listed and not taken are dropped
    FolderLookahead(const FolderLookahead&) = delete;
    FolderLookahead& operator=(const FolderLookahead&) = delete;

    Folder* Root() const { return m_root.get(); }

    // The entries of folder, in the walker's order, as ListFolder gives them (false when the
    // folder cannot be listed). Lists the folder on the calling thread when no worker has begun
    // it, so the caller never waits for work that nobody does; while a worker lists it, the
    // caller lists folders further ahead instead of waiting. Rethrows what ListFolder threw.
    // Each folder is taken once, after its parent.
    bool Take(Folder* folder, std::vector<DirectoryEntry>& entries);

    // The index-th subfolder of a folder already taken, counting only its folder entries.
    Folder* Subfolder(Folder* folder, size_t index) const;

    // The caller is done with folder and everything below it.
    void Release(Folder* folder);

private:
    struct DepthFirstLess {
        bool operator()(const Folder* a, const Folder* b) const;
    };

    void Work();
    bool MayListAhead() const; // lock held
    // Lists the first waiting folder and keeps its entries for Take; called with the lock held.
    void ListAhead(std::unique_lock<std::mutex>& lock);
    // Lists folder and makes its subfolders; the lock is not held.
    void List(Folder* folder, std::vector<DirectoryEntry>& entries, bool& ok,
              std::exception_ptr& error);
    // Makes the subfolders of a listed folder wait for listing; lock held. Sets error if it fails.
    void AddSubfolders(Folder* folder, std::exception_ptr& error);

    DirectoryWalker& m_walker;
    const size_t m_entriesAhead;
    std::unique_ptr<Folder> m_root;

    std::mutex m_mutex;
    std::condition_variable m_workAvailable; // a folder to list, room ahead, or stop
    std::condition_variable m_folderListed;
    std::set<Folder*, DepthFirstLess> m_waiting; // known and not yet begun, in scan order
    size_t m_entriesListed = 0;                  // listed by workers, not yet taken
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

} // namespace vyp
