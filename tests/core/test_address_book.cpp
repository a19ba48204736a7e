#include "addressbook/address_book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace qzb {
namespace {

constexpr std::uint16_t kBookDate = (24 << 9) | (5 << 5) | 17;

CFaxMailEntry BookFax(std::int32_t number, std::int32_t kind = kKindFax)
{
    CFaxMailEntry entry;
    entry.number = number;
    entry.kind = kind;
    std::string name = "N";
    name += std::to_string(number);
    entry.name.Assign(name);
    entry.address.Assign(std::to_string(number));
    return entry;
}

CScanEntry BookScan(std::int32_t number)
{
    CScanEntry entry;
    entry.number = number;
    entry.serverAddress = u"ftp.example";
    return entry;
}

void AddGroup(CAddressBook& book, std::int32_t group, std::vector<std::int32_t> members, std::int32_t kind = kKindFax)
{
    CGroupEntry entry;
    entry.number = group;
    entry.kind = kind;
    entry.members = std::move(members);
    ASSERT_EQ(book.PutGroup(entry), kOk);
}

// Favourites as {slot, target kind, target number}, in list order.
using Favs = std::vector<std::array<std::int32_t, 3>>;

Favs FavouritesOf(const CAddressBook& book)
{
    Favs favourites;
    for (const CFavourite& f : book.Favourites()) {
        favourites.push_back({f.number, f.targetKind, f.targetNumber});
    }
    return favourites;
}

template <typename Record>
bool SortedInRange(const std::vector<Record>& list, std::int32_t first, std::int32_t last)
{
    const auto badNumber = [&](const Record& r) { return r.number < first || r.number > last; };
    const auto notAscending = [](const Record& a, const Record& b) { return a.number >= b.number; };
    return std::none_of(list.begin(), list.end(), badNumber) &&
           std::adjacent_find(list.begin(), list.end(), notAscending) == list.end();
}

testing::AssertionResult KeepsInvariants(const CAddressBook& book)
{
    if (!SortedInRange(book.FaxMailEntries(), 1, 220) || !SortedInRange(book.ScanEntries(), 221, 250) ||
        !SortedInRange(book.Groups(), 1, 20) || !SortedInRange(book.Favourites(), 1, 20)) {
        return testing::AssertionFailure() << "a list is out of order or out of range";
    }
    for (const CGroupEntry& group : book.Groups()) {
        const auto& m = group.members;
        if (m.size() > kMaxGroupMembers || std::adjacent_find(m.begin(), m.end(), std::greater_equal<>()) != m.end() ||
            std::any_of(m.begin(), m.end(), [](std::int32_t n) { return n < 1 || n > 250; })) {
            return testing::AssertionFailure() << "members of group " << group.number;
        }
    }
    return testing::AssertionSuccess();
}

struct FreeNumberCase
{
    const char* name;
    std::vector<std::int32_t> faxNumbers;
    std::vector<std::int32_t> scanNumbers;
    std::vector<std::int32_t> groupNumbers;
    std::vector<std::int32_t> favouriteSlots;
    AddressList list;
    MessageCode code;
    std::int32_t number;
};

std::vector<std::int32_t> NumberRange(std::int32_t first, std::int32_t last)
{
    std::vector<std::int32_t> numbers;
    for (std::int32_t n = first; n <= last; ++n) {
        numbers.push_back(n);
    }
    return numbers;
}

class FirstFreeNumberTest : public testing::TestWithParam<FreeNumberCase>
{
};

TEST_P(FirstFreeNumberTest, FindsTheLowestGapOrRefuses)
{
    const FreeNumberCase& c = GetParam();
    CAddressBook book;
    for (std::int32_t n : c.faxNumbers) {
        ASSERT_EQ(book.PutFaxMailEntry(BookFax(n)), kOk);
    }
    for (std::int32_t n : c.scanNumbers) {
        ASSERT_EQ(book.PutScanEntry(BookScan(n)), kOk);
    }
    for (std::int32_t n : c.groupNumbers) {
        ASSERT_EQ(book.SetGroupName(n, "G", kBookDate), kOk);
    }
    for (std::int32_t n : c.favouriteSlots) {
        ASSERT_EQ(book.AddFavourite(n, kTargetSpeedDial, 1), kOk);
    }
    const CNumberResult result = book.FirstFreeNumber(c.list);
    EXPECT_EQ(result.code, c.code);
    if (c.code == kOk) {
        EXPECT_EQ(result.number, c.number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists,
    FirstFreeNumberTest,
    testing::Values(
        FreeNumberCase{"FaxGap", {1, 2, 4}, {}, {}, {}, AddressList::FaxMail, kOk, 3},
        FreeNumberCase{"FaxEmpty", {}, {}, {}, {}, AddressList::FaxMail, kOk, 1},
        FreeNumberCase{"FaxFull", NumberRange(1, 220), {}, {}, {}, AddressList::FaxMail, kMsgFullRegistDial, 0},
        FreeNumberCase{"ScanEmpty", {}, {}, {}, {}, AddressList::Scan, kOk, 221},
        FreeNumberCase{"ScanFull", {}, NumberRange(221, 250), {}, {}, AddressList::Scan, kMsgFullRegistDial, 0},
        FreeNumberCase{"ScanNotFullWhenFaxIs", NumberRange(1, 220), {221}, {}, {}, AddressList::Scan, kOk, 222},
        FreeNumberCase{
            "FavouriteGroupsOnly", {}, {}, {1, 2}, {}, AddressList::Favourite, kMsgNotRegistSpeedGroupDial, 0},
        FreeNumberCase{"FavouriteWithScanOnly", {}, {230}, {}, {}, AddressList::Favourite, kOk, 1},
        FreeNumberCase{"FavouriteGap", {5}, {}, {}, {1, 3}, AddressList::Favourite, kOk, 2},
        FreeNumberCase{"FavouriteFull", {5}, {}, {}, NumberRange(1, 20), AddressList::Favourite, kMsgFullRegistDial, 0},
        FreeNumberCase{"FavouriteNeedsSpeedDialFirst",
                       {},
                       {},
                       {},
                       NumberRange(1, 20),
                       AddressList::Favourite,
                       kMsgNotRegistSpeedGroupDial,
                       0}),
    [](const testing::TestParamInfo<FreeNumberCase>& info) { return std::string(info.param.name); });

TEST(AddressBook, PutReplacesByNumberAndGroupsTakeOverTheKind)
{
    CAddressBook book;
    for (std::int32_t n : {9, 3, 7, 5}) {
        ASSERT_EQ(book.PutFaxMailEntry(BookFax(n, kKindMail)), kOk);
    }
    AddGroup(book, 1, {9, 7, 3, 7}, kKindMail);
    AddGroup(book, 2, {9}, kKindMail);
    EXPECT_EQ(book.FindGroup(1)->members, (std::vector<std::int32_t>{3, 7, 9}));

    ASSERT_EQ(book.PutFaxMailEntry(BookFax(7, kKindFax)), kOk);
    EXPECT_EQ(book.FaxMailEntries().size(), 4u);
    EXPECT_EQ(*book.FindFaxMailEntry(7), BookFax(7, kKindFax));
    EXPECT_EQ(book.FindGroup(1)->kind, kKindFax);
    EXPECT_EQ(book.FindGroup(2)->kind, kKindMail) << "a group without the entry keeps its kind";
    EXPECT_TRUE(KeepsInvariants(book));

    const CAddressBook before = book;
    EXPECT_EQ(book.PutFaxMailEntry(BookFax(221)), kMsgInvalidRangeValue);
    EXPECT_EQ(book.PutScanEntry(BookScan(220)), kMsgInvalidRangeValue);
    CGroupEntry tooMany;
    tooMany.number = 5;
    tooMany.members = NumberRange(1, 51);
    EXPECT_EQ(book.PutGroup(tooMany), kMsgGroupOver50Err);
    EXPECT_EQ(book.AddFavourite(21, kTargetSpeedDial, 5), kMsgInvalidRangeValue);
    EXPECT_EQ(book, before);
}

TEST(AddressBook, DeletingAFavouriteClosesTheGap)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(BookFax(1)), kOk);
    for (std::int32_t slot = 1; slot <= 5; ++slot) {
        ASSERT_EQ(book.AddFavourite(slot, kTargetSpeedDial, 10 + slot), kOk);
    }
    EXPECT_TRUE(book.DeleteFavourite(2));
    EXPECT_EQ(FavouritesOf(book), (Favs{{1, 1, 11}, {2, 1, 13}, {3, 1, 14}, {4, 1, 15}})) << "targets stay";
    EXPECT_EQ(book.FirstFreeNumber(AddressList::Favourite).number, 5);
}

// A loaded book may have free slots between used ones; a new favourite still goes in slot order.
TEST(AddressBook, AFavouriteFillingAGapKeepsSlotOrder)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(BookFax(1)), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetSpeedDial, 1), kOk);
    ASSERT_EQ(book.AddFavourite(3, kTargetSpeedDial, 1), kOk);
    const CNumberResult free = book.FirstFreeNumber(AddressList::Favourite);
    ASSERT_EQ(free.number, 2);
    ASSERT_EQ(book.AddFavourite(free.number, kTargetGroup, 4), kOk);
    EXPECT_EQ(FavouritesOf(book), (Favs{{1, 1, 1}, {2, 0, 4}, {3, 1, 1}}));
    EXPECT_EQ(book.AddFavourite(3, kTargetSpeedDial, 1), kMsgInvalidRangeValue) << "a slot is used once";
}

