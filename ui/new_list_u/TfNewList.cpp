#include "ui/new_list_u/TfNewList.h"

#include "lists/Groups.h"
#include "qtcore/PathBytes.h"
#include "qtcore/Utf8.h"
#include "ui/common/DesktopLook.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FolderPicker.h"
#include "ui/common/ImageList.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/WorkerWait.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace vyp {

namespace {

constexpr int kNeurcenoItem = 6;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect bounds) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& text, QRect bounds) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(bounds);
    return box;
}

} // namespace

TfNewList::TfNewList(const WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_context(context) {
    setObjectName(QStringLiteral("fNewList"));
    setWindowTitle(QStringLiteral("Vytvoření nového seznamu"));
    setFixedSize(kClientWidth, kClientHeight);
    move(497, 479);
    DesktopLook::ApplyToWindow(*this);
    BuildLayout();
    FormCreate();
}

TfNewList::~TfNewList() {
    FormDestroy();
}

void TfNewList::FormCreate() {
    m_scanLines = std::make_unique<ScanLines>();
}

void TfNewList::FormDestroy() {
    m_scanLines.reset();
}

void TfNewList::BuildLayout() {
    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(0, 0, 107, kClientHeight);
    m_image1 = new QLabel(m_panel1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(10, 15, 94, 89);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image1->setPixmap(PictureIcon(QStringLiteral("newlistart"), 85).pixmap(85, 85));
    m_lblPrubeh = new QLabel(m_panel1);
    m_lblPrubeh->setObjectName(QStringLiteral("lblPrubeh"));
    m_lblPrubeh->setGeometry(4, 15, 100, 89);
    m_lblPrubeh->setAlignment(Qt::AlignCenter);
    m_lblPrubeh->hide();

    m_panel2 = new QWidget(this);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setGeometry(107, 0, 256, kClientHeight);
    MakeLabel(m_panel2, QStringLiteral("Label1"), QStringLiteral("Složka:"), {3, 12, 35, 13});
    m_edtFolder = new QLineEdit(m_panel2);
    m_edtFolder->setObjectName(QStringLiteral("edtFolder"));
    m_edtFolder->setGeometry(46, 6, 180, 19);
    m_edtFolder->setReadOnly(true);
    DesktopLook::OnButtonFace(*m_edtFolder);
    m_bntVyberSlozku = new QToolButton(m_panel2);
    m_bntVyberSlozku->setObjectName(QStringLiteral("bntVyberSlozku"));
    m_bntVyberSlozku->setGeometry(230, 5, 23, 22);
    m_bntVyberSlozku->setIconSize(QSize(16, 16));
    m_bntVyberSlozku->setIcon(PictureIcon(QStringLiteral("openfolder"), 16));
    m_bntVyberSlozku->setFocusPolicy(Qt::NoFocus); // a speed button never takes the focus
    m_bntVyberSlozku->setAccessibleName(QStringLiteral("Vyberte složku."));
    MakeLabel(m_panel2, QStringLiteral("Label2"), QStringLiteral("Název seznamu:"),
              {3, 36, 79, 13});
    m_edtNazev = new QLineEdit(m_panel2);
    m_edtNazev->setObjectName(QStringLiteral("edtNazev"));
    m_edtNazev->setGeometry(87, 30, 166, 19);
    m_chckbObnova = MakeCheckBox(m_panel2, QStringLiteral("chckbObnova"),
                                 QStringLiteral("Automaticky obnovovat"), {4, 54, 145, 17});
    m_chckbPAS = MakeCheckBox(m_panel2, QStringLiteral("chckbPAS"),
                              QStringLiteral("Pouze adresářovou strukturu"), {4, 71, 162, 17});
    m_cmbGroup = new QComboBox(m_panel2);
    m_cmbGroup->setObjectName(QStringLiteral("cmbGroup"));
    m_cmbGroup->setGeometry(5, 90, 156, 22);
    m_cmbGroup->setEditable(false);
    m_cmbGroup->setIconSize(QSize(16, 16));
    m_cmbGroup->setMaxVisibleItems(8);
    for (const GroupInfo& group : kGroups)
        m_cmbGroup->addItem(m_context.groupPictures.At(group.id), Utf8(group.caption));
    m_btnVytvor = new QPushButton(QStringLiteral("Vytvoř"), m_panel2);
    m_btnVytvor->setObjectName(QStringLiteral("btnVytvor"));
    m_btnVytvor->setGeometry(164, 53, 88, 61);
    QFont bold = m_btnVytvor->font();
    bold.setBold(true);
    m_btnVytvor->setFont(bold);
    m_btnVytvor->setIconSize(QSize(32, 32));
    m_btnVytvor->setIcon(PictureIcon(QStringLiteral("newlist"), 32));
    m_btnVytvor->setAutoDefault(false); // Enter in the name box creates nothing
    m_btnVytvor->setDefault(false);

    setTabOrder(m_edtFolder, m_chckbPAS);
    setTabOrder(m_chckbPAS, m_btnVytvor);
    setTabOrder(m_btnVytvor, m_edtNazev);
    setTabOrder(m_edtNazev, m_cmbGroup);
    setTabOrder(m_cmbGroup, m_chckbObnova);

    connect(m_bntVyberSlozku, &QToolButton::clicked, this,
            [this] { Guarded([this] { bntVyberSlozkuClick(); }); });
    connect(m_btnVytvor, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnVytvorClick(); }); });
}

