// The pictures of file types by extension, shared by the file table and the search results:
// ImgS holds three pictures of our own (blank document, list, open folder) and one picture per
// extension met so far; ExtIcons maps each upper-cased extension to its picture. The icon
// provider is asked once per distinct extension per run.
#pragma once

#include "ui/common/ImageList.h"

#include <QString>

#include <string_view>
#include <vector>

namespace vyp {

class FileTypeIconProvider;

struct rIkony {
    QString Ext;        // upper-cased (a-z only), without the "."
    int ImageIndex = 0; // in ImgS, -1 when no picture could be had
};

class ExtensionIconCache {
public:
    static constexpr int kBlankDocument = 0;
    static constexpr int kListPicture = 1;
    static constexpr int kFolderPicture = 2;

    explicit ExtensionIconCache(FileTypeIconProvider& provider);

    // The one entry every run starts from: the empty extension has the blank document.
    void Seed();
    // The picture of an extension (in any letter case) in ImgS.
    int ImageIndexForExt(std::string_view ext);
    QIcon ShellIconForExt(const QString& ext);

    const ImageList& ImgS() const { return m_images; }
    const std::vector<rIkony>& ExtIcons() const { return m_entries; }

private:
    FileTypeIconProvider& m_provider;
    ImageList m_images;
    std::vector<rIkony> m_entries;
};

} // namespace vyp
