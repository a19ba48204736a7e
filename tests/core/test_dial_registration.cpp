#include "pages/dial_registration.h"

#include "app/english_texts.h"
#include "model/text_codec.h"
#include "pages/dial_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qzb {
namespace {

constexpr std::uint16_t kDialDate = (26 << 9) | (12 << 5) | 7;

const CDialTexts kTexts{EnglishText, 0};

CFaxMailEntry DialFax(std::int32_t number, std::u16string_view name, std::int32_t kind = kKindFax)
{
    CFaxMailEntry entry;
    entry.number = number;
    entry.kind = kind;
    entry.name.Assign(TextToPanelBytes(name));
    entry.address.Assign(kind == kKindMail ? "a@b.example" : "0123-45");
    return entry;
}

CScanEntry DialScan(std::int32_t number, std::u16string_view name, std::u16string server)
{
    CScanEntry entry;
    entry.number = number;
    entry.name.Assign(TextToPanelBytes(name));
    entry.serverAddress = std::move(server);
    return entry;
}

std::u16string Cell(const CDialRow& row, std::size_t column)
{
    return row.cells[column];
}

TEST(DialItems, DecodeTheBranchValuesAndTheirParents)
{
    struct Case
    {
        std::uint32_t value;
        DialItemKind kind;
        std::int32_t group;
        std::int32_t number;
        std::uint32_t parent;
    };
    const Case cases[] = {
        {0x1000000, DialItemKind::Root, 0, 0, 0},
        {0x1000004, DialItemKind::FaxMailNode, 0, 0, 0x1000002},
        {0x1000001, DialItemKind::FavouriteNode, 0, 0, 0x1000000},
        {0x100000 + 20, DialItemKind::FavouriteSlot, 0, 20, 0x1000001},
        {0x200000 + 220, DialItemKind::SpeedDialSlot, 0, 220, 0x1000004},
        {0x200000 + 221, DialItemKind::SpeedDialSlot, 0, 221, 0x1000008},
        {0x400000 + (20 << 8), DialItemKind::Group, 20, 0, 0x1000010},
        {0x400000 + (3 << 8) + 250, DialItemKind::Member, 3, 250, 0x400000 + (3 << 8)},
        {0x100000 + 21, DialItemKind::None, 0, 0, 0},
        {0x200000 + 251, DialItemKind::None, 0, 0, 0},
        {0x200000 + (1 << 8) + 1, DialItemKind::None, 0, 0, 0},
        {0x400000 + (21 << 8), DialItemKind::None, 0, 0, 0},
        {0x2000001, DialItemKind::None, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CDialItem item = DecodeDialItem(c.value);
        EXPECT_EQ(item.kind, c.kind) << std::hex << c.value;
        EXPECT_EQ(item.group, c.group) << std::hex << c.value;
        EXPECT_EQ(item.number, c.number) << std::hex << c.value;
        EXPECT_EQ(DialParentItem(c.value), c.parent) << std::hex << c.value;
    }
    EXPECT_EQ(MemberItem(3, 250), 0x400000u + (3 << 8) + 250);
}

TEST(DialItems, NodesGetTheirSlotChildrenWithLabels)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(7, u"A")), kOk);
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(2, u"B")), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 7, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 2, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.SetGroupName(5, TextToPanelBytes(u"Sales"), kDialDate), kOk);

    const auto favourites = DialSlotItems(kDialFavouriteNode, book, kTexts);
    ASSERT_EQ(favourites.size(), 20u);
    EXPECT_EQ(favourites[0].label, u"01");
    const auto faxMail = DialSlotItems(kDialFaxMailNode, book, kTexts);
    ASSERT_EQ(faxMail.size(), 220u);
    EXPECT_EQ(faxMail.back().label, u"220");
    const auto scan = DialSlotItems(kDialScanNode, book, kTexts);
    ASSERT_EQ(scan.size(), 30u);
    EXPECT_EQ(scan.front().value, 0x200000u + 221);
    EXPECT_EQ(scan.front().label, u"221");

    const auto groups = DialSlotItems(kDialGroupNode, book, kTexts);
    ASSERT_EQ(groups.size(), 22u);
    EXPECT_EQ(groups[0].label, u"Group 01");
    EXPECT_EQ(groups[1].value, GroupItem(2));
    EXPECT_EQ(groups[2].value, MemberItem(2, 2));
    EXPECT_EQ(groups[2].parent, GroupItem(2));
    EXPECT_EQ(groups[3].label, u"007");
    EXPECT_EQ(groups[4].value, GroupItem(3));
    EXPECT_EQ(groups[6].label, u"Sales");
    EXPECT_TRUE(DialSlotItems(kDialSpeedDialNode, book, kTexts).empty());
}

