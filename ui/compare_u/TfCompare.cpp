#include "ui/compare_u/TfCompare.h"

#include "qtcore/Utf8.h"
#include "ui/common/DesktopLook.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTable.h"
#include "ui/common/FolderNavigator.h"
#include "ui/common/ImageList.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TableActions.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace vyp {

namespace {

// The picture of a kind: a sign on a coloured square, readable without the colour: "−" for
// what only the first list has, "+" for what only the second has, "≠" for a changed file.
QIcon KindPicture(DifferenceKind kind) {
    QColor colour;
    QString sign;
    switch (kind) {
    case DifferenceKind::OnlyInFirst:
        colour = QColor(0xC8, 0x3A, 0x2A);
        sign = QStringLiteral("−");
        break;
    case DifferenceKind::OnlyInSecond:
        colour = QColor(0x2E, 0x8B, 0x3A);
        sign = QStringLiteral("+");
        break;
    case DifferenceKind::Changed:
        colour = QColor(0xD0, 0x8A, 0x10);
        sign = QStringLiteral("≠");
        break;
    }
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(size * 3 / 4);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, sign);
        painter.end();
        icon.addPixmap(picture);
    }
    return icon;
}

constexpr std::array<DifferenceKind, 3> kKinds = {
    DifferenceKind::OnlyInFirst, DifferenceKind::OnlyInSecond, DifferenceKind::Changed};

} // namespace

