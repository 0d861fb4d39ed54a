#include "ui/find_u/TfFind.h"

#include "lists/Groups.h"
#include "qtcore/Utf8.h"
#include "search/ListSearch.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"
#include "ui/common/CursorPosition.h"
#include "ui/common/DesktopLook.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTable.h"
#include "ui/common/FolderNavigator.h"
#include "ui/common/GroupBoxes.h"
#include "ui/common/ImageList.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TableActions.h"
#include "ui/common/WorkerWait.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace vyp {

namespace {

constexpr int kPanel1Height = 41;
constexpr int kEditLeft = 84;
constexpr int kEditRightMargin = 45; // as designed: 659 - 84 - 530
constexpr int kButtonRightMargin = 39;
constexpr int kFilterRowTop[7] = {3, 22, 41, 60, 79, 98, 117};
constexpr int kCheckBoxWidth[7] = {61, 46, 61, 55, 67, 58, 70};

constexpr const char* kNoMemoryForMore =
    "Pro další výsledky hledání není dost paměti: zobrazeny jsou ty, které se vešly.";

} // namespace

TfFind::TfFind(const WindowContext& context, FolderNavigator& navigator, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_navigator(navigator),
      m_collator(context.environment.collation),
      m_found(context.filePictures, context.environment.regional) {
    DesktopLook::ApplyToSideWindow(*this, QStringLiteral("fFind"),
                                   QStringLiteral("Výsledky hledání"));
    setGeometry(363, 419, 667, 388);
    BuildLayout();
    BuildFilterPanel();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(25);
    connect(m_timer, &QTimer::timeout, this, [this] { TimerTimer(); });
    // Said once a search, after the paint that found the list changed.
    m_found.onListChanged = [this](std::string_view listName) {
        QTimer::singleShot(0, this, [this, name = std::string(listName)] {
            if (!m_listChangeSaid)
                TellListChanged(name);
        });
    };
}

TfFind::~TfFind() {
    // The table asks the rows for its texts: take it down while they still exist.
    delete m_VSTFind;
}

void TfFind::BuildLayout() {
    QVBoxLayout* layout = DesktopLook::Column(*this);

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFixedHeight(kPanel1Height);
    m_panel1->installEventFilter(this); // its children keep their right margins
    m_label1 = new QLabel(QStringLiteral("Hledat:"), m_panel1);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->move(45, 15);
    m_label1->adjustSize();
    m_edtFind = new QLineEdit(m_panel1);
    m_edtFind->setObjectName(QStringLiteral("edtFind"));
    m_edtFind->setAccessibleName(QStringLiteral("Hledat"));
    m_edtFind->setGeometry(kEditLeft, 12, 530, 19);
    m_edtFind->installEventFilter(this);
    m_btnFind = new QToolButton(m_panel1);
    m_btnFind->setObjectName(QStringLiteral("btnFind"));
    m_btnFind->setToolTip(QStringLiteral("Hledat"));
    m_btnFind->setAccessibleName(QStringLiteral("Hledat"));
    m_btnFind->setAutoRaise(true); // flat until the mouse is over it
    m_btnFind->setFocusPolicy(Qt::NoFocus);
    m_btnFind->setGeometry(620, 3, 36, 36);
    m_btnFind->setIconSize(QSize(32, 32));
    m_btnFind->setIcon(PictureIcon(QStringLiteral("find"), 32));
    m_btnFind->setCursor(Qt::PointingHandCursor);
    connect(m_btnFind, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnFindClick(); }); });
    layout->addWidget(m_panel1);

    m_VSTFind = new FileTable(m_context.environment.collation, this);
    m_VSTFind->setObjectName(QStringLiteral("VSTFind"));
    m_VSTFind->setAccessibleName(QStringLiteral("Výsledky hledání"));
    m_VSTFind->SetImages(&m_context.filePictures.ImgS());
    m_VSTFind->SetFileColumns(FoundRows::Columns());
    m_VSTFind->SetFillColumn(FoundRows::SouborSlozka);
    m_VSTFind->header()->setSectionsMovable(true);
    m_VSTFind->Show(&m_found); // nothing found before the first search
    DesktopLook::OnButtonFace(*m_VSTFind);
    layout->addWidget(m_VSTFind, 1);
    // Going needs a hit: a right click does not select one.
    m_pmFind = TableActions::HitMenu(
        *m_VSTFind, QStringLiteral("pmFind"), QStringLiteral("actSaveFoundCsv"),
        [this] { GoToSelectedHit(); }, [this] { return m_VSTFind->SelectedNode() != kNoNode; },
        [this] { SaveResultsAsCsv(); });

    m_sbFind = new StatusPanels(
        {150, 150}, {QStringLiteral("Nalezených souborů:"), QStringLiteral("Nalezených adresářů:")},
        this);
    m_sbFind->setObjectName(QStringLiteral("sbFind"));
    layout->addWidget(m_sbFind);
    // Many rows sort on a worker, their progress where the count of files stands.
    m_VSTFind->SortLargeTablesOnAWorker(m_context.mainWindow, [this](int percent) {
        if (percent < 0)
            ShowCounts(m_found.FileCount(), m_found.FolderCount());
        else
            m_sbFind->SetText(0, QStringLiteral("Řazení: %1 %").arg(percent));
        m_sbFind->repaint();
    });
    setFocusProxy(m_edtFind);
}

