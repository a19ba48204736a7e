#include "app/messenger.h"

#include "app/message_catalogue.h"
#include "app/string_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <vector>

namespace qzb {
namespace {

class CRecordingPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest& request) override
    {
        shown.push_back(request);
        if (onPresent) {
            auto once = std::move(onPresent);
            onPresent = nullptr;
            once();
        }
        return answer;
    }
    WindowHandle ActiveWindow() const override { return active; }

    std::vector<CMessageBoxRequest> shown;
    std::function<void()> onPresent;
    int answer = kAnswerOk;
    WindowHandle active = nullptr;
};

class MessengerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::istringstream in("STR_CAPTION=Utility\n"
                              "STR_SERVICEMAN_CAPTION=Service\n"
                              "STR_MSG_CONNECT_CUT=Cut\n"
                              "STR_MSG_WRITE_FILE_ERROR=File %s not saved\n"
                              "STR_MSG_TERMINATION_SAVE=Save %s? 100%d %n %s\n"
                              "STR_MSG_SM_PASSWORD_ERR=Wrong password\n"
                              "STR_RATIO_DLG_MAIN=1.5\n"
                              "STR_RATIO_DLG_VERSION=abc\n");
        ASSERT_TRUE(table.Load(in).Ok());
    }

    CStringTable table;
    CRecordingPresenter presenter;
    CMessenger messenger{table, presenter};
};

TEST_F(MessengerTest, CodeZeroShowsNothing)
{
    EXPECT_EQ(messenger.ShowMessage(kOk), kAnswerOk);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(MessengerTest, CaptionFollowsTheCatalogue)
{
    messenger.ShowMessage(kMsgConnectCut);
    messenger.ShowMessage(kMsgSmPasswordErr);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].caption, u"Utility");
    EXPECT_EQ(presenter.shown[0].text, u"Cut");
    EXPECT_EQ(presenter.shown[1].caption, u"Service");
    EXPECT_EQ(presenter.shown[1].text, u"Wrong password");
}

TEST_F(MessengerTest, UnknownCodeShowsAnEmptyTextUnderTheStandardCaption)
{
    messenger.ShowMessage(0x80029999);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].caption, u"Utility");
    EXPECT_EQ(presenter.shown[0].text, u"");
}

TEST_F(MessengerTest, InsertReplacesTheFirstPercentSLiterally)
{
    messenger.ShowMessage(kMsgWriteFileError, nullptr, std::nullopt, u"a.Dat");
    messenger.ShowMessage(kMsgWriteFileError);
    messenger.ShowMessage(kMsgTerminationSave, nullptr, std::nullopt, u"%s%d.Dat");
    ASSERT_EQ(presenter.shown.size(), 3u);
    EXPECT_EQ(presenter.shown[0].text, u"File a.Dat not saved");
    EXPECT_EQ(presenter.shown[1].text, u"File %s not saved");
    EXPECT_EQ(presenter.shown[2].text, u"Save %s%d.Dat? 100%d %n %s");
    EXPECT_EQ(presenter.shown[2].buttons, ButtonSet::YesNoCancel);
}

// A refusal that names its limits fills each "%s" in turn, each insert taken literally; spare
// inserts are dropped and spare markers stay.
TEST_F(MessengerTest, SeveralInsertsFillThePercentSInTurn)
{
    const std::vector<std::u16string> inserts = {u"%s.Dat", u"2", u"spare"};
    messenger.ShowMessage(kMsgTerminationSave, nullptr, inserts);
    messenger.ShowMessage(kMsgTerminationSave, nullptr, std::span(inserts).first(1));
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].text, u"Save %s.Dat? 100%d %n 2");
    EXPECT_EQ(presenter.shown[1].text, u"Save %s.Dat? 100%d %n %s");
    EXPECT_EQ(presenter.shown[0].caption, u"Service");
}

TEST_F(MessengerTest, ReturnsThePressedButtonAndHonoursAnExplicitButtonSet)
{
    presenter.answer = kAnswerCancel;
    EXPECT_EQ(messenger.ShowMessage(kMsgConnectCut, nullptr, ButtonSet::OkCancel), kAnswerCancel);
    EXPECT_EQ(presenter.shown.back().buttons, ButtonSet::OkCancel);
}

TEST_F(MessengerTest, MissingKeyShowsTheFixedBoxAndKeepsThePreviousText)
{
    std::u16string text = u"placeholder";
    EXPECT_FALSE(messenger.LookupText("STR_NOT_THERE", text));
    EXPECT_EQ(text, u"placeholder");
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, u"Can not get StringTable.");
    EXPECT_EQ(presenter.shown[0].caption, u"");
}

