#include "model/value_store.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace qzb {
namespace {

// A user's change of one field: a text, an option by its value, or a check box.
using Input = std::pair<EntryFieldId, std::variant<std::u16string, std::int32_t, bool>>;
using Inputs = std::vector<Input>;

CEntryInput Apply(CEntryForm& form, const Input& input)
{
    const auto& [id, value] = input;
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return form.SetText(id, *text);
    }
    if (const auto* choice = std::get_if<std::int32_t>(&value)) {
        return form.Choose(id, *choice);
    }
    return form.Check(id, std::get<bool>(value));
}

using FM = FaxMailField;
using S = ScanField;

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
        for (const Input& step : inputs) {
            const CEntryInput input = Apply(editor, step);
            ASSERT_EQ(input.refusal, EntryRefusal::None) << int(step.first);
            ASSERT_TRUE(input.message.Ok()) << int(step.first);
        }
    }
};

struct CCheckCase
{
    Inputs inputs;
    MessageCode code;
    EntryFieldId field;
};

void PrintTo(const CCheckCase& c, std::ostream* os)
{
    for (const auto& [id, value] : c.inputs) {
        *os << int(id) << " ";
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
    testing::Values(CCheckCase{{{FM::Name, u"\u4E00"}}, kMsgInvalidRangeValueThisLang, FM::Name},
                    CCheckCase{{{FM::Number, u"12a"}}, kMsgInvalidRangeValueThisLang, FM::Number},
                    CCheckCase{{}, kMsgNumberErr, FM::Number},
                    CCheckCase{{{FM::Number, u"P123"}}, kMsgNumberErr, FM::Number},
                    CCheckCase{{{FM::Number, u"12P3"}}, kOk, kNoEntryField},
                    CCheckCase{{{FM::Kind, kKindMail}, {FM::Address, u"a@b"}}, kOk, kNoEntryField},
                    CCheckCase{{{FM::Kind, kKindMail}, {FM::Address, u"@ab"}}, kMsgEmailAddressErr, FM::Address},
                    CCheckCase{{{FM::Kind, kKindMail}, {FM::Address, u"ab@"}}, kMsgEmailAddressErr, FM::Address},
                    CCheckCase{{{FM::Kind, kKindMail}, {FM::Address, u"ab"}}, kMsgEmailAddressErr, FM::Address},
                    CCheckCase{{{FM::Kind, kKindMail}, {FM::Address, u"a@b@c"}}, kMsgEmailAddressErr, FM::Address},
                    CCheckCase{
                        {{FM::Kind, kKindMail}, {FM::Address, u"a\"@b"}}, kMsgInvalidRangeValueThisLang, FM::Address}));

TEST_F(EntryEditors, KindDecidesTheFieldsAndTheDetails)
{
    CFaxMailEditor editor(book, 9, Env());
    EXPECT_TRUE(editor.Field(FM::Number).visible);
    EXPECT_FALSE(editor.Field(FM::Address).visible);
    EXPECT_EQ(editor.SetText(FM::Address, u"a@b").refusal, EntryRefusal::Hidden);
    Fill(editor, {{FM::Kind, kKindMail}});
    EXPECT_FALSE(editor.Field(FM::Number).visible || editor.Field(FM::Speed).visible ||
                 editor.Field(FM::Batch).visible);
    EXPECT_EQ(editor.SetTime(FM::Batch, 10, 30).refusal, EntryRefusal::Hidden);
    EXPECT_EQ(editor.Choose(S::Colour, 1).refusal, EntryRefusal::UnknownField);
    Fill(editor, {{FM::Address, u"x@y"}});
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
    EXPECT_EQ(untouched.Text(FM::Batch), u"10:30");
    Fill(untouched, {{FM::Name, u"Renamed"}});
    ASSERT_TRUE(untouched.Ok(book).Ok());
    EXPECT_EQ(book.FindFaxMailEntry(3)->faxSpeed, kFaxSpeed9600);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchHour, 10);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchMinute, 30);

    CFaxMailEditor detailed(book, 3, Env());
    Fill(detailed, {{FM::Speed, kFaxSpeed14400}});
    ASSERT_EQ(detailed.SetTime(FM::Batch, 7, 5).refusal, EntryRefusal::None);
    ASSERT_TRUE(detailed.Ok(book).Ok());
    EXPECT_EQ(book.FindFaxMailEntry(3)->faxSpeed, kFaxSpeed14400);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchHour, 7);
    EXPECT_EQ(book.FindFaxMailEntry(3)->batchMinute, 5);

    CFaxMailEditor half(book, 3, Env());
    EXPECT_EQ(half.SetTime(FM::Batch, 10, -1).message.code, kMsgBatchTimeErr);
    CFaxDetailsForm details({}, store);
    CFaxDetails result;
    ASSERT_EQ(details.SetText(FaxDetailsField::Minute, u"30").refusal, EntryRefusal::None);
    EXPECT_EQ(details.Ok(&result).field, FaxDetailsField::Hour);
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
    ASSERT_EQ(details.SetText(FaxDetailsField::Hour, u"3").refusal, EntryRefusal::None);
    EXPECT_EQ(details.SetText(FaxDetailsField::Hour, u"35").refusal, EntryRefusal::BadValue);
    EXPECT_EQ(details.Text(FaxDetailsField::Hour), u"3");
    details.Leave(FaxDetailsField::Hour);
    EXPECT_EQ(details.Text(FaxDetailsField::Hour), u"03");
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
    Fill(editor, {{FM::Kind, kKindMail}, {FM::Address, u"q@r"}});
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
    Fill(editor, {{FM::Kind, kKindMail}, {FM::Address, u"bob@example.com"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    ASSERT_NE(book.FindGroup(2), nullptr);
    EXPECT_EQ(book.FindGroup(2)->members, (std::vector<std::int32_t>{9}));
    EXPECT_EQ(book.FindGroup(2)->kind, kKindFax) << "group {9} holds a fax entry only";
}

TEST_F(EntryEditors, NewScanEntryStartsFtpAnonymousAndRestoresThePrivateTexts)
{
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 1);
    CScanEditor editor(book, 221, Env());
    EXPECT_EQ(editor.Value(S::Protocol), kProtocolFtp);
    EXPECT_EQ(editor.Text(S::Port), u"21");
    EXPECT_EQ(editor.Value(S::Account), kAccountAnonymous);
    EXPECT_EQ(editor.Text(S::User), u"Anonymous");
    EXPECT_EQ(editor.Value(S::Resolution), 1);
    EXPECT_EQ(editor.Value(S::Format), 1);
    EXPECT_EQ(editor.SetText(S::User, u"me").refusal, EntryRefusal::Disabled);
    Fill(editor, {{S::Account, kAccountPrivateSite}, {S::User, u"me"}, {S::Password, u"pw"}, {S::Confirm, u"pw"}});
    Fill(editor, {{S::Account, kAccountAnonymous}});
    EXPECT_EQ(editor.Text(S::Password), u"tumbe");
    Fill(editor, {{S::Account, kAccountPrivateSite}});
    EXPECT_EQ(editor.Text(S::User), u"me");
    EXPECT_EQ(editor.Text(S::Confirm), u"pw");
    Fill(editor, {{S::Protocol, kProtocolSmb}});
    EXPECT_FALSE(editor.Field(S::Port).visible);
    EXPECT_EQ(editor.ServerInputKind(), InputKind::SmbPath);
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
    Fill(editor, {{S::Colour, 1}});
    Fill(editor, {{S::Format, c.format}});
    if (c.resolution != 2 || c.modelBit == 1) {
        Fill(editor, {{S::Resolution, c.resolution}});
    }
    Fill(editor, {{S::Colour, c.colour}});
    std::vector<std::int32_t> offered;
    for (const CEntryOption& option : editor.Field(S::Resolution).offered) {
        offered.push_back(option.value);
    }
    EXPECT_EQ(offered, c.resolutions);
    EXPECT_EQ(editor.Value(S::Format), c.formatAfter);
    EXPECT_EQ(editor.Value(S::Resolution), c.resolutionAfter);
    EXPECT_EQ(editor.Field(S::Coding).enabled, c.colour == 0);
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
    testing::Values(
        CCheckCase{{}, kMsgFtpServerAddressErr, S::Server},
        CCheckCase{{{S::Protocol, kProtocolSmb}}, kMsgSmbAddressErr, S::Server},
        CCheckCase{{{S::Server, u"a\\b"}}, kMsgInvalidRangeValueThisLang, S::Server},
        CCheckCase{{{S::Protocol, kProtocolSmb}, {S::Server, u"a\\b"}}, kMsgInvalidRangeValueThisLang, S::Directory},
        CCheckCase{{{S::Server, u"h"}, {S::Port, u""}}, kMsgInvalidRangeValueThisLang, S::Port},
        CCheckCase{{{S::Server, u"h"}, {S::Port, u"65536"}}, kMsgInvalidRangeValueThisLang, S::Port},
        CCheckCase{{{S::Server, u"h"}, {S::Notify, true}}, kMsgEmailAddressLeastOneErr, S::Notify1},
        CCheckCase{{{S::Server, u"h"}, {S::Notify, true}, {S::Notify1 + 1, u"x"}}, kMsgEmailAddressErr, S::Notify1 + 1},
        CCheckCase{{{S::Server, u"h"}, {S::Account, kAccountPrivateSite}}, kMsgSmbUserNameInvalidErr, S::User},
        CCheckCase{{{S::Server, u"h"}, {S::Account, kAccountPrivateSite}, {S::User, u"u"}, {S::Password, u"p"}},
                   kMsgSdRetypePasswordErr,
                   S::Confirm},
        CCheckCase{{{S::Server, u"h"}, {S::Notify, true}, {S::Notify10, u"a@b"}}, kOk, kNoEntryField}));

TEST_F(EntryEditors, NotificationNeedsEmailEnabled)
{
    store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 0);
    CScanEditor editor(book, 221, Env());
    EXPECT_EQ(editor.Check(S::Notify, true).refusal, EntryRefusal::Disabled);
    EXPECT_EQ(editor.SetText(S::Notify1, u"a@b").refusal, EntryRefusal::Disabled);
}

