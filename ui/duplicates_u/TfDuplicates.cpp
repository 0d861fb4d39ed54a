#include "ui/duplicates_u/TfDuplicates.h"

#include "lists/Groups.h"
#include "qtcore/Utf8.h"
#include "search/DuplicatesCsv.h"
#include "search/ListSearch.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"
#include "ui/common/CsvSaving.h"
#include "ui/common/DesktopLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FolderNavigator.h"
#include "ui/common/GroupBoxes.h"
#include "ui/common/ImageList.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TableActions.h"
#include "ui/common/TreeGrid.h"
#include "ui/common/WorkerWait.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace vyp {

namespace {

constexpr double kBytesPerMB = 1024.0 * 1024.0;

} // namespace

TfDuplicates::TfDuplicates(const WindowContext& context, FolderNavigator& navigator,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_navigator(navigator),
      m_collator(context.environment.collation),
      m_nodes(context.filePictures, context.environment.regional) {
    DesktopLook::ApplyToSideWindow(*this, QStringLiteral("fDuplicates"),
                                   QStringLiteral("Duplicity"));
    setGeometry(380, 330, 820, 440);
    BuildLayout();
    ShowStatus();
}

TfDuplicates::~TfDuplicates() {
    // The tree asks the nodes for its texts: take it down while they still exist.
    delete m_VSTDuplicates;
}

void TfDuplicates::BuildLayout() {
    QVBoxLayout* layout = DesktopLook::Column(*this);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    m_groupBoxes.emplace(*panel);
    for (size_t i = 0; i < kGroups.size(); ++i) {
        QCheckBox* box = m_groupBoxes->Boxes()[i];
        box->setIcon(m_context.groupPictures.At(kGroups[i].id));
        box->setChecked(true); // every group unless the user leaves some out
        row->addWidget(box);
    }
    row->addSpacing(12);
    auto* label = new QLabel(QStringLiteral("Nejmenší velikost (MB):"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    row->addWidget(label);
    m_edtMinSize = new QDoubleSpinBox(panel);
    m_edtMinSize->setObjectName(QStringLiteral("edtMinSize"));
    m_edtMinSize->setAccessibleName(label->text());
    m_edtMinSize->setDecimals(2);
    m_edtMinSize->setRange(0, 1e9);
    m_edtMinSize->setValue(0);
    label->setBuddy(m_edtMinSize);
    row->addWidget(m_edtMinSize);
    m_btnFind = new QPushButton(QStringLiteral("Najít"), panel);
    m_btnFind->setObjectName(QStringLiteral("btnFind"));
    connect(m_btnFind, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnFindClick(); }); });
    row->addWidget(m_btnFind);
    row->addStretch(1);
    layout->addWidget(panel);

    m_VSTDuplicates = new TreeGrid(this);
    m_VSTDuplicates->setObjectName(QStringLiteral("VSTDuplicates"));
    m_VSTDuplicates->setAccessibleName(QStringLiteral("Duplicitní soubory"));
    m_VSTDuplicates->SetColumns(DuplicateNodes::Columns());
    m_VSTDuplicates->SetImages(&m_context.filePictures.ImgS());
    m_VSTDuplicates->setRootIsDecorated(true);
    m_VSTDuplicates->OnGetText() = [this](NodeId node, int column) {
        return m_nodes.Text(m_VSTDuplicates->Payload(node), column);
    };
    m_VSTDuplicates->OnGetImageIndex() = [this](NodeId node, int column) {
        return m_nodes.Image(m_VSTDuplicates->Payload(node), column);
    };
    m_VSTDuplicates->OnCompareNodes() = [this](NodeId a, NodeId b, int column) {
        return m_nodes.Compare(m_VSTDuplicates->Payload(a), m_VSTDuplicates->Payload(b), column,
                               m_collator);
    };
    m_VSTDuplicates->SetAutoSort(true);
    DesktopLook::OnButtonFace(*m_VSTDuplicates);
    layout->addWidget(m_VSTDuplicates, 1);
    connect(m_VSTDuplicates, &TreeGrid::HeaderClicked, this,
            [this](int column, Qt::MouseButton button) { HeaderClick(column, button); });
    // A set opens as a tree node does; only a copy has a folder to go to.
    m_pmDuplicates = TableActions::HitMenu(
        *m_VSTDuplicates, QStringLiteral("pmDuplicates"), QStringLiteral("actSaveDuplicatesCsv"),
        [this] { GoToSelectedCopy(); },
        [this] {
            const NodeId node = m_VSTDuplicates->SelectedNode();
            return node != kNoNode && DuplicateNodes::IsCopy(m_VSTDuplicates->Payload(node));
        },
        [this] { SaveAsCsv(); });

    m_sbDuplicates = new StatusPanels({150, 250}, {QString(), QString()}, this);
    m_sbDuplicates->setObjectName(QStringLiteral("sbDuplicates"));
    layout->addWidget(m_sbDuplicates);
}