TEST_F(MessengerTest, OnlyOneCatalogueBoxAtATime)
{
    int nestedAnswer = 0;
    bool openDuringBox = false;
    presenter.answer = kAnswerNo;
    presenter.onPresent = [&] {
        openDuringBox = messenger.IsMessageBoxOpen();
        nestedAnswer = messenger.ShowMessage(kMsgConnectCut);
    };
    EXPECT_EQ(messenger.ShowMessage(kMsgTerminationSave), kAnswerNo);
    EXPECT_TRUE(openDuringBox);
    EXPECT_EQ(nestedAnswer, kAnswerOk);
    EXPECT_EQ(presenter.shown.size(), 1u);
    EXPECT_FALSE(messenger.IsMessageBoxOpen());
}

TEST_F(MessengerTest, ConnectionMessagesBelongToTheApplicationOwner)
{
    int mainWindow = 0;
    int dialog = 0;
    int active = 0;
    presenter.active = &active;

    messenger.ShowMessage(kMsgConnectCut, &dialog);
    EXPECT_EQ(presenter.shown.back().owner, &dialog) << "no application owner yet";
    messenger.ShowMessage(kMsgWriteFileError);
    EXPECT_EQ(presenter.shown.back().owner, &active);

    messenger.SetOwnerWindow(&mainWindow);
    for (MessageCode code = kMsgConnectCut; code <= kMsgConnectUsb; ++code) {
        messenger.ShowMessage(code, &dialog);
        EXPECT_EQ(presenter.shown.back().owner, &mainWindow) << std::hex << code;
    }
    messenger.ShowMessage(kMsgAlreadyReported, &dialog);
    EXPECT_EQ(presenter.shown.back().owner, &dialog);
    messenger.ShowMessage(kMsgWriteFileError, &dialog);
    EXPECT_EQ(presenter.shown.back().owner, &dialog);
}

TEST_F(MessengerTest, SizeRatios)
{
    EXPECT_DOUBLE_EQ(messenger.SizeRatio("STR_RATIO_DLG_MAIN"), 1.5);
    EXPECT_DOUBLE_EQ(messenger.SizeRatio("STR_RATIO_DLG_VERSION"), 1.0);
    EXPECT_TRUE(presenter.shown.empty()) << "a ratio that is no number is no error";
    EXPECT_DOUBLE_EQ(messenger.SizeRatio("STR_RATIO_DLG_MISSING"), 1.0);
    EXPECT_EQ(presenter.shown.size(), 1u) << "a missing ratio key is";
}

TEST(MessageCatalogue, CodesAreUniqueAndKeyed)
{
    std::set<MessageCode> codes;
    for (const CMessageEntry& entry : MessageCatalogue()) {
        EXPECT_TRUE(codes.insert(entry.code).second) << std::hex << entry.code;
        EXPECT_EQ(entry.key.substr(0, 8), "STR_MSG_");
        const bool service = entry.code >= kMsgSmPasswordErr && entry.code <= kMsgSubnetMaskInvalidErr;
        // The refusals that name their limits speak for the service-man pages and dialogs.
        const bool serviceQuestion = entry.code == kMsgTerminationSave || entry.code == kMsgInvalidRangeValue ||
                                     entry.code == kMsgOpenUseFileData || entry.code == kMsgValueMissing ||
                                     entry.code == kMsgValueOutOfRange || entry.code == kMsgNewPasswordTooShort;
        EXPECT_EQ(entry.caption == CaptionKind::Serviceman, service || serviceQuestion) << std::hex << entry.code;
    }
    EXPECT_EQ(codes.size(), 76u) << "67, the report of a service-man password that could not be saved, the "
                                    "notices of a backup not written, a help file not installed and a file in use, "
                                    "the refusals that name their limits, the question of a directory restore and "
                                    "a contacts export with no speed dial to write";
    EXPECT_EQ(FindMessage(kMsgAlreadyReported), nullptr);
    EXPECT_EQ(FindMessage(kMsgUseMachineData)->buttons, ButtonSet::OkCancel);
    EXPECT_EQ(FindMessage(kMsgTerminationUpdate)->buttons, ButtonSet::YesNoCancel);
    EXPECT_EQ(FindMessage(kMsgBatchTimeErr)->caption, CaptionKind::Standard);
}

} // namespace
} // namespace qzb