TEST(DialItems, PathLabelNamesTheAncestors)
{
    CAddressBook book;
    ASSERT_EQ(book.SetGroupName(4, TextToPanelBytes(u"Team"), kDialDate), kOk);
    EXPECT_EQ(DialPathLabel(kDialRootItem, book, kTexts), u"\\");
    EXPECT_EQ(DialPathLabel(kDialFaxMailNode, book, kTexts), u"\\\\Dial Registration\\Speed Dial");
    EXPECT_EQ(DialPathLabel(SpeedDialSlotItem(221), book, kTexts),
              u"\\\\Dial Registration\\Speed Dial\\Scan to Server");
    EXPECT_EQ(DialPathLabel(MemberItem(4, 9), book, kTexts), u"\\\\Dial Registration\\Group Dial\\Team");
}

TEST(DialList, RowsOfNodesSlotsAndGroups)
{
    CAddressBook book;
    for (std::int32_t n : {3, 1, 200}) {
        ASSERT_EQ(book.PutFaxMailEntry(DialFax(n, u"Name")), kOk);
    }
    // A smiley has no panel code: the device keeps the server address up to it.
    ASSERT_EQ(book.PutScanEntry(DialScan(221, u"Srv", u"ftp.example\u263Atail")), kOk);
    ASSERT_EQ(book.SetGroupMembership(1, 3, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(1, 221, true, kKindFax, kDialDate), kOk);

    const auto faxRows = DialListRows(kDialFaxMailNode, book, kTexts);
    ASSERT_EQ(faxRows.size(), 220u);
    EXPECT_EQ(std::count_if(faxRows.begin(), faxRows.end(), [](const CDialRow& r) { return r.registered; }), 3);
    EXPECT_EQ(faxRows[1].item, SpeedDialSlotItem(2));
    EXPECT_EQ(faxRows[1].cells, (std::array<std::u16string, 3>{u"002", u"", u""}));
    EXPECT_EQ(faxRows[2].cells, (std::array<std::u16string, 3>{u"003", u"Name", u"0123-45"}));

    const auto scanRows = DialListRows(kDialScanNode, book, kTexts);
    ASSERT_EQ(scanRows.size(), 30u);
    EXPECT_EQ(Cell(scanRows[0], 2), u"ftp.example");

    EXPECT_TRUE(DialListRows(SpeedDialSlotItem(5), book, kTexts).empty());
    EXPECT_EQ(DialListRows(SpeedDialSlotItem(200), book, kTexts).size(), 1u);

    const auto members = DialListRows(GroupItem(1), book, kTexts);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].item, MemberItem(1, 221));
    EXPECT_EQ(Cell(members[1], 1), u"Srv");
    EXPECT_EQ(DialListRows(MemberItem(1, 3), book, kTexts).size(), 1u);
}

