#include "model/value_store.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qzb {
namespace {

using Inputs = std::vector<std::pair<std::string, std::u16string>>;

struct EntryEditors : testing::Test
{
    CValueStore store;
    CAddressBook book;

    CEntryEnv Env(std::uint32_t modelBit = 1) const { return {&store, nullptr, modelBit}; }

    void PutFax(std::int32_t number, std::int32_t kind = kKindFax)
    {
        CFaxMailEntry entry;
        entry.number = number;
        entry.kind = kind;
        entry.name.Assign(std::to_string(number));
        entry.address.Assign(kind == kKindFax ? "123" : "a@b");
        ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    }

    template <typename Editor>
    static void Fill(Editor& editor, const Inputs& inputs)
    {
        for (const auto& [name, value] : inputs) {
            const CEntryInput input = editor.SetField(name, value);
            ASSERT_EQ(input.refusal, EntryRefusal::None) << name;
            ASSERT_TRUE(input.message.Ok()) << name;
        }
    }
};

struct CCheckCase
{
    Inputs inputs;
    MessageCode code;
    std::string_view field;
};

void PrintTo(const CCheckCase& c, std::ostream* os)
{
    for (const auto& [name, value] : c.inputs) {
        *os << name << "=" << std::string(value.begin(), value.end()) << " ";
    }
}

class FaxMailOk : public EntryEditors, public testing::WithParamInterface<CCheckCase>
{
};

TEST_P(FaxMailOk, ChecksFieldsInOrderAndLeavesTheBookOnARefusal)
{
    CFaxMailEditor editor(book, 5, Env());
    Fill(editor, GetParam().inputs);
    const CAddressBook before = book;
    const CEntryResult result = editor.Ok(book);
    EXPECT_EQ(result.code, GetParam().code);
    EXPECT_EQ(result.field, GetParam().field);
    if (!result.Ok()) {
        EXPECT_EQ(book, before);
    } else {
        EXPECT_NE(book.FindFaxMailEntry(5), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    FaxMailOk,
    testing::Values(CCheckCase{{{"name", u"\u4E00"}}, kMsgInvalidRangeValueThisLang, "name"},
                    CCheckCase{{{"number", u"12a"}}, kMsgInvalidRangeValueThisLang, "number"},
                    CCheckCase{{}, kMsgNumberErr, "number"},
                    CCheckCase{{{"number", u"P123"}}, kMsgNumberErr, "number"},
                    CCheckCase{{{"number", u"12P3"}}, kOk, ""},
                    CCheckCase{{{"kind", u"email"}, {"address", u"a@b"}}, kOk, ""},
                    CCheckCase{{{"kind", u"email"}, {"address", u"@ab"}}, kMsgEmailAddressErr, "address"},
                    CCheckCase{{{"kind", u"email"}, {"address", u"ab@"}}, kMsgEmailAddressErr, "address"},
                    CCheckCase{{{"kind", u"email"}, {"address", u"ab"}}, kMsgEmailAddressErr, "address"},
                    CCheckCase{{{"kind", u"email"}, {"address", u"a@b@c"}}, kMsgEmailAddressErr, "address"},
                    CCheckCase{{{"kind", u"email"}, {"address", u"a\"@b"}}, kMsgInvalidRangeValueThisLang, "address"}));

TEST_F(EntryEditors, KindDecidesTheFieldsAndTheDetails)
{
    CFaxMailEditor editor(book, 9, Env());
    EXPECT_TRUE(editor.Find("number")->visible);
    EXPECT_FALSE(editor.Find("address")->visible);
    EXPECT_EQ(editor.SetField("address", u"a@b").refusal, EntryRefusal::Hidden);
    Fill(editor, {{"kind", u"email"}});
    EXPECT_FALSE(editor.Find("number")->visible || editor.Find("speed")->visible || editor.Find("batch")->visible);
    EXPECT_EQ(editor.SetField("batch", u"10:30").refusal, EntryRefusal::Hidden);
    EXPECT_EQ(editor.SetField("colour", u"1").refusal, EntryRefusal::UnknownField);
    Fill(editor, {{"address", u"x@y"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    const CFaxMailEntry& stored = *book.FindFaxMailEntry(9);
    EXPECT_EQ(stored.faxSpeed, kFaxSpeedNotSet);
    EXPECT_EQ(stored.batchHour, -1);
}

TEST_F(EntryEditors, AnEntryKeepsItsDetailsUnlessTheyAreChanged)
{
    CFaxMailEntry entry;
    entry.number = 3;
    entry.faxSpeed = kFaxSpeed9600;
    entry.batchHour = 10;
    entry.batchMinute = 30;
    entry.address.Assign("55");
    ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);

    // Renaming without opening the details must not drop the batch time.
    CFaxMailEditor untouched(book, 3, Env());
    EXPECT_EQ(untouched.Text("batch"), u"10:30");
    Fill(untouched, {{"name", u"Renamed"}});
    ASSERT_TRUE(untouched.Ok(book).Ok());
    EXPECT_EQ(book.FindFaxMailEntry(3)->faxSpeed, kFaxSpeed9600);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchHour, 10);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchMinute, 30);

    CFaxMailEditor detailed(book, 3, Env());
    Fill(detailed, {{"speed", u"2"}, {"batch", u"7:05"}});
    ASSERT_TRUE(detailed.Ok(book).Ok());
    EXPECT_EQ(book.FindFaxMailEntry(3)->faxSpeed, kFaxSpeed14400);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchHour, 7);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchMinute, 5);

    CFaxMailEditor half(book, 3, Env());
    EXPECT_EQ(half.SetField("batch", u"10:").message.code, kMsgBatchTimeErr);
    CFaxDetailsForm details({}, store);
    CFaxDetails result;
    ASSERT_EQ(details.SetField("minute", u"30").refusal, EntryRefusal::None);
    EXPECT_EQ(details.Ok(&result).field, "hour");
}

TEST(FaxDetailsTyping, RefusesImpossibleTimesAndPadsTheHour)
{
    EXPECT_FALSE(CFaxDetailsForm::HourTextAccepted(u"35"));
    EXPECT_FALSE(CFaxDetailsForm::HourTextAccepted(u"24"));
    EXPECT_TRUE(CFaxDetailsForm::HourTextAccepted(u"23"));
    EXPECT_TRUE(CFaxDetailsForm::HourTextAccepted(u"3"));
    EXPECT_FALSE(CFaxDetailsForm::MinuteTextAccepted(u"60"));
    EXPECT_TRUE(CFaxDetailsForm::MinuteTextAccepted(u"59"));
    EXPECT_EQ(CFaxDetailsForm::HourOnLeave(u"7"), u"07");
    CValueStore store;
    CFaxDetailsForm details({}, store);
    ASSERT_EQ(details.SetField("hour", u"35").refusal, EntryRefusal::None);
    EXPECT_EQ(details.Text("hour"), u"03");
}

TEST_F(EntryEditors, GroupListFollowsTheAdmissionChecksAndTheKind)
{
    PutFax(1);
    PutFax(2, kKindMail);
    ASSERT_EQ(book.SetGroupMembership(3, 1, true, kKindFax), kOk);
    ASSERT_EQ(book.SetGroupMembership(4, 2, true, kKindMail), kOk);
    CGroupEntry full;
    full.number = 6;
    for (std::int32_t n = 100; n < 150; ++n) {
        full.members.push_back(n);
    }
    ASSERT_EQ(book.PutGroup(full), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 3), kOk);

