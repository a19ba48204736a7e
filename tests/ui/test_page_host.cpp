#include "ui/pages/main_item_dlg.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "pages/admin_number_page.h"
#include "ui/controls/my_edit.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/pages/page_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <sstream>

namespace qzb {
namespace {

constexpr std::uint32_t kAdminPage = 0x02000008;
constexpr std::uint32_t kConfigurationPage = 0x04000002;

// A window like the main one: the tree, then the page host, in one focus chain.
class PageHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_context = std::make_unique<CAppContext>(8313);
        const auto path = std::filesystem::path(QZB_TEST_DATA_DIR) / "M8120QZBSTR.tbl";
        ASSERT_TRUE(m_context->strings.LoadFile(path).Ok());
        m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
        m_window = std::make_unique<QDialog>();
        auto* layout = new QHBoxLayout(m_window.get());
        m_tree = new QTreeWidget(m_window.get());
        m_tree->setObjectName("tree");
        layout->addWidget(m_tree);
        m_host = new CMainItemDlg(*m_context, *m_messenger, m_window.get());
        layout->addWidget(m_host, 1);
        // The host shows pages only while there is data; the band alone before.
        m_host->SetConnectionState(false, true);
        m_window->resize(700, 400);
    }

    void ShowAdminPage()
    {
        ASSERT_EQ(m_host->CreateSettingsPages(), kOk);
        m_host->ShowPage(kAdminPage);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    CMyEdit* AdminEdit() { return m_host->findChild<CMyEdit*>("adminNumberEdit"); }

    std::unique_ptr<CAppContext> m_context;
    CQtMessagePresenter m_presenter;
    std::unique_ptr<CMessenger> m_messenger;
    std::unique_ptr<QDialog> m_window;
    QTreeWidget* m_tree = nullptr;
    CMainItemDlg* m_host = nullptr;
};

TEST_F(PageHost, FailedCommitKeepsTheStoreAndFocusesTheWholeText)
{
    m_context->store.SetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO", 42);
    ShowAdminPage();
    m_host->ReloadAllPages();
    CMyEdit* edit = AdminEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "000042");

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12a345");
    EXPECT_EQ(edit->text(), "12345") << "the typing filter drops the letter";
    const CCheckResult result = m_host->CommitPage(kAdminPage);
    EXPECT_EQ(result.code, kMsgInvalidRangeValue);
    EXPECT_EQ(result.controlId, kAdminNumberEditId);
    EXPECT_EQ(m_context->store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 42);

    m_tree->setFocus();
    m_host->FocusAfterError(kAdminPage, result);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "12345");

    m_host->StoreAllPages();
    EXPECT_EQ(m_context->store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 42)
        << "store all skips a page whose checks fail";
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_0);
    EXPECT_TRUE(m_host->CommitPage(kAdminPage).Ok());
    EXPECT_EQ(m_context->store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 123450);
}

TEST_F(PageHost, ACommittedPageRefreshesWhatOtherPagesShow)
{
    ShowAdminPage();
    CPageView* configuration = m_host->Page(kConfigurationPage);
    auto* hostName = configuration->findChild<QLabel*>("hostNameValue");
    ASSERT_NE(hostName, nullptr);
    m_context->store.SetItemText("DNS_CONF_DLG", "DNS_HOST_NAME", u"printer-3");
    EXPECT_TRUE(m_host->CommitPage(kAdminPage).Ok());
    EXPECT_EQ(hostName->text(), "printer-3");
}

TEST_F(PageHost, EnterAndEscapeInAPageCloseNothing)
{
    ShowAdminPage();
    AdminEdit()->setFocus();
    QTest::keyClick(AdminEdit(), Qt::Key_Return);
    QTest::keyClick(AdminEdit(), Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), 0);
}