TEST(DialList, FavouriteRowsAndStaleFavourites)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(4, u"Four")), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 4, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetSpeedDial, 9), kOk);
    ASSERT_EQ(book.AddFavourite(2, kTargetGroup, 2), kOk);
    ASSERT_EQ(book.AddFavourite(3, kTargetSpeedDial, 4), kOk);

    const auto group = DialListRows(FavouriteSlotItem(2), book, kTexts);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group[0].cells, (std::array<std::u16string, 3>{u"02", u"Group 02", u""}));
    EXPECT_TRUE(DialListRows(FavouriteSlotItem(1), book, kTexts).empty());

    EXPECT_FALSE(DeleteStaleFavourite(book, 2));
    EXPECT_TRUE(DeleteStaleFavourite(book, 1));
    ASSERT_EQ(book.Favourites().size(), 2u);
    const auto moved = DialListRows(FavouriteSlotItem(2), book, kTexts);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].cells, (std::array<std::u16string, 3>{u"02", u"Four", u"0123-45"}));
}

TEST(DialList, FilterMatchesShownCellsIgnoringCase)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(1, u"Smith")), kOk);
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(12, u"\u00E9lan")), kOk);
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(30, u"jones", kKindMail)), kOk);
    const auto rows = DialListRows(kDialFaxMailNode, book, kTexts);

    const auto Numbers = [&rows](std::u16string_view query) {
        std::vector<std::u16string> numbers;
        for (const CDialRow& row : FilterDialRows(rows, query)) {
            numbers.push_back(row.cells[0]);
        }
        return numbers;
    };
    EXPECT_EQ(Numbers(u"SMI"), (std::vector<std::u16string>{u"001"}));
    EXPECT_EQ(Numbers(u"\u00C9LAN"), (std::vector<std::u16string>{u"012"}));
    EXPECT_EQ(Numbers(u"B.EXAMPLE"), (std::vector<std::u16string>{u"030"}));
    // Slot 012's number, and the fax number of 001 and 012.
    EXPECT_EQ(Numbers(u"012"), (std::vector<std::u16string>{u"001", u"012"}));
    EXPECT_EQ(FilterDialRows(rows, u"").size(), 220u);
}

TEST(DialList, UsageCountsOfTheListBehindTheSelection)
{
    CAddressBook book;
    for (std::int32_t n = 1; n <= 12; ++n) {
        ASSERT_EQ(book.PutFaxMailEntry(DialFax(n, u"N")), kOk);
    }
    ASSERT_EQ(book.PutScanEntry(DialScan(230, u"S", u"x")), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 1, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 2, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 3), kOk);

    EXPECT_EQ(DialListUsage(kDialFaxMailNode, book), (CDialUsage{12, 220}));
    EXPECT_EQ(DialListUsage(SpeedDialSlotItem(100), book), (CDialUsage{12, 220}));
    EXPECT_EQ(DialListUsage(SpeedDialSlotItem(221), book), (CDialUsage{1, 30}));
    EXPECT_EQ(DialListUsage(FavouriteSlotItem(5), book), (CDialUsage{1, 20}));
    EXPECT_EQ(DialListUsage(kDialGroupNode, book), (CDialUsage{1, 20}));
    EXPECT_EQ(DialListUsage(MemberItem(3, 2), book), (CDialUsage{2, 50}));
    EXPECT_EQ(DialListUsage(kDialSpeedDialNode, book), (CDialUsage{0, 0}));
}