void TfNewList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfNewList::FormShow() {
    m_cmbGroup->setCurrentIndex(kNeurcenoItem);
}

// ---- the folder ------------------------------------------------------------------------------

bool TfNewList::BrowseForFolder(const QString& prompt, QString& folder) {
    if (!QFileInfo(folder).isDir())
        folder.clear(); // the dialog then opens where it likes
    const std::optional<QString> chosen = FolderPicker::Pick(this, {prompt, folder});
    if (!chosen)
        return false;
    folder = QDir::toNativeSeparators(*chosen);
    return true;
}

void TfNewList::bntVyberSlozkuClick() {
    QString folder = m_edtFolder->text();
    if (!BrowseForFolder(QStringLiteral("Vyberte složku."), folder))
        return;
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    m_edtFolder->setText(folder);
}

// ---- creating the list -----------------------------------------------------------------------

void TfNewList::btnVytvorClick() {
    const DataFolder& folder = m_context.environment.data;
    const QString name = m_edtNazev->text();
    const std::string nameBytes = Utf8Bytes(name);
    // A name that would lead out of "Seznamy" is refused before any file is looked at.
    if (!nameBytes.empty()) {
        if (const auto problem = NamedListProblem(folder, nameBytes)) {
            Dialogs::Warn(this, Utf8(*problem));
            return;
        }
    }
    if (QFileInfo(PathText(folder.ListFilePath(nameBytes))).isFile() &&
        !Dialogs::Ask(this, QStringLiteral("Tento název seznamu už existuje!\r\n"
                                           "Chcete tento seznam přepsat?")))
        return;
    if (m_edtFolder->text().isEmpty() || name.isEmpty()) {
        Dialogs::Warn(this, QStringLiteral("Zadejte složku a název souboru!"),
                      QStringLiteral("Warning"), QMessageBox::Ok | QMessageBox::Cancel);
        return;
    }
    const NamedList list{
        CorePath(m_edtFolder->text()), nameBytes, m_cmbGroup->currentIndex() + kFirstGroup,
        ScanOptions{m_chckbPAS->isChecked(), m_context.environment.regional.timeSeparator}};
    const std::optional<size_t> unreadable = CreateWhileWindowsWait(list);
    if (!unreadable)
        return; // the program is closing
    if (m_chckbObnova->isChecked())
        emit RefreshListsRequested();
    Dialogs::Beep();
    // A list with holes must not pass for a whole catalogue of the folder.
    if (*unreadable > 0)
        Dialogs::Warn(this, Utf8(UnreadableFoldersText(*unreadable)));
}

std::optional<size_t> TfNewList::CreateWhileWindowsWait(const NamedList& list) {
    // The running count stands in the picture's place until the scan has ended.
    struct Counting {
        TfNewList& window;
        explicit Counting(TfNewList& w) : window(w) {
            window.m_scanning = true;
            window.m_image1->hide();
            window.m_lblPrubeh->show();
        }
        ~Counting() {
            window.m_lblPrubeh->hide();
            window.m_image1->show();
            window.m_scanning = false;
        }
    } counting(*this);
    size_t unreadable = 0;
    bool stopped = false;
    WorkerWait wait(m_context.mainWindow);
    const bool finished = wait.Run(
        [&](WorkerProgress& progress) {
            try {
                unreadable =
                    CreateNamedList(m_context.environment.data, *m_context.environment.walker, list,
                                    *m_scanLines, [&progress](const ScanCount& count) {
                                        return progress.Report(count.folders, count.files);
                                    });
            } catch (const ListCreationStopped&) {
                stopped = true;
            }
        },
        [this](const WorkerProgress& progress) { ShowScanCount(progress); });
    if (!finished || stopped)
        return std::nullopt;
    return unreadable;
}

void TfNewList::ShowScanCount(const WorkerProgress& progress) {
    m_lblPrubeh->setText(QStringLiteral("Načítám…\nsložek: %1\nsouborů: %2")
                             .arg(progress.Folders())
                             .arg(progress.Files()));
    m_lblPrubeh->update(); // painted on every tick, so the window is seen to be alive
}

} // namespace vyp
