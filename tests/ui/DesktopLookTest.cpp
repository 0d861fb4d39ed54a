// What a desktop user sees beyond the data: the captions the window system shows, Qt's own
// texts in the user's language, how the tables draw lines and selections, the picture of an
// unknown file type, and accessible names.
#include "UiFixture.h"

#include "ui/common/ErrorReport.h"
#include "ui/common/QtTranslations.h"
#include "ui/common/TreeGridStyle.h"
#ifdef _WIN32
#include "ui/common/ShellFileTypeIcons.h"
#endif

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <qpa/qplatformwindow.h>

namespace vyp::test {
namespace {

// The caption as the window system shows it: the X11 and Wayland platforms of Qt format every
// title this way before handing it on.
struct WindowSystemTitle : QPlatformWindow {
    static QString Of(const QWidget& window) {
        return formatWindowTitle(window.windowTitle(), QStringLiteral(" \u2014 "));
    }
};

class Captions : public UiFixture {};

TEST_F(Captions, ErrorBoxIsTitledChybaAloneUnderAWindowManager) {
    std::filesystem::remove(FsPath(m_dir / "Seznamy"));
    WriteFile(m_dir / "Seznamy", "not a folder"); // the list folder cannot be made
    Start();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    const auto box = Dialogs::MakeBox(m_window.get(), Dialogs::Shown()[0]);
    EXPECT_EQ(box->windowTitle(), "Chyba!");
    EXPECT_EQ(WindowSystemTitle::Of(*box), "Chyba!");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
}

TEST_F(Captions, QuestionsErrorReportsAndTheMainWindowAreTitledVypisnik) {
    AddList("Hry.sez", {"E:\\\t0"});
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "Hry"}));
    QTest::keyClick(&Tree(), Qt::Key_Delete);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    const auto question = Dialogs::MakeBox(m_window.get(), Dialogs::Shown()[0]);
    EXPECT_EQ(WindowSystemTitle::Of(*question), "Vypisnik");
    ReportError(QStringLiteral("'12a' is not a valid integer value"));
    ASSERT_EQ(Dialogs::Shown().size(), 2u);
    const auto report = Dialogs::MakeBox(m_window.get(), Dialogs::Shown()[1]);
    EXPECT_EQ(WindowSystemTitle::Of(*report), "Vypisnik");
    EXPECT_EQ(report->text(), "'12a' is not a valid integer value.");
    EXPECT_EQ(WindowSystemTitle::Of(*m_window), "Vypisnik");
}