TEST(AddressBook, DeletingTheOnlyMemberRemovesTheGroupAndItsFavourites)
{
    CAddressBook book;
    for (std::int32_t n : {7, 8}) {
        ASSERT_EQ(book.PutFaxMailEntry(BookFax(n)), kOk);
    }
    AddGroup(book, 3, {7});
    AddGroup(book, 7, {8}); // same number as the deleted speed dial, other list
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 3), kOk);
    ASSERT_EQ(book.AddFavourite(2, kTargetSpeedDial, 8), kOk);
    ASSERT_EQ(book.AddFavourite(3, kTargetGroup, 7), kOk);
    ASSERT_EQ(book.AddFavourite(4, kTargetGroup, 3), kOk);
    ASSERT_EQ(book.AddFavourite(5, kTargetSpeedDial, 7), kOk);

    EXPECT_TRUE(book.DeleteFaxMailEntry(7));
    EXPECT_EQ(book.FindFaxMailEntry(7), nullptr);
    EXPECT_EQ(book.FindGroup(3), nullptr);
    EXPECT_NE(book.FindGroup(7), nullptr);
    EXPECT_EQ(FavouritesOf(book), (Favs{{1, kTargetSpeedDial, 8}, {2, kTargetGroup, 7}}));
}

TEST(AddressBook, AGroupOnlyNamedGoesWithAnySpeedDialDelete)
{
    for (const bool scan : {false, true}) {
        CAddressBook book;
        ASSERT_EQ(book.PutFaxMailEntry(BookFax(1)), kOk);
        ASSERT_EQ(book.PutScanEntry(BookScan(221)), kOk);
        AddGroup(book, 2, {1, 221});
        ASSERT_EQ(book.SetGroupName(5, std::string(30, 'g'), kBookDate), kOk);
        ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 5), kOk);
        EXPECT_EQ(book.FindGroup(5)->name.View(), std::string(20, 'g')) << "cut at the field";
        EXPECT_EQ(book.FindGroup(5)->setDate, kBookDate);

        EXPECT_TRUE(scan ? book.DeleteScanEntry(221) : book.DeleteFaxMailEntry(1));
        EXPECT_EQ(book.FindGroup(5), nullptr);
        EXPECT_TRUE(book.Favourites().empty());
        ASSERT_NE(book.FindGroup(2), nullptr);
        EXPECT_EQ(book.FindGroup(2)->members, (std::vector<std::int32_t>{scan ? 1 : 221}));
    }
}