TEST_F(EntryEditors, GroupNameStoresOnlyAChangedValidName)
{
    CGroupNameEditor unchanged(book, 2, Env());
    EXPECT_EQ(unchanged.Text(GroupNameField::Name), u"Group 02");
    ASSERT_TRUE(unchanged.Ok(book).Ok());
    EXPECT_EQ(book.FindGroup(2), nullptr);

    CGroupNameEditor editor(book, 2, Env());
    Fill(editor, {{GroupNameField::Name, u""}});
    EXPECT_EQ(editor.Ok(book).code, kMsgGroupNameErr);
    Fill(editor, {{GroupNameField::Name, u"\u4E00"}});
    EXPECT_EQ(editor.Ok(book).code, kMsgInvalidRangeValueThisLang);
    Fill(editor, {{GroupNameField::Name, u"Sales"}});
    ASSERT_TRUE(editor.Ok(book).Ok());
    EXPECT_EQ(book.FindGroup(2)->name.View(), "Sales");
    EXPECT_EQ(editor.SetText(GroupNameField::Name, u"123456789012345678901").refusal, EntryRefusal::TooLong);
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
    EXPECT_EQ(editor.ChooseRow(FavouriteField::Speed, 1).refusal, EntryRefusal::NotInList);
    ASSERT_EQ(editor.ChooseRow(FavouriteField::Speed, 221).refusal, EntryRefusal::None);
    // A group the list does not offer is refused with the speed-dial list and its row kept.
    EXPECT_EQ(editor.ChooseRow(FavouriteField::Group, 7).refusal, EntryRefusal::NotInList);
    EXPECT_EQ(editor.TargetKind(), kTargetSpeedDial);
    EXPECT_EQ(editor.Value(FavouriteField::Speed), 221);
    EXPECT_EQ(editor.Value(FavouriteField::Group), 0);
    ASSERT_EQ(editor.ChooseRow(FavouriteField::Group, 5).refusal, EntryRefusal::None);
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
