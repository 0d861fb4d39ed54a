// Where the windows beside the main window and its commands take it: to a list, to a folder
// and a file of a list, and to the front.
#include "ui/Vypisnik_u/TfLV.h"

#include "ui/common/FileTable.h"
#include "ui/common/TreeGrid.h"

namespace vyp {

void TfLV::ShowWindow(QWidget* window) {
    if (window == nullptr)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void TfLV::SelectList(const std::string& listFile) {
    if (const NodeId node = m_listTree->NodeOfList(listFile); node != kNoNode)
        m_tree->SelectNode(node);
}

bool TfLV::GoToFolder(const std::string& listFile, std::string_view folderPath,
                      std::string_view fileName) {
    const NodeId target = m_listTree->NodeOfFolder(listFile, folderPath);
    if (target == kNoNode)
        return false;
    ShowWindow(this);
    for (NodeId parent = m_tree->Model().Parent(target); parent != kNoNode;
         parent = m_tree->Model().Parent(parent))
        m_tree->expand(m_tree->Model().IndexOf(parent));
    m_tree->SelectNode(target); // fills the file table
    m_tree->setFocus();
    if (fileName.empty())
        return true;
    const FolderRows& rows = m_contents.Rows();
    for (int row = 0; row < m_view->ChildCount(kNoNode); ++row) {
        const NodeId node = m_view->ChildAt(kNoNode, row);
        if (rows.Caption(m_view->Row(node)) == fileName) {
            m_view->SelectNode(node);
            break;
        }
    }
    return true;
}

} // namespace vyp
