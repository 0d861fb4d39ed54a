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

class MimeFileTypeIcons final : public FileTypeIconProvider {
public:
    QIcon IconForExtension(const QString& extension) override;
};

} // namespace vyp