void TfFind::BuildFilterPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlFind"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true); // open, it covers the table below it
    panel->setGeometry(2, 2, kCollapsedSize, kCollapsedSize);
    m_pnlFind = panel;
    m_image8 = new QLabel(panel);
    m_image8->setObjectName(QStringLiteral("Image8"));
    m_image8->setGeometry(2, 2, 32, 36);
    m_image8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image8->setPixmap(PictureIcon(QStringLiteral("groups"), 32).pixmap(32, 32));
    m_groupBoxes.emplace(*panel);
    for (size_t i = 0; i < kGroups.size(); ++i) {
        auto* image = new QLabel(panel);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        image->setGeometry(7, kFilterRowTop[i], 16, 16);
        image->setPixmap(m_context.groupPictures.At(kGroups[i].id).pixmap(16, 16));
        image->hide();
        m_groupImages[i] = image;
        QCheckBox* box = m_groupBoxes->Boxes()[i];
        // As designed, or as wide as the caption needs in this system's font, within the
        // open panel.
        const int width =
            std::min(std::max(kCheckBoxWidth[i], box->sizeHint().width()), kExpandedSize - 34 - 2);
        box->setGeometry(34, kFilterRowTop[i], width, 17);
        box->hide();
    }
    panel->raise(); // above Panel1 and the table
}

// ---- the search ------------------------------------------------------------------------------

void TfFind::btnFindClick() {
    const GroupFilter groups = m_groupBoxes->Ticked();
    const std::string text = Utf8Bytes(m_edtFind->text());
    const ListRegistry& registry = m_context.registry;
    std::vector<std::string> errors;
    struct Searching {
        bool& flag;
        explicit Searching(bool& f) : flag(f) { flag = true; }
        ~Searching() { flag = false; }
    } searching(m_searching);
    bool outOfMemory = false;
    m_listChangeSaid = false;
    try {
        m_VSTFind->Show(nullptr); // the table must not ask for rows while they are replaced
        m_found.Assign({}, {}, m_collator); // the rows before are not kept beside the new ones
        SearchHitsResult result;
        WorkerWait wait(m_context.mainWindow);
        const bool finished = wait.Run(
            [&](WorkerProgress& progress) {
                m_searchedLists.Note(registry);
                result = SearchListHits(text, groups, registry,
                                        [&progress](int32_t folders, int32_t files) {
                                            return progress.Report(static_cast<uint64_t>(folders),
                                                                   static_cast<uint64_t>(files));
                                        });
            },
            [this](const WorkerProgress& progress) {
                ShowCounts(progress.Files(), progress.Folders());
                m_sbFind->repaint();
            });
        if (!finished)
            result = SearchHitsResult(); // the program is closing
        // The names as they are now: the rows keep them until the next search, whatever
        // happens to the registry meanwhile.
        outOfMemory = result.outOfMemory;
        m_found.Assign(std::move(result.rows), ListNames(registry), m_collator);
        errors = std::move(result.errors);
        m_VSTFind->Show(&m_found);
    } catch (...) {
        // A search that failed as a whole shows nothing, and says so, rather than the counts
        // of the one before.
        m_found.Assign({}, {}, m_collator);
        m_VSTFind->Show(&m_found);
        ShowCounts(0, 0);
        try {
            throw;
        } catch (const std::bad_alloc&) {
            // Said in the program's words, not the library's.
            ReportError(QStringLiteral("Pro výsledky hledání není dost paměti."));
            return;
        }
    }
    // Counted from the rows themselves, so they always match what the table shows.
    ShowCounts(m_found.FileCount(), m_found.FolderCount());
    if (outOfMemory)
        errors.emplace_back(kNoMemoryForMore);
    if (!errors.empty()) {
        // Once, after the rows of every readable list are shown.
        m_VSTFind->repaint();
        ReportErrors(errors);
    }
}

