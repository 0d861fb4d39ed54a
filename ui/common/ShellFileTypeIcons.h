// The file-type pictures of the Windows shell: for each extension the small icon Explorer shows
// for such files, asked by the pattern "*." + extension, so the file need not exist. The
// program's choice on Windows; Linux asks the MIME database instead (MimeFileTypeIcons).
#pragma once

#include "ui/common/FileTypeIcons.h"

namespace vyp {

class ShellFileTypeIcons final : public FileTypeIconProvider {
public:
    // A null icon when the shell gives none: the table then draws no picture for the type.
    QIcon IconForExtension(const QString& extension) override;
};

} // namespace vyp