TfCompare::TfCompare(const WindowContext& context, FolderNavigator& navigator, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_navigator(navigator) {
    DesktopLook::ApplyToSideWindow(*this, QStringLiteral("fCompare"),
                                   QStringLiteral("Porovnání seznamů"));
    resize(860, 420);
    m_kindPictures = new ImageList(QSize(16, 16), this);
    for (DifferenceKind kind : kKinds)
        m_kindPictures->Add(KindPicture(kind));
    m_VSTCompare = new FileTable(m_context.environment.collation, this);
    BuildLayout();
}

TfCompare::~TfCompare() {
    // The table asks the rows for its texts: take it down while they still exist.
    delete m_VSTCompare;
}

void TfCompare::BuildLayout() {
    QVBoxLayout* layout = DesktopLook::Column(*this);

    auto* filters = new QWidget(this);
    filters->setObjectName(QStringLiteral("pnlFilter"));
    auto* row = new QHBoxLayout(filters);
    row->setContentsMargins(4, 3, 4, 3);
    const std::array<const char*, 3> names = {"btnOnlyInFirst", "btnOnlyInSecond", "btnChanged"};
    for (size_t k = 0; k < kKinds.size(); ++k) {
        auto* button = new QToolButton(filters);
        button->setObjectName(QString::fromLatin1(names[k]));
        button->setText(Utf8(DifferenceKindText(kKinds[k])));
        button->setToolTip(QStringLiteral("Zobrazit položky: ") + button->text());
        button->setIcon(m_kindPictures->At(static_cast<int>(k)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setChecked(true);
        button->setAutoRaise(true);
        connect(button, &QToolButton::toggled, this, [this] { Guarded([this] { Filter(); }); });
        row->addWidget(button);
        m_kindButtons[k] = button;
    }
    row->addStretch(1);
    layout->addWidget(filters);

    m_VSTCompare->setObjectName(QStringLiteral("VSTCompare"));
    m_VSTCompare->setAccessibleName(QStringLiteral("Rozdíly seznamů"));
    m_VSTCompare->SetImages(m_kindPictures);
    m_VSTCompare->SetFileColumns(DifferenceRows::Columns());
    m_VSTCompare->SetFillColumn(DifferenceRows::Cesta);
    m_VSTCompare->Show(&m_rows); // nothing compared yet
    DesktopLook::OnButtonFace(*m_VSTCompare);
    layout->addWidget(m_VSTCompare, 1);
    TableActions::OnOpen(*m_VSTCompare, [this] { GoToSelectedWhereItIs(); });

    m_pmCompare = TableActions::ContextMenu(*m_VSTCompare, QStringLiteral("pmCompare"));
    QAction* goFirst = TableActions::AddAction(
        *m_pmCompare, QStringLiteral("Přejít na složku v prvním seznamu"),
        QStringLiteral("actGoToFirst"), [this] { GoToSelected(ListDifferences::First); });
    QAction* goSecond = TableActions::AddAction(
        *m_pmCompare, QStringLiteral("Přejít na složku ve druhém seznamu"),
        QStringLiteral("actGoToSecond"), [this] { GoToSelected(ListDifferences::Second); });
    TableActions::AddAction(*m_pmCompare, QStringLiteral("Uložit jako CSV…"),
                            QStringLiteral("actSaveCompareCsv"), [this] { SaveAsCsv(); });
    connect(m_pmCompare, &QMenu::aboutToShow, this, [this, goFirst, goSecond] {
        const bool selected = m_VSTCompare->SelectedNode() != kNoNode;
        goFirst->setEnabled(selected);
        goSecond->setEnabled(selected);
    });

    m_sbCompare = new StatusPanels({260, 300, 200}, {QString(), QString(), QString()}, this);
    m_sbCompare->setObjectName(QStringLiteral("sbCompare"));
    layout->addWidget(m_sbCompare);
    // Millions of differences sort on a worker, their progress where the shown count stands.
    m_VSTCompare->SortLargeTablesOnAWorker(m_context.mainWindow, [this](int percent) {
        if (percent < 0)
            ShowSummary();
        else
            m_sbCompare->SetText(2, QStringLiteral("Řazení: %1 %").arg(percent));
        m_sbCompare->repaint();
    });
}

void TfCompare::Show(ListDifferences&& differences, const std::string& firstName,
                     const std::string& firstFile, const std::string& secondName,
                     const std::string& secondFile) {
    m_VSTCompare->Show(nullptr); // the table must not ask for rows while they are replaced
    m_rows.Assign(std::move(differences));
    m_names = {firstName, secondName};
    m_files = {firstFile, secondFile};
    for (QToolButton* button : m_kindButtons) {
        const QSignalBlocker quiet(button);
        button->setChecked(true);
    }
    setWindowTitle(
        QStringLiteral("Porovnání seznamů: %1 – %2").arg(Utf8(firstName), Utf8(secondName)));
    m_VSTCompare->Show(&m_rows);
    ShowSummary();
}

void TfCompare::Filter() {
    m_VSTCompare->Show(nullptr);
    for (size_t k = 0; k < kKinds.size(); ++k)
        m_rows.ShowKind(kKinds[k], m_kindButtons[k]->isChecked());
    m_VSTCompare->Show(&m_rows);
    ShowSummary();
}

void TfCompare::ShowSummary() {
    const std::vector<std::string> lines =
        ComparisonSummaryLines(m_rows.Differences().Summary(), m_context.environment.regional);
    const bool same = m_rows.Differences().Summary().Same();
    // The lines after "the same", if it is there: folders, then files.
    const size_t counts = same ? 1 : 0;
    m_sbCompare->SetText(0, Utf8(lines[counts]));
    m_sbCompare->SetText(1, Utf8(lines[counts + 1]));
    m_sbCompare->SetText(2, same ? Utf8(lines[0])
                                 : QStringLiteral("Zobrazeno rozdílů: %1 z %2")
                                       .arg(m_rows.RowCount())
                                       .arg(m_rows.Differences().Count()));
}

void TfCompare::GoToSelected(ListDifferences::Side side) {
    const NodeId node = m_VSTCompare->SelectedNode();
    if (node == kNoNode)
        return;
    const ListDifferences& differences = m_rows.Differences();
    const size_t i = m_rows.DifferenceOf(m_VSTCompare->Row(node));
    const std::string_view folder = differences.Folder(i);
    const std::string_view file =
        differences.IsFolder(i) ? std::string_view() : differences.Path(i).substr(folder.size());
    // A list that lacks the entry may still hold its folder.
    const auto index = static_cast<size_t>(side);
    if (!m_navigator.GoToFolder(m_files[index], folder, file))
        Dialogs::Inform(this, QStringLiteral("Seznam „%1“ nemá složku „%2“.")
                                  .arg(Utf8(m_names[index]),
                                       folder.empty() ? QStringLiteral("\\") : Utf8(folder)));
}

void TfCompare::GoToSelectedWhereItIs() {
    const NodeId node = m_VSTCompare->SelectedNode();
    if (node == kNoNode)
        return;
    const size_t i = m_rows.DifferenceOf(m_VSTCompare->Row(node));
    GoToSelected(m_rows.Differences().Kind(i) == DifferenceKind::OnlyInSecond
                     ? ListDifferences::Second
                     : ListDifferences::First);
}

void TfCompare::SaveAsCsv() {
    m_VSTCompare->SaveAsCsv(
        QStringLiteral("Porovnání %1 a %2.csv").arg(Utf8(m_names[0]), Utf8(m_names[1])));
}

} // namespace vyp
