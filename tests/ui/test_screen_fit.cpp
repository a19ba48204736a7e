#include "ui/pages/screen_fit.h"

#include "pages/dial_commands.h"
#include "tests/ui/window_fixture.h"
#include "ui/pages/main_item_dlg.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace qzb {
namespace {

constexpr QSize kDesigned{760, 520};

struct CWindowCase
{
    const char* screen;
    QRect available;
    QSize wanted;
    QSize opened;
};

// The screens people run the window on: a laptop at 100%, a full-HD screen at 200% (960x540 in
// the window's pixels), one with a panel taking its top, a large one, and one smaller than the
// window was designed for.
TEST(ScreenFit, TheWindowOpensAtItsContentsSizeAsFarAsTheScreenAllows)
{
    const CWindowCase cases[] = {
        {"1366x768 at 100%", QRect(0, 0, 1366, 768), QSize(700, 1251), QSize(760, 708)},
        {"1366x768, a page that fits", QRect(0, 0, 1366, 768), QSize(900, 600), QSize(900, 600)},
        {"1920x1080 at 200%", QRect(0, 0, 960, 540), QSize(700, 1251), QSize(760, 480)},
        {"a panel above", QRect(0, 28, 1366, 740), QSize(700, 1251), QSize(760, 680)},
        {"1920x1200", QRect(0, 0, 1920, 1200), QSize(700, 1251), QSize(760, 1140)},
        {"small content", QRect(0, 0, 1920, 1200), QSize(400, 300), kDesigned},
        {"a screen smaller than the design", QRect(0, 0, 640, 480), QSize(700, 900), QSize(624, 420)},
    };
    for (const CWindowCase& c : cases) {
        EXPECT_EQ(FitWindowToScreen(c.wanted, kDesigned, c.available), c.opened) << c.screen;
    }
}

TEST(ScreenFit, AScrollingPartShortensByWhatItsDialogIsOverTheScreen)
{
    const QRect laptop(0, 0, 1366, 768); // 708 for a dialog with its frame
    EXPECT_EQ(FitScrollingPartSize(QSize(440, 600), 660, 15, laptop), QSize(440, 600)) << "fits";
    EXPECT_EQ(FitScrollingPartSize(QSize(440, 820), 880, 15, laptop), QSize(455, 648)) << "172 over";
    EXPECT_EQ(FitScrollingPartSize(QSize(440, 820), 880, 15, QRect(0, 0, 960, 540)), QSize(455, 420));
    EXPECT_EQ(FitScrollingPartSize(QSize(440, 820), 880, 15, QRect(0, 0, 640, 200)), QSize(455, kLowestScrollingPart))
        << "never lower than the lowest part";
}

TEST(ScreenFit, TheTreeTakesItsLabelsWidthUpToAThirdOfTheWindow)
{
    EXPECT_EQ(FitTreeWidth(260, 1000), 260);
    EXPECT_EQ(FitTreeWidth(260, 600), 200);
}

// The window on the test's screen: it opens showing its largest page whole, or as tall as the screen
// leaves; the tree shows its labels whole in service-man mode; the tallest editor stays on the
// screen with OK and Cancel in reach and scrolls inside.
class ScreenFitWindow : public CShownWindowFixture
{
};

TEST_F(ScreenFitWindow, TheWindowItsTreeAndTheTallestEditorFitTheScreen)
{
    const QRect available = window->screen()->availableGeometry();
    const QSize room = UsableRoom(available);
    EXPECT_LE(window->width(), room.width());
    EXPECT_LE(window->height(), room.height());
    auto* frame = window->findChild<QStackedWidget*>("pageFrame");
    ASSERT_NE(frame, nullptr);
    const int largest = window->PageHost()->LargestPageSize().height();
    EXPECT_TRUE(frame->height() >= largest || window->height() == room.height())
        << "page room " << frame->height() << " for a page of " << largest << " in a window of " << window->height()
        << " on a room of " << room.height();

    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    QTreeWidget* tree = window->Tree();
    const QFontMetrics metrics = tree->fontMetrics();
    int labels = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        QTreeWidgetItem* item = *it;
        EXPECT_EQ(item->toolTip(0), item->text(0)) << "the whole label";
        if (item->parent() == nullptr || item->parent()->isExpanded()) {
            const QRect shown = tree->visualItemRect(item);
            EXPECT_LE(shown.left() + metrics.horizontalAdvance(item->text(0)), tree->viewport()->width())
                << item->text(0).toStdString();
            ++labels;
        }
    }
    EXPECT_GT(labels, 20);

    ASSERT_TRUE(window->ShowEntryEditor({kOk, DialEditor::Scan, 1}));
    QDialog* editor = nullptr;
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        editor = dialog->isVisible() ? dialog : editor;
    }
    ASSERT_NE(editor, nullptr);
    EXPECT_LE(editor->height(), room.height());
    auto* scroll = editor->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->widget()->height() <= scroll->viewport()->height() || scroll->verticalScrollBar()->isVisible())
        << "what does not fit scrolls";
    for (QPushButton* button : editor->findChildren<QPushButton*>()) {
        if (button->isVisible() && (button->isDefault() || button->objectName() == "cancelButton")) {
            EXPECT_TRUE(editor->rect().contains(QRect(button->mapTo(editor, QPoint(0, 0)), button->size())))
                << button->objectName().toStdString();
        }
    }
    window->CloseShownDialog();
}

} // namespace
} // namespace qzb