TEST(DialCommands, ButtonStatesFocusAndRadios)
{
    struct Case
    {
        std::uint32_t item;
        std::size_t rows;
        CDialButtons buttons;
    };
    const Case cases[] = {
        {FavouriteSlotItem(1), 1, {false, false, true}},
        {FavouriteSlotItem(1), 0, {false, false, false}},
        {SpeedDialSlotItem(5), 0, {true, false, false}},
        {SpeedDialSlotItem(221), 1, {false, true, true}},
        {GroupItem(2), 3, {false, true, false}},
        {MemberItem(2, 7), 1, {false, true, true}},
        {kDialFavouriteNode, 0, {true, false, false}},
        {kDialScanNode, 30, {true, false, false}},
        {kDialGroupNode, 0, {false, false, false}},
        {kDialSpeedDialNode, 0, {false, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialButtonStates(c.item, c.rows), c.buttons) << std::hex << c.item << " rows " << c.rows;
    }
    EXPECT_EQ(DialFocusAfterCommand(DialFocus::Delete, {true, false, false}), DialFocus::NewRegistration);
    EXPECT_EQ(DialFocusAfterCommand(DialFocus::NewRegistration, {false, true, true}), DialFocus::Edit);
    EXPECT_EQ(DialFocusAfterCommand(DialFocus::Delete, {}), DialFocus::Tree);
    EXPECT_EQ(DialRadioStates(0x1000008), (CDialRadios{true, false, true}));
    EXPECT_EQ(DialRadioStates(0x1000010), (CDialRadios{}));
    EXPECT_EQ(DialRadioJump(true).select, kDialScanNode);
    EXPECT_EQ(DialRadioJump(false).collapse, kDialScanNode);
}

TEST(DialCommands, NewEditAndDeleteTargets)
{
    CAddressBook book;
    ASSERT_EQ(book.SetGroupName(1, "G", kDialDate), kOk);
    EXPECT_EQ(DialNewRegistration(kDialFavouriteNode, book).code, kMsgNotRegistSpeedGroupDial);
    EXPECT_EQ(DialNewRegistration(SpeedDialSlotItem(5), book), (CDialCommand{kOk, DialEditor::FaxMail, 5}));
    EXPECT_EQ(DialNewRegistration(SpeedDialSlotItem(221), book), (CDialCommand{kOk, DialEditor::Scan, 221}));
    EXPECT_EQ(DialNewRegistration(kDialScanNode, book), (CDialCommand{kOk, DialEditor::Scan, 221}));
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(1, u"One")), kOk);
    EXPECT_EQ(DialNewRegistration(kDialFaxMailNode, book), (CDialCommand{kOk, DialEditor::FaxMail, 2}));
    EXPECT_EQ(DialNewRegistration(SpeedDialSlotItem(1), book), CDialCommand{});
    EXPECT_EQ(DialItemOfEdited(DialNewRegistration(kDialFavouriteNode, book)), FavouriteSlotItem(1));

    EXPECT_EQ(DialEdit(MemberItem(2, 230), 1), (CDialCommand{kOk, DialEditor::Scan, 230}));
    EXPECT_EQ(DialEdit(GroupItem(2), 1), (CDialCommand{kOk, DialEditor::GroupName, 2}));
    EXPECT_EQ(DialEdit(SpeedDialSlotItem(3), 0), CDialCommand{});

    ASSERT_EQ(book.SetGroupMembership(2, 1, true, kKindFax, kDialDate), kOk);
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 2), kOk);
    EXPECT_FALSE(DialDelete(MemberItem(2, 1), 0, book));
    EXPECT_FALSE(DialDelete(MemberItem(3, 1), 1, book));
    EXPECT_TRUE(DialDelete(MemberItem(2, 1), 1, book));
    EXPECT_EQ(book.FindGroup(2), nullptr);
    EXPECT_TRUE(book.Favourites().empty());
}

