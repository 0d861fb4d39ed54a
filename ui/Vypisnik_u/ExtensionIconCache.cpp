#include "ui/Vypisnik_u/ExtensionIconCache.h"

#include "qtcore/Utf8.h"
#include "ui/common/FileTypeIcons.h"
#include "util/Encoding.h"

namespace vyp {

ExtensionIconCache::ExtensionIconCache(FileTypeIconProvider& provider)
    : m_provider(provider), m_images(QSize(16, 16)) {
    m_images.Add(PictureIcon(QStringLiteral("blank"), 16));
    m_images.Add(PictureIcon(QStringLiteral("notepad"), 16));
    m_images.Add(PictureIcon(QStringLiteral("openfolder"), 16));
}

void ExtensionIconCache::Seed() {
    m_entries.assign(1, rIkony{QString(), kBlankDocument});
}

QIcon ExtensionIconCache::ShellIconForExt(const QString& ext) {
    return m_provider.IconForExtension(ext);
}

int ExtensionIconCache::ImageIndexForExt(std::string_view ext) {
    std::string upper(ext);
    for (char& c : upper)
        c = UpperAscii(c);
    const QString key = Utf8(upper);
    for (const rIkony& entry : m_entries) { // few distinct extensions: a linear look is enough
        if (entry.Ext == key)
            return entry.ImageIndex;
    }
    const int index = m_images.Add(ShellIconForExt(Utf8(ext)));
    m_entries.push_back(rIkony{key, index});
    return index;
}

} // namespace vyp