    CFaxMailEditor editor(book, 1, Env());
    EXPECT_TRUE(editor.GroupChecked(3));
    EXPECT_EQ(editor.SetGroupChecked(4, true).code, kMsgGroupFaxRegistErr);
    EXPECT_FALSE(editor.GroupChecked(4));
    EXPECT_EQ(editor.SetGroupChecked(6, true).code, kMsgGroupOver50Err);
    EXPECT_TRUE(editor.SetGroupChecked(9, true).Ok());
    // E-mail now: the fax groups go without a message; the new group 9 had only this entry.
    Fill(editor, {{"kind", u"email"}, {"address", u"q@r"}});
    EXPECT_FALSE(editor.GroupChecked(3));
    EXPECT_FALSE(editor.GroupChecked(9));
    EXPECT_TRUE(editor.SetGroupChecked(4, true).Ok());
    EXPECT_TRUE(editor.SetGroupChecked(12, true).Ok());
    ASSERT_TRUE(editor.Ok(book).Ok());
    EXPECT_EQ(book.FindGroup(3), nullptr) << "the group left without members goes";
    EXPECT_TRUE(book.Favourites().empty()) << "with its favourite";
    EXPECT_EQ(book.FindGroup(4)->members, (std::vector<std::int32_t>{1, 2}));
    ASSERT_NE(book.FindGroup(12), nullptr);
    EXPECT_EQ(book.FindGroup(12)->kind, kKindMail);
    EXPECT_EQ(book.FindGroup(12)->name.View(), "Group 12");
}