// The entry list leads to the tree: a row selects its slot or member item, the node's list stays
// while the tree's item is one of its rows, and opening a row opens what Edit, or else New
// registration, opens for that item.
TEST(DialCommands, RowsLeadToTheirTreeItemsAndOpenTheirEditors)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(DialFax(3, u"Three")), kOk);
    ASSERT_EQ(book.PutScanEntry(DialScan(225, u"Share", u"10.0.0.9")), kOk);
    ASSERT_EQ(book.SetGroupMembership(4, 3, true, kKindFax, kDialDate), kOk);

    const std::vector<CDialRow> faxRows = DialListRows(kDialFaxMailNode, book, kTexts);
    ASSERT_EQ(faxRows.size(), 220u);
    EXPECT_EQ(DialRowTreeItem(kDialFaxMailNode, faxRows[2]), SpeedDialSlotItem(3));
    EXPECT_EQ(DialRowTreeItem(kDialFaxMailNode, faxRows[4]), SpeedDialSlotItem(5)) << "a free slot's row too";
    EXPECT_EQ(DialRowTreeItem(SpeedDialSlotItem(3), faxRows[2]), 0u) << "the shown item's own row";
    const std::vector<CDialRow> scanRows = DialListRows(kDialScanNode, book, kTexts);
    EXPECT_EQ(DialRowTreeItem(kDialScanNode, scanRows[4]), SpeedDialSlotItem(225));
    const std::vector<CDialRow> members = DialListRows(GroupItem(4), book, kTexts);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(DialRowTreeItem(GroupItem(4), members[0]), MemberItem(4, 3));

    EXPECT_TRUE(DialListKeepsRow(kDialFaxMailNode, SpeedDialSlotItem(3), faxRows));
    EXPECT_TRUE(DialListKeepsRow(kDialFaxMailNode, SpeedDialSlotItem(220), faxRows));
    EXPECT_FALSE(DialListKeepsRow(kDialFaxMailNode, SpeedDialSlotItem(225), faxRows)) << "a row of another list";
    EXPECT_FALSE(DialListKeepsRow(kDialFaxMailNode, kDialFaxMailNode, faxRows));
    EXPECT_TRUE(DialListKeepsRow(GroupItem(4), MemberItem(4, 3), members));
    EXPECT_FALSE(DialListKeepsRow(GroupItem(4), MemberItem(5, 3), members));

    // The buttons count the rows of the item's own list: one for a registered slot, none for a free one.
    EXPECT_EQ(DialRowOpen(SpeedDialSlotItem(3), 1, book), (CDialCommand{kOk, DialEditor::FaxMail, 3}));
    EXPECT_EQ(DialRowOpen(SpeedDialSlotItem(5), 0, book), (CDialCommand{kOk, DialEditor::FaxMail, 5}));
    EXPECT_EQ(DialRowOpen(SpeedDialSlotItem(225), 1, book), (CDialCommand{kOk, DialEditor::Scan, 225}));
    EXPECT_EQ(DialRowOpen(MemberItem(4, 3), 1, book), (CDialCommand{kOk, DialEditor::FaxMail, 3}));
    EXPECT_EQ(DialRowOpen(GroupItem(4), 1, book), (CDialCommand{kOk, DialEditor::GroupName, 4}));
    EXPECT_EQ(DialRowOpen(FavouriteSlotItem(1), 0, book), CDialCommand{}) << "neither Edit nor New there";
    EXPECT_EQ(DialRowOpen(kDialGroupNode, 0, book), CDialCommand{});
}

class DialGroupChecks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_book.PutFaxMailEntry(DialFax(1, u"Fax one")), kOk);
        ASSERT_EQ(m_book.PutFaxMailEntry(DialFax(2, u"Mail two", kKindMail)), kOk);
        ASSERT_EQ(m_book.SetGroupMembership(2, 1, true, kKindFax, kDialDate), kOk);
    }

    MessageCode Toggle(std::int32_t number, std::size_t row, bool checked)
    {
        CGroupChecks checks = GroupCheckStates(m_book, number);
        checks[row] = checked;
        return ApplyGroupChecks(m_book, number, checks, row, kTexts, kDialDate);
    }

    CAddressBook m_book;
};

