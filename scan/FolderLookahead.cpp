#include "scan/FolderLookahead.h"

#include "platform/Native.h"

#include <system_error>

namespace vyp {

struct LookaheadFolder {
    enum class State { Waiting, Listing, Listed, Taken };

    std::string path;
    LookaheadFolder* parent = nullptr;
    size_t depth = 0;
    size_t index = 0; // among the parent's subfolders
    State state = State::Waiting;
    bool ok = false;
    std::vector<DirectoryEntry> entries; // kept here from Listed until Taken
    std::exception_ptr error;
    std::vector<std::unique_ptr<LookaheadFolder>> subfolders; // made by whoever lists the folder
};

bool FolderLookahead::DepthFirstLess::operator()(const Folder* a, const Folder* b) const {
    const Folder* x = a;
    const Folder* y = b;
    while (x->depth > y->depth)
        x = x->parent;
    while (y->depth > x->depth)
        y = y->parent;
    if (x == y) // one lies below the other: the one above comes first
        return a->depth < b->depth;
    while (x->parent != y->parent) {
        x = x->parent;
        y = y->parent;
    }
    return x->index < y->index;
}

FolderLookahead::FolderLookahead(DirectoryWalker& walker, std::string rootPath, unsigned workers,
                                 size_t entriesAhead)
    : m_walker(walker), m_entriesAhead(entriesAhead), m_root(std::make_unique<Folder>()) {
    m_root->path = std::move(rootPath);
    m_waiting.insert(m_root.get());
    for (unsigned i = 0; i < workers; ++i) {
        try {
            m_workers.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer helpers: Take lists what no worker has begun
        }
    }
}

FolderLookahead::~FolderLookahead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_workAvailable.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void FolderLookahead::List(Folder* folder, std::vector<DirectoryEntry>& entries, bool& ok,
                           std::exception_ptr& error) {
    try {
        ok = m_walker.ListFolder(folder->path, entries);
        for (const DirectoryEntry& entry : entries) {
            if (!entry.isFolder)
                continue;
            auto sub = std::make_unique<Folder>();
            sub->path.reserve(folder->path.size() + entry.name.size() + 1);
            sub->path.append(folder->path).append(entry.name).push_back(kNativeSeparator);
            sub->parent = folder;
            sub->depth = folder->depth + 1;
            sub->index = folder->subfolders.size();
            folder->subfolders.push_back(std::move(sub));
        }
    } catch (...) {
        ok = false;
        entries.clear();
        folder->subfolders.clear();
        error = std::current_exception();
    }
}

void FolderLookahead::AddSubfolders(Folder* folder, std::exception_ptr& error) {
    try {
        for (const auto& sub : folder->subfolders)
            m_waiting.insert(sub.get());
    } catch (...) { // no memory: no worker may find a subfolder that is about to go
        for (const auto& sub : folder->subfolders)
            m_waiting.erase(sub.get());
        folder->subfolders.clear();
        if (!error)
            error = std::current_exception();
    }
}

bool FolderLookahead::MayListAhead() const {
    return !m_waiting.empty() && m_entriesListed < m_entriesAhead;
}

void FolderLookahead::ListAhead(std::unique_lock<std::mutex>& lock) {
    Folder* folder = *m_waiting.begin();
    m_waiting.erase(m_waiting.begin());
    folder->state = Folder::State::Listing;
    lock.unlock();

    std::vector<DirectoryEntry> entries;
    bool ok = false;
    std::exception_ptr error;
    List(folder, entries, ok, error);

    lock.lock();
    AddSubfolders(folder, error);
    m_entriesListed += entries.size() + 1;
    folder->entries = std::move(entries);
    folder->ok = ok;
    folder->error = error;
    folder->state = Folder::State::Listed;
    m_folderListed.notify_all();
    if (!folder->subfolders.empty())
        m_workAvailable.notify_all();
}

void FolderLookahead::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workAvailable.wait(lock, [this] { return m_stop || MayListAhead(); });
        if (m_stop)
            return;
        ListAhead(lock);
    }
}

bool FolderLookahead::Take(Folder* folder, std::vector<DirectoryEntry>& entries) {
    std::unique_lock lock(m_mutex);
    while (folder->state == Folder::State::Listing) {
        // A worker has it: rather than wait, list the next folder no one has begun.
        if (MayListAhead())
            ListAhead(lock);
        else
            m_folderListed.wait(lock);
    }
    if (folder->state == Folder::State::Waiting) {
        m_waiting.erase(folder);
        folder->state = Folder::State::Listing;
        lock.unlock();
        bool ok = false;
        std::exception_ptr error;
        List(folder, entries, ok, error);
        lock.lock();
        AddSubfolders(folder, error);
        folder->state = Folder::State::Taken;
        lock.unlock();
        if (!folder->subfolders.empty())
            m_workAvailable.notify_all();
        if (error)
            std::rethrow_exception(error);
        return ok;
    }
    folder->state = Folder::State::Taken;
    const bool wasFull = m_entriesListed >= m_entriesAhead;
    m_entriesListed -= folder->entries.size() + 1;
    entries = std::move(folder->entries);
    folder->entries = {};
    const bool ok = folder->ok;
    const std::exception_ptr error = std::move(folder->error);
    lock.unlock();
    if (wasFull) // room ahead again
        m_workAvailable.notify_all();
    if (error)
        std::rethrow_exception(error);
    return ok;
}

FolderLookahead::Folder* FolderLookahead::Subfolder(Folder* folder, size_t index) const {
    return folder->subfolders.at(index).get();
}

void FolderLookahead::Release(Folder* folder) {
    // Nothing below folder is waiting or being listed any more, so no worker reaches it.
    if (folder->parent == nullptr)
        m_root.reset();
    else
        folder->parent->subfolders[folder->index].reset();
}

} // namespace vyp