// ---- going to a hit and saving the results -----------------------------------------------------

void TfFind::ShowCounts(size_t files, size_t folders) {
    m_sbFind->SetText(0, QStringLiteral("Nalezených souborů: %1").arg(files));
    m_sbFind->SetText(1, QStringLiteral("Nalezených adresářů: %1").arg(folders));
}

void TfFind::GoToSelectedHit() {
    const NodeId node = m_VSTFind->SelectedNode();
    if (node == kNoNode)
        return;
    const size_t hit = m_VSTFind->Row(node);
    SearchRows texts;
    if (m_found.ReadRow(hit, texts))
        m_searchedLists.GoTo(texts[0], m_navigator, this, Utf8(m_found.ListName(hit)));
    else
        TellListChanged(m_found.ListName(hit));
}

void TfFind::TellListChanged(std::string_view listName) {
    m_listChangeSaid = true;
    SearchedLists::TellChanged(this, Utf8(listName));
}

void TfFind::SaveResultsAsCsv() {
    m_VSTFind->SaveAsCsv(QStringLiteral("Výsledky hledání.csv"));
}

// ---- events ----------------------------------------------------------------------------------

void TfFind::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_timer->start();
}

void TfFind::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A minimised window is still shown; only hiding it stops the hover test.
    if (!event->spontaneous())
        m_timer->stop();
}

void TfFind::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_pnlFind->raise();
}

bool TfFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edtFind && event->type() == QEvent::KeyPress) {
        // Enter searches whatever modifiers are held; the field still gets the key.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            Guarded([this] { btnFindClick(); });
    } else if (watched == m_panel1 && event->type() == QEvent::Resize) {
        const int width = m_panel1->width();
        m_edtFind->resize(std::max(0, width - kEditLeft - kEditRightMargin), m_edtFind->height());
        m_btnFind->move(width - kButtonRightMargin, m_btnFind->y());
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the group filter ------------------------------------------------------------------------

void TfFind::TimerTimer() {
    const QPoint at = CursorPosition::Get();
    const QPoint corner = m_pnlFind->mapToGlobal(QPoint(0, 0));
    const int x = at.x() - corner.x();
    const int y = at.y() - corner.y();
    if (0 < x && x < m_pnlFind->width() && 0 < y && y < m_pnlFind->height()) {
        ExpandFilterPanel();
        m_filterPanelExpanded = true;
    }
    // Measured with the size the panel has now; on the border line nothing changes.
    if (x < 0 || x > m_pnlFind->width() || y < 0 || y > m_pnlFind->height()) {
        CollapseFilterPanel();
        m_filterPanelExpanded = false;
    }
}

void TfFind::ExpandFilterPanel() {
    if (m_filterPanelExpanded)
        return;
    m_image8->hide();
    // Grown in one step: the steps of one tick were never painted one by one.
    m_pnlFind->resize(kExpandedSize, kExpandedSize);
    ShowFilterControls(true);
}

void TfFind::CollapseFilterPanel() {
    if (!m_filterPanelExpanded)
        return;
    ShowFilterControls(false);
    m_pnlFind->resize(kCollapsedSize, kCollapsedSize);
    m_image8->show();
}

void TfFind::ShowFilterControls(bool visible) {
    for (QCheckBox* box : m_groupBoxes->Boxes())
        box->setVisible(visible);
    for (QLabel* image : m_groupImages)
        image->setVisible(visible);
}

} // namespace vyp
