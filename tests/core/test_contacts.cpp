#include "addressbook/contacts_import.h"

#include "addressbook/panel_transliteration.h"
#include "addressbook/vcard_reader.h"
#include "model/input_chars.h"
#include "model/value_store.h"
#include "tests/support/vcard_fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace qzb {
namespace {

constexpr std::uint16_t kCardDate = (26 << 9) | (3 << 5) | 14;

std::vector<CVCard> Cards(std::initializer_list<std::string_view> files)
{
    std::string all;
    for (std::string_view file : files) {
        all += file;
    }
    return ParseVCards(all);
}

CValueStore StoreFor(std::int32_t language)
{
    CValueStore store;
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
    return store;
}

CFaxMailEntry KeptEntry(std::int32_t number, std::int32_t kind, std::string_view address)
{
    CFaxMailEntry entry;
    entry.number = number;
    entry.kind = kind;
    entry.name.Assign("Kept");
    entry.address.Assign(address);
    return entry;
}

TEST(VCardReader, ReadsTheRfcExamplesAndTheDesktopExports)
{
    const std::vector<CVCard> rfc = Cards({vcard::kRfc6350, vcard::kRfc2426});
    ASSERT_EQ(rfc.size(), 3u);
    EXPECT_EQ(rfc[0].formattedName, u"Simon Perreault");
    EXPECT_EQ(rfc[0].name, (std::vector<std::u16string>{u"Perreault", u"Simon", u"", u"", u"ing. jr,M.Sc."}));
    ASSERT_EQ(rfc[0].tels.size(), 2u);
    EXPECT_EQ(rfc[0].tels[0].value, u"tel:+1-418-656-9254;ext=102");
    EXPECT_EQ(rfc[0].tels[0].pref, 1);
    EXPECT_EQ(rfc[0].tels[1].types, (std::vector<std::string>{"work", "cell", "voice", "video", "text"}));
    ASSERT_EQ(rfc[0].emails.size(), 1u);
    EXPECT_EQ(rfc[1].formattedName, u"Frank Dawson");
    EXPECT_EQ(rfc[1].organisation, u"Lotus Development Corporation");
    ASSERT_EQ(rfc[1].emails.size(), 2u);
    EXPECT_EQ(rfc[1].emails[0].pref, 1) << "TYPE=PREF of 3.0";
    EXPECT_TRUE(rfc[1].tels[1].HasType("fax"));
    EXPECT_EQ(rfc[2].tels[1].value, u"+1-415-528-4164");

    const std::vector<CVCard> desktop =
        Cards({vcard::kThunderbird, vcard::kEvolution, vcard::kPhone21, vcard::kOutlook21});
    ASSERT_EQ(desktop.size(), 6u);
    EXPECT_EQ(desktop[0].formattedName, u"Łukasz Ōsaka-Weiß");
    EXPECT_EQ(desktop[0].emails[1].pref, 1);
    EXPECT_EQ(desktop[1].formattedName, u"Œuvre Bücher, Lyon") << "escaped comma";
    EXPECT_EQ(desktop[1].tels[0].value, u"+33 4 72 00 00 01") << "folded value";
    EXPECT_EQ(desktop[2].emails.at(0).value, u"anna.berg@example.se") << "grouped property";
    EXPECT_EQ(desktop[2].tels.at(1).types, (std::vector<std::string>{"work", "fax"}));
    EXPECT_EQ(desktop[2].categories, (std::vector<std::u16string>{u"Kunden", u"Lieferanten"}));
    EXPECT_EQ(desktop[3].formattedName, u"Иван Иванов") << "quoted-printable UTF-8 with a soft line break";
    EXPECT_TRUE(desktop[3].tels.at(1).HasType("fax")) << "bare 2.1 types";
    EXPECT_EQ(desktop[4].DisplayName(), u"Nur Mail") << "N when FN is missing";
    EXPECT_EQ(desktop[5].formattedName, u"René Dupré") << "Windows-1252 quoted-printable";
    EXPECT_EQ(desktop[5].name.at(0), u"Dupré") << "Windows-1252 without an encoding";

    // Text outside cards, an unterminated card and a nested AGENT card.
    const auto odd = ParseVCards("junk\nBEGIN:VCARD\nFN:Outer\nAGENT:\nBEGIN:VCARD\nFN:Inner\nEND:VCARD\n"
                                 "TEL;TYPE=fax:1\nEND:VCARD\nBEGIN:VCARD\nFN:Open\n");
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(odd[0].formattedName, u"Outer");
    EXPECT_EQ(odd[0].tels.size(), 1u);
    EXPECT_EQ(odd[1].formattedName, u"Open");
}

TEST(ContactsImport, NamesKeepWhatThePanelHoldsAndTransliterateOnlyTheRest)
{
    for (const CLatinForm& form : LatinFormTable()) {
        for (char c : form.latin) {
            EXPECT_TRUE(PanelAllows(static_cast<unsigned char>(c), 0)) << std::hex << static_cast<int>(form.unit);
        }
    }
    EXPECT_EQ(FitNameToPanel(u"Łukasz Ōsaka-Weiß", 0, 20).text, u"Lukasz Osaka-Weiß");
    EXPECT_EQ(FitNameToPanel(u"Łukasz Ōsaka-Weiß", 0, 20).changes,
              (std::vector<CNameChange>{{u"Ł", u"L"}, {u"Ō", u"O"}}));
    EXPECT_EQ(FitNameToPanel(u"Łukasz", 10, 20).text, u"Łukasz") << "the Polish panel holds Ł";
    EXPECT_EQ(FitNameToPanel(u"Œuvre Ørsted Ștefan", 0, 20).text, u"Œuvre Ørsted Stefan") << "Œ and Ø are held";
    EXPECT_EQ(FitNameToPanel(u"Иван Иванов", 6, 20).text, u"Иван Иванов");
    const CPanelNameFit cyrillicOnWestern = FitNameToPanel(u"Иван\nИванов", 0, 20);
    EXPECT_TRUE(cyrillicOnWestern.text.empty());
    EXPECT_EQ(cyrillicOnWestern.unshown, (std::vector<std::u16string>{u"И", u"в", u"а", u"н", u"о"}));
    const CPanelNameFit longName = FitNameToPanel(u"Maximiliane  Müller-Lüdenscheidt", 0, 20);
    EXPECT_TRUE(longName.cut);
    EXPECT_EQ(longName.text, u"Maximiliane Müller-L");

    EXPECT_EQ(FaxNumberOfContact(u"+49 (30) 1234-56", u"00"), u"0049301234-56");
    EXPECT_EQ(FaxNumberOfContact(u"tel:+1-418-656-9254;ext=102", u"011"), u"0111-418-656-9254");
    EXPECT_EQ(FaxNumberOfContact(u"0301234+5", u"00"), u"") << "only a leading + is the prefix";
}

// A book with speed dial 1 holding the first card's number and 3-219 taken: the first card is a
// duplicate, the next two fill 2 and 220, the rest is left out; the group takes the fax entries.
TEST(ContactsImport, DuplicatesAFullListAndTheGroupAreToldAndNothingChangesBeforeApply)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(KeptEntry(1, kKindFax, "0049-30123456")), kOk);
    for (std::int32_t number = 3; number <= 219; ++number) {
        const std::string address = std::to_string(number) + "@x.de";
        ASSERT_EQ(book.PutFaxMailEntry(KeptEntry(number, kKindMail, address)), kOk);
    }
    const CAddressBook before = book;
    const auto cards = ParseVCards("BEGIN:VCARD\nFN:Dup\nTEL;TYPE=fax:+49 30 123456\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:Fax Two\nTEL;TYPE=fax:0302\nEMAIL:two@x.de\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:Broken\nEMAIL:no-at-sign\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:No Fax\nTEL;TYPE=cell:0304\nEND:VCARD\n"
                                   "BEGIN:VCARD\nFN:Fax Three\nTEL;TYPE=fax:0303\nEND:VCARD\n");
    CContactsOptions options;
    options.group = u"Kunden";
    CContactsPlan plan = PlanContactsImport(cards, book, StoreFor(0), options, kCardDate);
    EXPECT_EQ(book, before);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].slot, 2);
    EXPECT_EQ(plan.rows[0].kind, kKindFax);
    EXPECT_EQ(plan.rows[1].slot, 220);
    EXPECT_EQ(plan.rows[1].address, u"two@x.de");
    const std::vector<ContactNoteReason> reasons = [&] {
        std::vector<ContactNoteReason> list;
        for (const CContactNote& note : plan.notes) {
            list.push_back(note.reason);
        }
        return list;
    }();
    using R = ContactNoteReason;
    EXPECT_EQ(
        reasons,
        (std::vector<R>{R::NumberChanged, R::Duplicate, R::AddressInvalid, R::NoAddress, R::ListFull, R::NotInGroup}));
    EXPECT_EQ(plan.notes[1].slot, 1);
    ASSERT_EQ(plan.notes.size(), 6u);
    EXPECT_EQ(plan.notes[4].count, 1u) << "Fax Three";
    EXPECT_EQ(plan.notes[5].slot, 220) << "the e-mail entry stays out of the fax group";
    ASSERT_TRUE(plan.groupCreated);
    const TextLookup english = [](std::string_view key) { return std::u16string(key.begin(), key.end()); };
    EXPECT_FALSE(ContactNoteLine(plan.notes[1], cards, english).empty());

    ApplyContactsPlan(plan, book);
    EXPECT_EQ(book.FaxMailEntries().size(), 220u);
    const CGroupEntry* group = book.FindGroup(plan.group);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->name.View(), "Kunden");
    EXPECT_EQ(group->members, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(group->kind, kKindFax);
}