TEST_F(EntryEditors, AnEntryThatLeavesItsGroupForAnotherKindLeavesTheGroupsKind)
{
    PutFax(5);
    PutFax(9);
    ASSERT_EQ(book.SetGroupMembership(2, 5, true, kKindFax), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 9, true, kKindFax), kOk);
    CFaxMailEditor editor(book, 5, Env());
    Fill(editor, {{"kind", u"email"}, {"address", u"bob@example.com"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    ASSERT_NE(book.FindGroup(2), nullptr);
    EXPECT_EQ(book.FindGroup(2)->members, (std::vector<std::int32_t>{9}));
    EXPECT_EQ(book.FindGroup(2)->kind, kKindFax) << "group {9} holds a fax entry only";
}

TEST_F(EntryEditors, NewScanEntryStartsFtpAnonymousAndRestoresThePrivateTexts)
{
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 1);
    CScanEditor editor(book, 221, Env());
    EXPECT_EQ(editor.Value("protocol"), kProtocolFtp);
    EXPECT_EQ(editor.Text("port"), u"21");
    EXPECT_EQ(editor.Value("account"), kAccountAnonymous);
    EXPECT_EQ(editor.Text("user"), u"Anonymous");
    EXPECT_EQ(editor.Value("resolution"), 1);
    EXPECT_EQ(editor.Value("format"), 1);
    EXPECT_EQ(editor.SetField("user", u"me").refusal, EntryRefusal::Disabled);
    Fill(editor, {{"account", u"private"}, {"user", u"me"}, {"password", u"pw"}, {"confirm", u"pw"}});
    Fill(editor, {{"account", u"anonymous"}});
    EXPECT_EQ(editor.Text("password"), u"tumbe");
    Fill(editor, {{"account", u"private"}});
    EXPECT_EQ(editor.Text("user"), u"me");
    EXPECT_EQ(editor.Text("confirm"), u"pw");
    Fill(editor, {{"protocol", u"smb"}});
    EXPECT_FALSE(editor.Find("port")->visible);
    EXPECT_EQ(editor.ServerInputKind(), 17);
}

struct CColourCase
{
    std::uint32_t modelBit;
    std::int32_t colour;
    std::int32_t format; // chosen while gray
    std::int32_t resolution;
    std::vector<std::int32_t> resolutions; // offered after the colour change
    std::int32_t formatAfter;
    std::int32_t resolutionAfter;
};

class ScanColourMode : public EntryEditors, public testing::WithParamInterface<CColourCase>
{
};

TEST_P(ScanColourMode, FiltersFormatAndResolution)
{
    const CColourCase& c = GetParam();
    CScanEditor editor(book, 230, Env(c.modelBit));
    Fill(editor, {{"colour", u"1"}});
    Fill(editor, {{"format", std::u16string(1, u'0' + c.format)}});
    if (c.resolution != 2 || c.modelBit == 1) {
        Fill(editor, {{"resolution", std::u16string(1, u'0' + c.resolution)}});
    }
    Fill(editor, {{"colour", std::u16string(1, u'0' + c.colour)}});
    std::vector<std::int32_t> offered;
    for (const CEntryOption& option : editor.Find("resolution")->offered) {
        offered.push_back(option.value);
    }
    EXPECT_EQ(offered, c.resolutions);
    EXPECT_EQ(editor.Value("format"), c.formatAfter);
    EXPECT_EQ(editor.Value("resolution"), c.resolutionAfter);
    EXPECT_EQ(editor.Find("coding")->enabled, c.colour == 0);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         ScanColourMode,
                         testing::Values(CColourCase{1, 0, 2, 2, {0, 1}, 1, 0},
                                         CColourCase{1, 1, 2, 2, {0, 1, 2}, 2, 1},
                                         CColourCase{2, 1, 0, 0, {0, 1}, 0, 0},
                                         CColourCase{2, 0, 1, 1, {0, 1}, 1, 1}));

class ScanOk : public EntryEditors, public testing::WithParamInterface<CCheckCase>
{
};

TEST_P(ScanOk, ChecksFieldsInOrder)
{
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 1);
    CScanEditor editor(book, 240, Env());
    Fill(editor, GetParam().inputs);
    const CEntryResult result = editor.Ok(book);
    EXPECT_EQ(result.code, GetParam().code);
    EXPECT_EQ(result.field, GetParam().field);
    EXPECT_EQ(book.FindScanEntry(240) != nullptr, result.Ok());
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    ScanOk,
    testing::Values(CCheckCase{{}, kMsgFtpServerAddressErr, "server"},
                    CCheckCase{{{"protocol", u"smb"}}, kMsgSmbAddressErr, "server"},
                    CCheckCase{{{"server", u"a\\b"}}, kMsgInvalidRangeValueThisLang, "server"},
                    CCheckCase{{{"protocol", u"smb"}, {"server", u"a\\b"}}, kMsgInvalidRangeValueThisLang, "directory"},
                    CCheckCase{{{"server", u"h"}, {"port", u""}}, kMsgInvalidRangeValueThisLang, "port"},
                    CCheckCase{{{"server", u"h"}, {"port", u"65536"}}, kMsgInvalidRangeValueThisLang, "port"},
                    CCheckCase{{{"server", u"h"}, {"notify", u"1"}}, kMsgEmailAddressLeastOneErr, "notify1"},
                    CCheckCase{{{"server", u"h"}, {"notify", u"1"}, {"notify2", u"x"}}, kMsgEmailAddressErr, "notify2"},
                    CCheckCase{{{"server", u"h"}, {"account", u"private"}}, kMsgSmbUserNameInvalidErr, "user"},
                    CCheckCase{{{"server", u"h"}, {"account", u"private"}, {"user", u"u"}, {"password", u"p"}},
                               kMsgSdRetypePasswordErr,
                               "confirm"},
                    CCheckCase{{{"server", u"h"}, {"notify", u"1"}, {"notify10", u"a@b"}}, kOk, ""}));

