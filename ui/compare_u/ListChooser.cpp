#include "ui/compare_u/ListChooser.h"

#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "qtcore/Utf8.h"
#include "ui/common/ImageList.h"
#include "ui/common/TreeGrid.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyp {

namespace {
constexpr size_t kGroupNode = SIZE_MAX;
} // namespace

ListChooser::ListChooser(const ListRegistry& registry, size_t first, const ImageList& groupPictures,
                         QWidget* parent)
    : QDialog(parent), m_registry(registry) {
    setObjectName(QStringLiteral("fChooseList"));
    setWindowTitle(QStringLiteral("Porovnat se seznamem"));
    resize(320, 380);
    auto* layout = new QVBoxLayout(this);
    const QString firstName = first < registry.ListInfos.size()
                                  ? Utf8(ListCaption(registry.ListInfos[first].FileName))
                                  : QString();
    auto* label = new QLabel(QStringLiteral("Porovnat seznam „%1“ se seznamem:").arg(firstName));
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    m_tree = new TreeGrid(this);
    m_tree->setObjectName(QStringLiteral("VSTLists"));
    m_tree->SetHeaderShown(false);
    m_tree->SetColumns({{QString(), 280, Qt::AlignLeft}});
    m_tree->SetImages(&groupPictures);
    std::vector<QString> captions; // by node
    std::vector<int> pictures;
    for (const GroupInfo& group : kGroups) {
        const NodeId groupNode = m_tree->AddChild(kNoNode);
        m_listOfNode.push_back(kGroupNode);
        captions.push_back(Utf8(group.caption));
        pictures.push_back(group.id);
        for (size_t i = 0; i < registry.ListInfos.size() && i < registry.ListPaths.size(); ++i) {
            if (i == first || GroupById(registry.ListInfos[i].Group).id != group.id)
                continue;
            m_tree->AddChild(groupNode);
            m_listOfNode.push_back(i);
            captions.push_back(Utf8(ListCaption(registry.ListInfos[i].FileName)));
            pictures.push_back(1);
        }
    }
    m_tree->OnGetText() = [captions = std::move(captions)](NodeId node, int) {
        return captions[static_cast<size_t>(node)];
    };
    m_tree->OnGetImageIndex() = [pictures = std::move(pictures)](NodeId node, int) {
        return pictures[static_cast<size_t>(node)];
    };
    m_tree->expandAll();
    layout->addWidget(m_tree, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Storno"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_tree, &TreeGrid::SelectionChanged, this,
            [this] { m_ok->setEnabled(Selected().has_value()); });
    connect(m_tree, &QAbstractItemView::doubleClicked, this, [this] {
        if (Selected())
            accept();
    });
}

std::optional<size_t> ListChooser::Selected() const {
    const NodeId node = m_tree->SelectedNode();
    if (node == kNoNode || m_listOfNode[static_cast<size_t>(node)] == kGroupNode)
        return std::nullopt;
    return m_listOfNode[static_cast<size_t>(node)];
}

std::optional<size_t> ListChooser::Choose(QWidget* parent, const ListRegistry& registry,
                                          size_t first, const ImageList& groupPictures) {
    if (Script().Active()) {
        const std::string firstList =
            first < registry.ListPaths.size() ? registry.ListPaths[first] : std::string();
        const std::optional<QString> answer = Script().Answer({firstList});
        if (!answer)
            return std::nullopt;
        const std::string file = answer->toStdString();
        for (size_t i = 0; i < registry.ListPaths.size(); ++i) {
            if (i != first && registry.ListPaths[i] == file)
                return i;
        }
        return std::nullopt;
    }
    ListChooser chooser(registry, first, groupPictures, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.Selected();
}

} // namespace vyp