// Qt's standard buttons follow the user's language; without a translation they stay English.
TEST(QtTexts, StandardButtonsReadAnoNeUnderCzechAndStayEnglishUnderC) {
    EXPECT_EQ(QtTranslationFor(QLocale::c()), nullptr);
    const std::unique_ptr<QTranslator> czech =
        QtTranslationFor(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    if (!czech)
        GTEST_SKIP() << "Qt's Czech translation (qtbase_cs.qm, Debian package "
                        "qt6-translations-l10n) is not installed";
    MessageRequest question;
    question.caption = QStringLiteral("Vypisnik");
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    const auto english = Dialogs::MakeBox(nullptr, question);
    EXPECT_EQ(english->button(QMessageBox::Yes)->text().remove('&'), "Yes");
    QCoreApplication::installTranslator(czech.get());
    const auto translated = Dialogs::MakeBox(nullptr, question);
    EXPECT_EQ(translated->button(QMessageBox::Yes)->text().remove('&'), "Ano");
    EXPECT_EQ(translated->button(QMessageBox::No)->text().remove('&'), "Ne");
    QCoreApplication::removeTranslator(czech.get());
}

const QString kLongName = QStringLiteral(
    "Přehledné české názvy her a doplňků k nim, seřazené podle roku vydání a výrobce, 1998–2004");

class TableLook : public UiFixture {
protected:
    // The window drawn as the screen shows it, with the keyboard focus in grid.
    QImage Shot(QAbstractItemView& grid) {
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        grid.setFocus();
        QApplication::processEvents();
        return m_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The pixel of grid's viewport at point, in a shot of the window (as 8-bit RGB).
    QRgb At(const QImage& shot, QAbstractItemView& grid, QPoint point) {
        return shot.pixel(grid.viewport()->mapTo(m_window.get(), point)) | 0xFF000000u;
    }
    template <typename Grid> QRect RowRect(Grid& grid, NodeId node) {
        return grid.visualRect(grid.Model().IndexOf(node));
    }

    void AddGamesList() {
        AddList("Hry.sez",
                {"E:\\\t30", "Игры и дополнения.tar.gz\t5\t2004.1.15\t9:30.0",
                 "ゲーム.TXT\t5\t2004.1.15\t9:30.0",
                 (kLongName + "\\\t10\t2004.1.15\t9:30.0").toStdString(),
                 "Übersicht über Spiele\\\t10\t2004.1.15\t9:30.0", "Jeux d'été.doc\t10\t1\t1"});
    }
};

TEST_F(TableLook, SelectionIsPaleFramedAndStrongerInTheFocusedPane) {
    AddGamesList();
    Start();
    const NodeId list = Node({"Neurčeno (1)", "Hry"});
    Tree().SelectNode(list);
    View().SelectNode(View().FirstNode());
    const QPalette colours = Tree().palette();
    const QRgb focusedFill = TreeGridStyle::SelectionFill(colours, true).rgb();
    const QRgb unfocusedFill = TreeGridStyle::SelectionFill(colours, false).rgb();
    ASSERT_NE(focusedFill, unfocusedFill);
    ASSERT_NE(focusedFill, colours.color(QPalette::Highlight).rgb());

    // Inside the selected node, left of its picture: the fill; on its edge: the frame. The
    // frame hugs the name: the rest of the tree's row stays as it was.
    const QRect treeRow = RowRect(Tree(), list);
    const QPoint treeInside(treeRow.left() + 1, treeRow.center().y());
    const QPoint treeBeyond(treeRow.right() - 2, treeRow.center().y());
    ASSERT_GE(treeRow.width(), 70) << "the column is as wide as the longest caption shown";
    const QRect viewRow = RowRect(View(), View().FirstNode());
    const QPoint viewInside(View().header()->sectionPosition(1) + 3, viewRow.center().y());

    QImage shot = Shot(Tree());
    EXPECT_EQ(At(shot, Tree(), treeInside), focusedFill);
    EXPECT_EQ(At(shot, Tree(), treeBeyond), colours.color(QPalette::Button).rgb());
    EXPECT_EQ(At(shot, Tree(), QPoint(treeInside.x() + 4, treeRow.top())),
              TreeGridStyle::SelectionFrame(colours, true).rgb());
    EXPECT_EQ(At(shot, View(), viewInside), unfocusedFill);

    shot = Shot(View());
    EXPECT_EQ(At(shot, Tree(), treeInside), unfocusedFill);
    EXPECT_EQ(At(shot, Tree(), QPoint(treeInside.x() + 4, treeRow.top())),
              TreeGridStyle::SelectionFrame(colours, false).rgb());
    EXPECT_EQ(At(shot, View(), viewInside), focusedFill);
}

TEST_F(TableLook, SelectedPicturesAreNotTinted) {
    AddGamesList();
    Start();
    View(); // the file table's pictures come from the counting provider: plain red
    Tree().SelectNode(Node({"Neurčeno (1)", "Hry"}));
    View().SelectNode(View().FirstNode());
    const QImage shot = Shot(View());
    const QRect row = RowRect(View(), View().FirstNode());
    int red = 0;
    for (int x = row.left(); x < row.left() + 24; ++x)
        red += At(shot, View(), QPoint(x, row.center().y())) == QColor(Qt::red).rgb() ? 1 : 0;
    EXPECT_GE(red, 8) << "the selected row's picture is drawn in its own colour";
}

TEST_F(TableLook, TreeLinesJoinEveryLevelAndLongNamesScrollSideways) {
    AddGamesList();
    Start();
    const NodeId group = Node({"Neurčeno (1)"});
    Tree().expand(Tree().Model().IndexOf(group));
    const NodeId list = Node({"Neurčeno (1)", "Hry"});
    Tree().expand(Tree().Model().IndexOf(list));
    m_window->resize(500, 400);
    QApplication::processEvents();
    const QImage shot = Shot(Tree());
    const QRgb line = TreeGridStyle::LineColour(Tree().palette()).rgb();

    // Left of the first group, in the column of the top level's buttons: a dotted line runs
    // down past every group, so about every other pixel of it has the line's colour.
    const QRect first = RowRect(Tree(), Tree().FirstNode());
    const QRect last = RowRect(Tree(), Tree().ChildAt(kNoNode, 6));
    const int lineX = first.left() - Tree().indentation() / 2 - 1;
    int dots = 0;
    for (int y = first.bottom() + 1; y < last.top(); ++y)
        for (int dx = 0; dx <= 2; ++dx)
            dots += At(shot, Tree(), QPoint(lineX + dx, y)) == line ? 1 : 0;
    EXPECT_GE(dots, (last.top() - first.bottom()) / 3);

    // The long folder name is whole; the tree scrolls sideways to show it.
    const int needed = Tree().fontMetrics().horizontalAdvance(kLongName);
    EXPECT_GE(Tree().columnWidth(0), needed);
    EXPECT_GT(Tree().horizontalScrollBar()->maximum(), 0);
}

TEST(UnknownFileType, HasTheOutlinedPageOfOurOwn) {
    MimeFileTypeIcons icons;
    const QImage unknown = icons.IconForExtension(QStringLiteral("qzx7")).pixmap(16).toImage();
    EXPECT_EQ(unknown, OutlinedPageIcon().pixmap(16).toImage());
    int outline = 0; // dark enough to see on the button face
    for (int y = 0; y < unknown.height(); ++y)
        for (int x = 0; x < unknown.width(); ++x) {
            const QColor pixel = unknown.pixelColor(x, y);
            outline += pixel.alpha() > 128 && pixel.lightness() < 160 ? 1 : 0;
        }
    EXPECT_GE(outline, 20);
}

#ifdef _WIN32
// On Windows the table shows Explorer's icon of each type, at the screen's density.
TEST(ShellFileTypes, IconsAreTheShellsAtItsSmallSize) {
    ShellFileTypeIcons icons;
    const QIcon text = icons.IconForExtension(QStringLiteral("txt"));
    ASSERT_FALSE(text.isNull());
    const QPixmap pixmap = text.pixmap(16);
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    // A corner lets the table's colour through.
    EXPECT_TRUE(image.pixelColor(0, 0).alpha() == 0 || image.pixelColor(15, 15).alpha() == 0);
    // Upper case asks the same type; an unknown one gets the shell's generic picture.
    EXPECT_EQ(icons.IconForExtension(QStringLiteral("TXT")).pixmap(16).toImage(), pixmap.toImage());
    EXPECT_FALSE(icons.IconForExtension(QStringLiteral("qzx7")).isNull());
}
#endif

TEST_F(TableLook, ToolButtonsAndTablesAreNamedForScreenReaders) {
    Start();
    EXPECT_EQ(Tree().accessibleName(), "Seznamy");
    EXPECT_EQ(View().accessibleName(), "Soubory");
    const auto buttons = m_window->findChildren<QToolButton*>();
    ASSERT_GE(buttons.size(), 3);
    for (const QToolButton* button : buttons) {
        if (button->objectName().startsWith(QLatin1String("btn"))) {
            EXPECT_FALSE(button->accessibleName().isEmpty()) << button->objectName().toStdString();
            EXPECT_EQ(button->accessibleName(), button->toolTip());
        }
    }
}

} // namespace
} // namespace vyp::test