// ---- the search ------------------------------------------------------------------------------

void TfDuplicates::btnFindClick() {
    DuplicateQuery query;
    query.groups = m_groupBoxes->Ticked();
    // Empty files are never duplicates, whatever the field says.
    query.minSize = std::max<int64_t>(1, std::llround(m_edtMinSize->value() * kBytesPerMB));
    const ListRegistry& registry = m_context.registry;
    m_VSTDuplicates->Clear(); // the tree must not ask for nodes while they are replaced
    DuplicateResult result;
    std::atomic<uint64_t> linesRead{0};
    try {
        WorkerWait wait(m_context.mainWindow);
        const bool finished = wait.Run(
            [&](WorkerProgress& progress) {
                m_searchedLists.Note(registry);
                result = FindDuplicates(
                    registry, query,
                    [this](std::string_view a, std::string_view b) {
                        return m_collator.Compare(a, b);
                    },
                    &linesRead, &progress.StopFlag());
            },
            [this, &linesRead](const WorkerProgress&) {
                m_sbDuplicates->SetText(0,
                                        QStringLiteral("Přečteno řádků: %1").arg(linesRead.load()));
                m_sbDuplicates->SetText(1, QString());
                m_sbDuplicates->repaint();
            });
        if (!finished)
            result = DuplicateResult(); // the program is closing
    } catch (...) {
        // A search that failed as a whole shows nothing, and says so.
        m_nodes.Assign({}, {});
        ShowSets();
        throw;
    }
    std::vector<std::string> errors = std::move(result.errors);
    m_nodes.Assign(std::move(result), ListNames(registry));
    ShowSets();
    if (!errors.empty()) {
        // Once, after the sets of every readable list are shown.
        m_VSTDuplicates->repaint();
        ReportErrors(errors);
    }
}

void TfDuplicates::ShowSets() {
    m_VSTDuplicates->BeginUpdate();
    m_VSTDuplicates->Clear();
    const DuplicateResult& result = m_nodes.Result();
    for (size_t s = 0; s < result.sets.size(); ++s) {
        const NodeId set = m_VSTDuplicates->AddChild(kNoNode, DuplicateNodes::SetPayload(s));
        const DuplicateSet& shown = result.sets[s];
        for (size_t c = shown.firstCopy; c < shown.firstCopy + shown.copies; ++c)
            m_VSTDuplicates->AddChild(set, DuplicateNodes::CopyPayload(c));
    }
    m_VSTDuplicates->EndUpdate();
    ShowStatus();
}

void TfDuplicates::ShowStatus() {
    m_sbDuplicates->SetText(0, m_nodes.SetCountText());
    m_sbDuplicates->SetText(1, m_nodes.WastedText());
}

void TfDuplicates::HeaderClick(int column, Qt::MouseButton button) {
    if (button != Qt::LeftButton || column == DuplicateNodes::Seznam ||
        column == DuplicateNodes::Datum || column == DuplicateNodes::Cas)
        return; // only the sets' own values order them
    if (column == m_VSTDuplicates->SortColumn()) {
        m_VSTDuplicates->SetSortColumn(
            column, m_VSTDuplicates->SortDirection() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                           : Qt::AscendingOrder);
        return;
    }
    // Names from A, numbers from the largest: the sets that matter most come first.
    m_VSTDuplicates->SetSortColumn(column, column == DuplicateNodes::Soubor ? Qt::AscendingOrder
                                                                            : Qt::DescendingOrder);
}

// ---- going to a copy and saving the sets -------------------------------------------------------

void TfDuplicates::GoToSelectedCopy() {
    const NodeId node = m_VSTDuplicates->SelectedNode();
    if (node == kNoNode || !DuplicateNodes::IsCopy(m_VSTDuplicates->Payload(node)))
        return;
    const SearchRow copy =
        m_nodes.Result().copies[DuplicateNodes::IndexOf(m_VSTDuplicates->Payload(node))];
    m_searchedLists.GoTo(copy, m_navigator, this, Utf8(m_nodes.ListName(copy)));
}

void TfDuplicates::SaveAsCsv() {
    SaveCsvAs(this, QStringLiteral("Duplicity.csv"), [this](std::string& out) {
        AppendDuplicatesCsvHeader(out);
        // In the order shown, numbered as shown.
        for (int row = 0; row < m_VSTDuplicates->ChildCount(kNoNode); ++row) {
            const NodeId set = m_VSTDuplicates->ChildAt(kNoNode, row);
            m_nodes.AppendSetCsv(static_cast<size_t>(row) + 1,
                                 DuplicateNodes::IndexOf(m_VSTDuplicates->Payload(set)), out);
        }
    });
}

} // namespace vyp