TEST(AddressBook, MembershipKeepsMembersAscendingAndEmptiedGroupsGo)
{
    CAddressBook book;
    ASSERT_EQ(book.SetGroupMembership(1, 9, true, kKindMail, kBookDate), kOk);
    EXPECT_EQ(book.FindGroup(1)->kind, kKindMail);
    EXPECT_EQ(book.FindGroup(1)->setDate, kBookDate);
    ASSERT_EQ(book.SetGroupMembership(1, 2, true, kKindMail), kOk);
    ASSERT_EQ(book.SetGroupMembership(1, 5, true, kKindMail), kOk);
    ASSERT_EQ(book.SetGroupMembership(1, 5, true, kKindMail), kOk);
    EXPECT_EQ(book.FindGroup(1)->members, (std::vector<std::int32_t>{2, 5, 9}));

    ASSERT_EQ(book.SetGroupName(3, "Named", kBookDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 4, false, kKindFax), kOk);
    ASSERT_NE(book.FindGroup(3), nullptr) << "clearing a number that is not a member changes nothing";
    ASSERT_EQ(book.SetGroupMembership(3, 4, true, kKindMail), kOk);
    EXPECT_EQ(book.FindGroup(3)->kind, kKindMail) << "the first member gives a named group its kind";

    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 3), kOk);
    ASSERT_EQ(book.AddFavourite(2, kTargetGroup, 1), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 4, false, kKindMail), kOk);
    EXPECT_EQ(book.FindGroup(3), nullptr);
    ASSERT_EQ(book.RemoveMemberFromGroup(1, 5), kOk);
    EXPECT_EQ(book.FindGroup(1)->members, (std::vector<std::int32_t>{2, 9}));
    EXPECT_EQ(FavouritesOf(book), (Favs{{1, kTargetGroup, 1}}));

    ASSERT_EQ(book.SetGroupName(4, "Empty", kBookDate), kOk);
    ASSERT_EQ(book.RemoveMemberFromGroup(4, 2), kOk);
    EXPECT_EQ(book.FindGroup(4), nullptr) << "a group without members goes on any removal";
}

