// Where the picture of a file type comes from, by extension alone (the catalogued files are not
// at hand). The program asks the MIME database and the icon theme; tests count the questions.
#pragma once

#include <QIcon>
#include <QString>

namespace vyp {

class FileTypeIconProvider {
public:
    virtual ~FileTypeIconProvider() = default;
    // The small icon of files named "x." + extension; never null.
    virtual QIcon IconForExtension(const QString& extension) = 0;
};

// The picture of a file whose type is not known: a white page with a grey outline, the blank
// document of files without an extension.
QIcon OutlinedPageIcon();

class MimeFileTypeIcons final : public FileTypeIconProvider {
public:
    QIcon IconForExtension(const QString& extension) override;
};

} // namespace vyp
