// The small dialog that asks which list to compare a list with: the other lists under their
// groups, one chosen with "OK" or a double click. Behind a seam like the other dialogs: tests
// queue the answer (a list's file) in advance, so that nothing blocks, and read what was asked.
#pragma once

#include "ui/common/ScriptedSeam.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace vyp {

class ImageList;
class TreeGrid;
struct ListRegistry;

struct ListChoiceRequest {
    std::string firstList; // the file of the list compared, which is not offered
};

class ListChooser : public QDialog, public ScriptedSeam<ListChoiceRequest> {
    Q_OBJECT
public:
    // Offers every list of registry but the one at index first, under its group's node.
    ListChooser(const ListRegistry& registry, size_t first, const ImageList& groupPictures,
                QWidget* parent = nullptr);

    // The registry index of the list selected, if a list is.
    std::optional<size_t> Selected() const;
    TreeGrid& Tree() { return *m_tree; }

    // Asks modally; the registry index of the list chosen, or nothing when cancelled.
    static std::optional<size_t> Choose(QWidget* parent, const ListRegistry& registry, size_t first,
                                        const ImageList& groupPictures);

    // For tests: the next request is answered with the list whose file is listFile.
    static void QueueList(const std::string& listFile) {
        Script().QueueChoice(QString::fromStdString(listFile));
    }

private:
    const ListRegistry& m_registry;
    TreeGrid* m_tree = nullptr;
    QPushButton* m_ok = nullptr;
    std::vector<size_t> m_listOfNode; // by node: the registry index, or SIZE_MAX for a group
};

} // namespace vyp