struct AdmissionCase
{
    const char* name;
    std::int32_t groupKind;
    std::int32_t members; // members of the group offered to
    std::int32_t fullOthers; // other groups with 50 members
    std::int32_t entryKind;
    MessageCode code;
};

class GroupAdmissionTest : public testing::TestWithParam<AdmissionCase>
{
};

TEST_P(GroupAdmissionTest, ChecksKindThenSize)
{
    const AdmissionCase& c = GetParam();
    CAddressBook book;
    if (c.members >= 0) {
        AddGroup(book, 1, NumberRange(1, c.members), c.groupKind);
    }
    for (std::int32_t g = 2; g < 2 + c.fullOthers; ++g) {
        AddGroup(book, g, NumberRange(101, 150), c.groupKind);
    }
    EXPECT_EQ(book.CheckGroupAdmission(1, c.entryKind), c.code);

    if (c.code == kMsgGroupOver50Err || c.code == kMsgGroupNotAddErr) {
        const CAddressBook before = book;
        EXPECT_EQ(book.SetGroupMembership(1, 200, true, c.entryKind), c.code);
        EXPECT_EQ(book, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Groups,
    GroupAdmissionTest,
    testing::Values(AdmissionCase{"MissingGroup", kKindFax, -1, 0, kKindMail, kOk},
                    AdmissionCase{"EmptyGroupTakesAnyKind", kKindFax, 0, 0, kKindMail, kOk},
                    AdmissionCase{"SameKind", kKindMail, 3, 0, kKindMail, kOk},
                    AdmissionCase{"MailIntoFaxGroup", kKindFax, 3, 0, kKindMail, kMsgGroupEmailRegistErr},
                    AdmissionCase{"FaxIntoMailGroup", kKindMail, 3, 0, kKindFax, kMsgGroupFaxRegistErr},
                    AdmissionCase{"FortyNineMembers", kKindFax, 49, 0, kKindFax, kOk},
                    AdmissionCase{"FiftyMembers", kKindFax, 50, 0, kKindFax, kMsgGroupOver50Err},
                    AdmissionCase{"NineteenFullGroupsAndThisOne", kKindFax, 50, 18, kKindFax, kMsgGroupOver50Err},
                    AdmissionCase{"AllTwentyFull", kKindFax, 50, 19, kKindFax, kMsgGroupNotAddErr},
                    AdmissionCase{"KindIsCheckedFirst", kKindMail, 50, 19, kKindFax, kMsgGroupFaxRegistErr}),
    [](const testing::TestParamInfo<AdmissionCase>& info) { return std::string(info.param.name); });

// Random sequences of every operation, checked after each step: lists sorted, unique and in range,
// members ascending, refusals and deletes of absent numbers without effect, no empty group after a speed-dial delete,
// and favourite slots contiguous from 1 since they are only taken through FirstFreeNumber.
TEST(AddressBook, RandomOperationsKeepEveryInvariant)
{
    std::mt19937 random(20240517);
    const auto pick = [&random](std::int32_t first, std::int32_t last) {
        return std::uniform_int_distribution<std::int32_t>(first, last)(random);
    };
    for (int round = 0; round < 20; ++round) {
        CAddressBook book;
        for (int step = 0; step < 600; ++step) {
            const CAddressBook before = book;
            MessageCode code = kOk;
            bool speedDialDeleted = false;
            bool deleted = true;
            switch (pick(0, 9)) {
                case 0:
                case 1: {
                    const CNumberResult free = book.FirstFreeNumber(AddressList::FaxMail);
                    code = free.code == kOk
                               ? book.PutFaxMailEntry(BookFax(pick(0, 1) ? free.number : pick(1, 220), pick(0, 1)))
                               : free.code;
                    break;
                }
                case 2:
                    code = book.PutScanEntry(BookScan(pick(221, 250)));
                    break;
                case 3:
                    code = book.SetGroupName(
                        pick(1, 20), std::string(static_cast<std::size_t>(pick(0, 30)), 'x'), kBookDate);
                    break;
                case 4: {
                    const std::int32_t group = pick(1, 21);
                    const std::int32_t kind = pick(0, 1);
                    code = book.CheckGroupAdmission(group, kind);
                    if (code == kOk) {
                        code = book.SetGroupMembership(group, pick(1, 250), true, kind, kBookDate);
                    }
                    break;
                }
                case 5:
                    code = book.SetGroupMembership(pick(1, 20), pick(1, 250), false, kKindFax, kBookDate);
                    break;
                case 6: {
                    const CNumberResult free = book.FirstFreeNumber(AddressList::Favourite);
                    code = free.code == kOk ? book.AddFavourite(free.number, pick(0, 1), pick(1, 30)) : free.code;
                    break;
                }
                case 7:
                    speedDialDeleted = deleted = book.DeleteFaxMailEntry(pick(1, 220));
                    break;
                case 8:
                    speedDialDeleted = deleted = book.DeleteScanEntry(pick(221, 250));
                    break;
                case 9:
                    if (pick(0, 1)) {
                        deleted = book.DeleteFavourite(pick(1, 20));
                    } else {
                        code = book.RemoveMemberFromGroup(pick(1, 20), pick(1, 250));
                    }
                    break;
            }
            ASSERT_TRUE(KeepsInvariants(book)) << "round " << round << " step " << step;
            if (code != kOk || !deleted) {
                ASSERT_EQ(book, before) << "a refusal changed the book at step " << step;
            }
            if (speedDialDeleted) {
                for (const CGroupEntry& group : book.Groups()) {
                    ASSERT_FALSE(group.members.empty()) << "group " << group.number << " left without members";
                }
            }
            for (std::size_t i = 0; i < book.Favourites().size(); ++i) {
                ASSERT_EQ(book.Favourites()[i].number, static_cast<std::int32_t>(i + 1))
                    << "favourite slots have a gap";
            }
        }
    }
}

} // namespace
} // namespace qzb