TEST_F(EntryEditors, NotificationNeedsEmailEnabled)
{
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 0);
    CScanEditor editor(book, 221, Env());
    EXPECT_EQ(editor.SetField("notify", u"1").refusal, EntryRefusal::Disabled);
    EXPECT_EQ(editor.SetField("notify1", u"a@b").refusal, EntryRefusal::Disabled);
}

TEST_F(EntryEditors, GroupNameStoresOnlyAChangedValidName)
{
    CGroupNameEditor unchanged(book, 2, Env());
    EXPECT_EQ(unchanged.Text("name"), u"Group 02");
    ASSERT_TRUE(unchanged.Ok(book).Ok());
    EXPECT_EQ(book.FindGroup(2), nullptr);

    CGroupNameEditor editor(book, 2, Env());
    Fill(editor, {{"name", u""}});
    EXPECT_EQ(editor.Ok(book).code, kMsgGroupNameErr);
    Fill(editor, {{"name", u"\u4E00"}});
    EXPECT_EQ(editor.Ok(book).code, kMsgInvalidRangeValueThisLang);
    Fill(editor, {{"name", u"Sales"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    EXPECT_EQ(book.FindGroup(2)->name.View(), "Sales");
    EXPECT_EQ(editor.SetField("name", u"123456789012345678901").refusal, EntryRefusal::TooLong);
}

TEST_F(EntryEditors, FavouriteListsOnlyFreeTargets)
{
    CFavouriteEditor none(book, 1, Env());
    EXPECT_EQ(none.Ok(book).code, kMsgListNotSelectedErr);

    PutFax(1);
    PutFax(2);
    CScanEntry scan;
    scan.number = 221;
    ASSERT_EQ(book.PutScanEntry(scan), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetSpeedDial, 1), kOk);
    ASSERT_EQ(book.SetGroupMembership(5, 2, true, kKindFax), kOk);
    ASSERT_EQ(book.SetGroupName(7, "Empty"), kOk);
    CFavouriteEditor editor(book, 2, Env());
    std::vector<std::int32_t> numbers;
    for (const CFavouriteRow& row : editor.Rows()) {
        numbers.push_back(row.number);
    }
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{2, 221}));
    EXPECT_EQ(editor.SetField("speed", u"1").refusal, EntryRefusal::NotInList);
    EXPECT_EQ(editor.SetField("group", u"7").refusal, EntryRefusal::NotInList);
    Fill(editor, {{"group", u"5"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    EXPECT_EQ(*book.FindFavourite(2), (CFavourite{2, kTargetGroup, 5}));
}

TEST_F(EntryEditors, DeletingAGroupTakesItsFavourites)
{
    PutFax(1);
    ASSERT_EQ(book.SetGroupMembership(5, 1, true, kKindFax), kOk);
    ASSERT_EQ(book.SetGroupName(6, "Named"), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 5), kOk);
    ASSERT_EQ(book.AddFavourite(2, kTargetSpeedDial, 1), kOk);
    EXPECT_TRUE(DeleteGroup(book, 5));
    EXPECT_TRUE(DeleteGroup(book, 6));
    EXPECT_FALSE(DeleteGroup(book, 6));
    EXPECT_EQ(book.Favourites(), (std::vector<CFavourite>{{1, kTargetSpeedDial, 1}}));
    EXPECT_NE(book.FindFaxMailEntry(1), nullptr);
}

} // namespace
} // namespace qzb
