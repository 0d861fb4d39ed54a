// What the program's windows work with, chosen once at start: the data folder, the walker that
// lists folders, the source of file-type pictures, the regional settings and the collation of
// names. The program passes the system's; tests their own. The main window keeps it, and lends
// it to the windows beside it (WindowContext).
#pragma once

#include "lists/DataFolder.h"
#include "lists/RegionalSettings.h"

#include <QLocale>

namespace vyp {

class DirectoryWalker;
class FileTypeIconProvider;

struct MainWindowEnvironment {
    DataFolder data;
    DirectoryWalker* walker = nullptr;
    FileTypeIconProvider* icons = nullptr;
    RegionalSettings regional;
    QLocale collation = QLocale::system();
};

} // namespace vyp