TEST_F(PageHost, TabEntersThePageFromTheTreeAndLeavesItAfterTheLastControl)
{
    ShowAdminPage();
    m_tree->setFocus();
    QTest::keyClick(m_tree, Qt::Key_Tab);
    EXPECT_TRUE(AdminEdit()->hasFocus());
    CPageView* page = m_host->Page(kAdminPage);
    EXPECT_EQ(page->FirstTabStop(), AdminEdit());
    EXPECT_EQ(page->LastTabStop(), AdminEdit());
    QTest::keyClick(AdminEdit(), Qt::Key_Tab);
    EXPECT_FALSE(page->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(PageHost, BandShowsTheConnectionWhereNoPageIs)
{
    ShowAdminPage();
    auto* band = m_host->findChild<QLabel*>("connectionStateBand");
    ASSERT_NE(band, nullptr);
    m_host->SetConnectionState(true, false);
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->text(), "Connection state : On-line");
    m_host->SetConnectionState(false, true);
    EXPECT_FALSE(band->isVisible());
    m_host->ShowPage(0x02000004);
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->text(), "Connection state : Off-line");
}

TEST_F(PageHost, InformationPagesScrollByPagesAndStartAtTheTopAgain)
{
    m_host->ShowPage(kConfigurationPage);
    m_window->resize(500, 200);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    CPageView* page = m_host->Page(kConfigurationPage);
    ASSERT_NE(page, nullptr);
    QScrollBar* bar = page->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->pageStep()) << "the configuration rows need more room than the frame";
    EXPECT_EQ(bar->singleStep(), CPageView::kLineStep);

    QWheelEvent down(QPointF(10, 10),
                     page->mapToGlobal(QPointF(10, 10)),
                     QPoint(),
                     QPoint(0, -120),
                     Qt::NoButton,
                     Qt::NoModifier,
                     Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(page->viewport(), &down);
    EXPECT_EQ(bar->value(), bar->pageStep()) << "one notch scrolls one page";
    QWidget* value = page->findChild<QWidget*>("deviceNameValue");
    ASSERT_NE(value, nullptr);
    QTest::keyClick(page->widget(), Qt::Key_Home, Qt::ControlModifier);

    m_host->ShowPage(kAdminPage);
    bar->setValue(bar->pageStep());
    m_host->ShowPage(kConfigurationPage);
    EXPECT_EQ(bar->value(), 0);
}

// The ratio enlarges the room a page's layout starts with; 0 and letters leave it as designed.
TEST(PageRatio, ScalesTheLayoutsStartingSize)
{
    struct CSizes
    {
        double ratio;
        QSize minimum;
        QSize hint;
    };
    auto sizesFor = [](const std::string& ratio) {
        CAppContext context(8313);
        std::istringstream table("STR_RATIO_TREE_AM_ADMINISTRATOR_NO=" + ratio + "\n");
        EXPECT_TRUE(context.strings.Load(table).Ok());
        CQtMessagePresenter presenter;
        CMessenger messenger(context.strings, presenter);
        CPageView view(
            AdminNumberPage(), {&context.store, &context.strings, context.modelBit, &context.device}, messenger);
        view.Initialise();
        return CSizes{view.Ratio(), view.widget()->minimumSize(), view.widget()->sizeHint()};
    };
    const CSizes plain = sizesFor("1.0");
    // The room the layout asks for as designed: the baseline every ratio multiplies.
    ASSERT_GT(plain.hint.width(), 0);
    ASSERT_GT(plain.hint.height(), 0);
    EXPECT_LT(plain.minimum.width(), plain.hint.width()) << "as designed the page may shrink below its hint";
    for (const std::string ignored : {"0", "abc"}) {
        const CSizes sizes = sizesFor(ignored);
        EXPECT_EQ(sizes.ratio, 1.0) << ignored;
        EXPECT_EQ(sizes.minimum, plain.minimum) << ignored;
    }
    const CSizes larger = sizesFor("1.25");
    EXPECT_EQ(larger.ratio, 1.25);
    EXPECT_EQ(larger.minimum,
              QSize(static_cast<int>(plain.hint.width() * 1.25), static_cast<int>(plain.hint.height() * 1.25)));
}

} // namespace
} // namespace qzb
