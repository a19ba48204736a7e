// Upload while the page shown holds a value its check refuses, and typing past an edit's limit,
// driven with keys and the mouse.
#include "base/atomic_file.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/upload_preview_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

namespace qzb {
namespace {

class UploadRefusal : public CShownWindowFixture
{
protected:
    QLineEdit* AdminNumberEdit()
    {
        EXPECT_TRUE(window->EnterServiceMan(u"qorlex"));
        ClickToolbar("connectAction");
        EXPECT_TRUE(window->StateWord() & kStateOnline);
        ClickToolbar("downloadAction");
        EXPECT_TRUE(window->StateWord() & kStateDeviceData);
        EXPECT_TRUE(window->SelectPage("ADMINSTRATOR_NO_DLG"));
        auto* edit = window->findChild<QLineEdit*>("adminNumberEdit");
        if (edit != nullptr) {
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        }
        return edit;
    }
};

TEST_F(UploadRefusal, TheUploadShowsThePagesErrorAndSendsNothing)
{
    QLineEdit* edit = AdminNumberEdit();
    ASSERT_NE(edit, nullptr);
    const std::vector<std::uint8_t> before = [&] {
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(ReadWholeFile(DeviceFile(), bytes), ReadFileResult::Ok);
        return bytes;
    }();
    QTest::keyClicks(edit, "12");
    CQtMessagePresenter::ClearRecorded();
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    // Were the upload to go on, its preview is answered with Cancel rather than left waiting.
    CUploadPreviewDialog::SetNextAnswer(false);
    ClickToolbar("uploadAction");

    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u) << "the page's error, and no question about sending";
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgInvalidRangeValue);
    EXPECT_TRUE(CUploadPreviewDialog::Shown().empty());
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "12");
    std::vector<std::uint8_t> after;
    ASSERT_EQ(ReadWholeFile(DeviceFile(), after), ReadFileResult::Ok);
    EXPECT_EQ(after, before);
}

// Six digits fill the administrator number; a seventh key press is dropped, and the six go up.
TEST_F(UploadRefusal, TypingPastTheLimitKeepsTheLimitAndUploadsIt)
{
    QLineEdit* edit = AdminNumberEdit();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "4567891");
    EXPECT_EQ(edit->text(), "456789");
    EXPECT_FALSE(UploadFromToolbar(true).isEmpty());
    EXPECT_EQ(simulator.Device().UploadCount(), 1u);
    EXPECT_EQ(DeviceMemory()->store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 456789);
}

} // namespace
} // namespace qzb
