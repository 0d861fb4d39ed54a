// Vypisnik, the desktop program: creates its windows hidden, in their order, and runs the event
// loop until the main window is closed. Its data lie beside the executable, or in the user's
// data folder when the program is installed (DataFolderChoice.h).
#include "lists/DataFolder.h"
#include "platform/Native.h"
#include "qtcore/DataFolderChoice.h"
#include "qtcore/LocaleSettings.h"
#include "qtcore/PathBytes.h"
#include "qtcore/TerminationSignals.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/Vypisnik_u/TfLV.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTypeIcons.h"
#include "ui/common/ImageList.h"
#include "ui/common/QtTranslations.h"
#include "ui/duplicates_u/TfDuplicates.h"
#ifdef _WIN32
#include "ui/common/ShellFileTypeIcons.h"
#endif
#include "ui/find_u/TfFind.h"
#include "ui/new_list_u/TfNewList.h"

#include <QIcon>

#include <clocale>

int main(int argc, char** argv) {
    vyp::Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // numbers in files are never regional
    const std::unique_ptr<QTranslator> qtTexts = vyp::QtTranslationFor(QLocale::system());
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());
    QIcon programIcon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        programIcon.addPixmap(vyp::PictureIcon(QStringLiteral("vypisnik"), size).pixmap(size));
    QGuiApplication::setWindowIcon(programIcon);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita")); // file-type pictures outside a desktop
    vyp::NativeDirectoryWalker walker;
#ifdef _WIN32
    vyp::ShellFileTypeIcons icons;
#else
    vyp::MimeFileTypeIcons icons;
#endif
    vyp::MainWindowEnvironment environment{
        vyp::DataFolder(vyp::CorePath(vyp::DataFolderOfThisProgram())), &walker, &icons,
        vyp::RegionalSettingsFromLocale(QLocale::system()), QLocale::system()};
    vyp::RemoveStaleTemporaries(environment.data); // left by a writer that was killed
    vyp::TfLV fLV(std::move(environment));
    vyp::TfProcess fProcess;
    fLV.SetProgressWindow(&fProcess);
    // The search window, the new-list window and the duplicates window are created here,
    // hidden, and attached with SetSearchWindow, SetNewListWindow and SetDuplicatesWindow, in
    // that order: their sections of "settings.ini" are restored and saved in it.
    vyp::TfFind fFind(fLV.Context(), fLV);
    fLV.SetSearchWindow(&fFind);
    vyp::TfNewList fNewList(fLV.Context());
    QObject::connect(&fNewList, &vyp::TfNewList::RefreshListsRequested, &fLV,
                     &vyp::TfLV::RefreshLists);
    fLV.SetNewListWindow(&fNewList);
    vyp::TfDuplicates fDuplicates(fLV.Context(), fLV);
    fLV.SetDuplicatesWindow(&fDuplicates);
    fLV.show();
    vyp::HandleTerminationSignals(&fLV, [&fLV] { fLV.close(); }); // as if the user closed it
    return app.exec();
}