TEST_F(DialGroupChecks, KindAndSizeRefusalsLeaveTheBook)
{
    const CAddressBook before = m_book;
    EXPECT_EQ(Toggle(2, 1, true), kMsgGroupEmailRegistErr);
    EXPECT_EQ(m_book, before);

    // A check list that still shows group 2 checked for the e-mail entry while group 9 is clicked.
    CGroupChecks stale{};
    stale[1] = true;
    stale[8] = true;
    EXPECT_EQ(ApplyGroupChecks(m_book, 2, stale, 8, kTexts, kDialDate), kMsgGroupEmailRegistErr);
    EXPECT_EQ(m_book, before);

    for (std::int32_t n = 3; n <= 51; ++n) {
        ASSERT_EQ(m_book.PutFaxMailEntry(DialFax(n, u"F")), kOk);
        ASSERT_EQ(Toggle(n, 1, true), kOk) << n;
    }
    ASSERT_EQ(m_book.FindGroup(2)->members.size(), 50u);
    ASSERT_EQ(m_book.PutFaxMailEntry(DialFax(52, u"F")), kOk);
    const CAddressBook full = m_book;
    EXPECT_EQ(Toggle(52, 1, true), kMsgGroupOver50Err);
    EXPECT_EQ(m_book, full);
}

TEST_F(DialGroupChecks, FirstCheckCreatesTheGroupNamedAfterItsRow)
{
    EXPECT_EQ(GroupCheckStates(m_book, 1)[1], true);
    ASSERT_EQ(Toggle(2, 6, true), kOk);
    const CGroupEntry* created = m_book.FindGroup(7);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->members, std::vector<std::int32_t>{2});
    EXPECT_EQ(created->kind, kKindMail);
    EXPECT_EQ(created->setDate, kDialDate);
    EXPECT_EQ(created->name.View(), "Group 07");
    EXPECT_EQ(GroupCheckLabels(m_book, kTexts)[6], u"Group 07");
    EXPECT_EQ(DialItemLabel(GroupItem(7), m_book, kTexts), u"Group 07");
    EXPECT_EQ(DialCheckListNumber(SpeedDialSlotItem(2), m_book), 2);
    EXPECT_EQ(DialCheckListNumber(SpeedDialSlotItem(9), m_book), 0);
}

// The check list names each group as the tree does: a named group by its name, a number without
// a group by its numbered label; a group made from a row still takes the numbered label.
TEST_F(DialGroupChecks, CheckListRowsShowTheGroupsDisplayLabels)
{
    m_book.SetGroupName(2, "Fax team");
    const std::vector<std::u16string> labels = GroupCheckLabels(m_book, kTexts);
    ASSERT_EQ(labels.size(), kGroupCheckRows);
    EXPECT_EQ(labels[1], u"Fax team");
    EXPECT_EQ(labels[4], u"Group 05");
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        EXPECT_EQ(labels[static_cast<std::size_t>(group - 1)], DialItemLabel(GroupItem(group), m_book, kTexts))
            << group;
    }
    ASSERT_EQ(Toggle(2, 6, true), kOk);
    EXPECT_EQ(m_book.FindGroup(7)->name.View(), "Group 07");
    EXPECT_EQ(m_book.FindGroup(2)->name.View(), "Fax team");
}

TEST_F(DialGroupChecks, EmptiedGroupGoesWithItsFavourites)
{
    ASSERT_EQ(m_book.AddFavourite(1, kTargetSpeedDial, 1), kOk);
    ASSERT_EQ(m_book.AddFavourite(2, kTargetGroup, 2), kOk);
    ASSERT_EQ(m_book.AddFavourite(3, kTargetSpeedDial, 2), kOk);
    ASSERT_EQ(Toggle(1, 1, false), kOk);
    EXPECT_EQ(m_book.FindGroup(2), nullptr);
    ASSERT_EQ(m_book.Favourites().size(), 2u);
    EXPECT_EQ(m_book.Favourites()[1].number, 2);
    EXPECT_EQ(m_book.Favourites()[1].targetNumber, 2);
    EXPECT_TRUE(DialMemberItems(m_book).empty());
}

TEST(DialList, ColumnWidthsScaleWithTheScreen)
{
    EXPECT_EQ(ScaledDialColumnWidth(kDialColumnWidths[0], 96), 50);
    EXPECT_EQ(ScaledDialColumnWidth(kDialColumnWidths[1], 144), 150);
    EXPECT_EQ(ScaledDialColumnWidth(kDialColumnWidths[0], 120), 62);
}

} // namespace
} // namespace qzb