// Names with the characters vCard escapes, a long address that folds, both kinds and groups:
// the export reads back into the same entries.
TEST(ContactsExport, ReadsBackIntoTheSameEntries)
{
    CAddressBook book;
    CFaxMailEntry fax = KeptEntry(4, kKindFax, "0301234-56");
    fax.name.Assign("M\xFCller; Sohn, \\AG");
    ASSERT_EQ(book.PutFaxMailEntry(fax), kOk);
    std::string longAddress(52, 'a');
    longAddress.append("@example.org");
    CFaxMailEntry mail = KeptEntry(9, kKindMail, longAddress);
    mail.name.Assign("");
    ASSERT_EQ(book.PutFaxMailEntry(mail), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 4, true, kKindFax, kCardDate), kOk);
    const CValueStore store = StoreFor(0);
    const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };
    const std::string vcf = BuildContactsVcf(book, store, labels);
    for (std::size_t start = 0, end; (end = vcf.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 75u);
    }
    EXPECT_NE(vcf.find("CATEGORIES:Group 02\r\n"), std::string::npos);

    const std::vector<CVCard> cards = ParseVCards(vcf);
    CContactsPlan plan = PlanContactsImport(cards, CAddressBook(), store, CContactsOptions{}, kCardDate);
    ASSERT_EQ(plan.notes.size(), 1u) << "only the nameless entry is told";
    EXPECT_EQ(plan.notes[0].reason, ContactNoteReason::NoName);
    EXPECT_EQ(plan.notes[0].slot, 9);
    ASSERT_EQ(plan.rows.size(), 2u);
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const CFaxMailEntry& original = book.FaxMailEntries()[i];
        EXPECT_EQ(plan.rows[i].slot, original.number) << "the entry's own speed dial";
        const CFaxMailEntry* again = plan.result.FindFaxMailEntry(plan.rows[i].slot);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->kind, original.kind);
        EXPECT_EQ(again->name, original.name);
        EXPECT_EQ(again->address, original.address);
    }
    ASSERT_EQ(plan.result.Groups().size(), 1u);
    EXPECT_EQ(plan.result.Groups()[0].number, 2) << "the unnamed group 2 comes back as group 2";
    EXPECT_EQ(plan.result.Groups()[0].name.View(), "") << "not named after its label";
    EXPECT_EQ(plan.result.Groups()[0].members, (std::vector<std::int32_t>{4}));
}

} // namespace
} // namespace qzb
