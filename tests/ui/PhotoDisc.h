// A photo and music disc in a fake drive, scanned into the list "Fotky a hudba" (group
// "Obrázky") of a data folder on the real disk, with the main window to start over it: the
// window tests of commands that read the disc again, go from a hit to its folder or save a
// table start here.
#pragma once

#include "UiFixture.h"

#include "scan/FolderScan.h"
#include "ui/common/SaveFilePicker.h"

namespace vyp::test {

inline const std::string kRoot = Native("/media/cdrom/");

// A photo and music disc with names of several languages.
inline void AddDisc(FakeDirectoryWalker& walker) {
    walker.AddFolder(kRoot, {FileEntry("Übersicht 2024.v2.pdf", 5120, At(2024, 3, 1, 8, 0, 0)),
                             FolderEntry("Fotky z Brna", At(2023, 9, 2, 10, 0, 0)),
                             FolderEntry("Музыка", At(2022, 1, 5, 20, 15, 4)),
                             FolderEntry("写真", At(2021, 7, 7, 7, 7, 6))});
    walker.AddFolder(kRoot + Native("Fotky z Brna/"),
                     {FileEntry("Špilberk západ.JPG", 3000000, At(2023, 9, 1, 19, 30, 0)),
                      FileEntry("Petrov ráno.jpg", 2500000, At(2023, 9, 2, 6, 45, 10)),
                      FolderEntry("Léto 2023", At(2023, 8, 1, 0, 0, 0))});
    walker.AddFolder(kRoot + Native("Fotky z Brna/Léto 2023/"),
                     {FileEntry("Château de Lednice.tar.gz", 800000, At(2023, 7, 30, 12, 0, 0)),
                      FileEntry("Hôtel d'Été, \"pokoj\" 12.jpg", 90000, At(2023, 7, 31, 8, 0, 0))});
    walker.AddFolder(kRoot + Native("Музыка/"),
                     {FileEntry("Кино - Группа крови.mp3", 4400000, At(2022, 1, 5, 20, 15, 4))});
    walker.AddFolder(kRoot + Native("写真/"),
                     {FileEntry("東京タワー.png", 1200000, At(2021, 7, 7, 7, 7, 6))});
}

// The disc in the drive is a fake one; the data folder with its lists is on the real disk.
class DiscDrive final : public DirectoryWalker {
public:
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        if (folderPath.starts_with(kRoot))
            return disc.ListFolder(folderPath, entries);
        return disk.ListFolder(folderPath, entries);
    }
    FakeDirectoryWalker disc;
    NativeDirectoryWalker disk;
};

inline const QStringList kLetoNode = {"Obrázky (1)", "Fotky a hudba", "Fotky z Brna", "Léto 2023"};

class PhotoDiscFixture : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        SaveFilePicker::StartScript();
        AddDisc(m_disc);
        ScanLines lines;
        CreateList(m_disc, kRoot, ListPath("Fotky a hudba.sez"), {}, lines);
        WriteSettings("[Seznamy]\nFotky a hudba.sez=4\n");
    }
    // The main window over the disc of m_disc, as the program starts it.
    TfLV& StartOnDisc() { return Start(&m_drive); }

    template <typename Grid> QString SelectedCaption(Grid& grid, int column = 0) {
        const NodeId node = grid.SelectedNode();
        if (node == kNoNode)
            return {};
        return grid.Model().data(grid.Model().IndexOf(node, column), Qt::DisplayRole).toString();
    }
    QString LastMessage() {
        return Dialogs::Shown().empty() ? QString() : Dialogs::Shown().back().text;
    }

    DiscDrive m_drive;
    FakeDirectoryWalker& m_disc = m_drive.disc;
};

} // namespace vyp::test
