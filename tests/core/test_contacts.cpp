#include "addressbook/contacts_import.h"
#include "addressbook/entry_checks.h"

#include "addressbook/panel_transliteration.h"
#include "addressbook/vcard_reader.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"
#include "tests/support/vcard_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A file of 21 cards: the first card's END:VCARD removed, then with a blank after it, with a blank
// after BEGIN, in lower case, and a file cut off inside its last card. Every card is read, and
// each damaged one is named.
TEST(VCardReader, EveryTopLevelCardIsReadOrNamed)
{
    const auto card = [](int n, std::string_view begin = "BEGIN:VCARD", std::string_view end = "END:VCARD") {
        return std::string(begin) + "\r\nVERSION:3.0\r\nFN:Person " + std::to_string(n) + "\r\nTEL;TYPE=fax:030 " +
               std::to_string(1000 + n) + "\r\n" + std::string(end) + "\r\n";
    };
    const auto file = [&](std::string_view firstBegin, std::string_view firstEnd) {
        std::string all = card(1, firstBegin, firstEnd);
        for (int n = 2; n <= 21; ++n) {
            all += card(n);
        }
        return all;
    };
    const CVCardFile noEnd = ReadVCardFile(file("BEGIN:VCARD", ""));
    ASSERT_EQ(noEnd.cards.size(), 21u);
    EXPECT_EQ(noEnd.cards[0].formattedName, u"Person 1");
    EXPECT_EQ(noEnd.cards[20].formattedName, u"Person 21");
    EXPECT_EQ(noEnd.damages, (std::vector<CVCardDamage>{{1, VCardDamage::NoEnd}}));

    for (const auto& [begin, end] : {std::pair{"BEGIN:VCARD", "END:VCARD "},
                                     {"BEGIN:VCARD ", "END:VCARD"},
                                     {"begin:vcard", "End : vCard\t"},
                                     {"BEGIN: VCARD", "END:VCARD"}}) {
        const CVCardFile read = ReadVCardFile(file(begin, end));
        EXPECT_EQ(read.cards.size(), 21u) << begin << "|" << end;
        EXPECT_TRUE(read.damages.empty()) << begin << "|" << end;
        EXPECT_EQ(read.cards[0].tels.size(), 1u) << begin << "|" << end;
    }

    std::string cut = file("BEGIN:VCARD", "END:VCARD");
    cut.resize(cut.size() - 20);
    const CVCardFile cutOff = ReadVCardFile(cut);
    EXPECT_EQ(cutOff.cards.size(), 21u);
    EXPECT_EQ(cutOff.damages, (std::vector<CVCardDamage>{{21, VCardDamage::CutOff}}));

    // A 2.1 AGENT's card is part of its card; an unclosed one ends at the next top-level card.
    const CVCardFile agent = ReadVCardFile("BEGIN:VCARD\nFN:Boss\nAGENT:\nBEGIN:VCARD\nFN:Assistant\nEND:VCARD\n"
                                           "EMAIL:boss@x.de\nBEGIN:VCARD\nFN:Next\nEND:VCARD\n");
    ASSERT_EQ(agent.cards.size(), 2u);
    EXPECT_EQ(agent.cards[0].emails.size(), 1u);
    EXPECT_EQ(agent.cards[1].formattedName, u"Next");
    EXPECT_EQ(agent.damages, (std::vector<CVCardDamage>{{1, VCardDamage::NoEnd}}));

    // The plan names the damaged card among its notes.
    const CContactsPlan plan = PlanContactsImport(noEnd, CAddressBook(), StoreFor(0), {}, kCardDate);
    EXPECT_EQ(plan.cards, 21u);
    EXPECT_EQ(plan.rows.size(), 21u);
    ASSERT_FALSE(plan.notes.empty());
    EXPECT_EQ(plan.notes[0].card, 1u);
    EXPECT_EQ(plan.notes[0].reason, ContactNoteReason::NoEnd);
}

std::string Utf16(std::u16string_view text, bool bigEndian, bool mark)
{
    std::string bytes;
    if (mark) {
        bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    }
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// iOS 5 and 6 end lines in CR CR LF, old Macs in CR alone, Windows "Save as Unicode" writes UTF-16.
TEST(VCardReader, ReadsIosLineEndsOldMacFilesAndUtf16)
{
    const std::string ios = "BEGIN:VCARD\r\r\nVERSION:2.1\r\r\nN:Berg;Anna;;;\r\r\n"
                            "FN;ENCODING=QUOTED-PRINTABLE:Anna B=C3=\r\r\n=B6rg\r\r\n"
                            "TEL;WORK;FAX:+46 8 123 45\r\r\nEND:VCARD\r\r\n"
                            "BEGIN:VCARD\r\r\nVERSION:2.1\r\r\nFN:Bo\r\r\n folded\r\r\nEND:VCARD\r\r\n";
    const std::vector<CVCard> read = ParseVCards(ios);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].formattedName, u"Anna Börg") << "a soft line break across CR CR LF";
    EXPECT_EQ(read[0].tels.at(0).value, u"+46 8 123 45");
    EXPECT_EQ(read[1].formattedName, u"Bofolded");

    const std::vector<CVCard> mac = ParseVCards("BEGIN:VCARD\rFN:Mac\rEMAIL:mac@x.de\rEND:VCARD\r");
    ASSERT_EQ(mac.size(), 1u);
    EXPECT_EQ(mac[0].emails.at(0).value, u"mac@x.de");

    const std::u16string text = u"BEGIN:VCARD\r\nFN:Ūnicode 😀\r\nTEL;TYPE=fax:0301\r\nEND:VCARD\r\n";
    for (const auto& [bytes, label] : {std::pair{Utf16(text, false, true), "UTF-16LE"},
                                       {Utf16(text, true, true), "UTF-16BE"},
                                       {Utf16(text, false, false), "UTF-16LE without a mark"},
                                       {"\xEF\xBB\xBF" + Utf16ToUtf8(text), "UTF-8 with a mark"}}) {
        const CVCardFile file = ReadVCardFile(bytes);
        ASSERT_EQ(file.cards.size(), 1u) << label;
        EXPECT_EQ(file.cards[0].formattedName, u"Ūnicode 😀") << label;
        EXPECT_TRUE(file.unreadableEncoding.empty()) << label;
    }
    std::string utf32 = "\xFF\xFE";
    utf32.append(2, '\0');
    for (char16_t unit : std::u16string_view(u"BEGIN:VCARD\nFN:Wide\nEND:VCARD\n")) {
        utf32 += std::string{static_cast<char>(unit), '\0', '\0', '\0'};
    }
    EXPECT_EQ(ParseVCards(utf32).at(0).formattedName, u"Wide");

    const CVCardFile utf7 = ReadVCardFile("\x2B\x2F\x76\x38\x2D"
                                          "BEGIN:VCARD\nFN:Seven\nEND:VCARD\n");
    EXPECT_EQ(utf7.unreadableEncoding, "UTF-7");
    EXPECT_TRUE(utf7.cards.empty());
    EXPECT_TRUE(ReadVCardFile("OTD01,Group,Kunden,\r\n").cards.empty()) << "no vCard at all";
}

// The numbers of real address books, as the fax number field takes them: nothing may dial someone
// else, and nothing is left out without a note.
TEST(ContactsImport, NumbersNeverDialSomeoneElse)
{
    struct CCase
    {
        std::u16string_view value;
        std::u16string_view number;
        std::u16string_view extension = {};
        std::u16string_view pause = {};
        bool letters = false;
    };
    const CCase cases[] = {
        {u"+1 (555) 123-4567 x89", u"001555123-4567", u"x89"},
        {u"+44 (0)20 7946 0958", u"00442079460958"},
        {u"+44 ( 0 ) 20 7946 0958", u"00442079460958"},
        {u"(0)20 7946 0958", u"02079460958"},
        {u"(+49) 30 123456", u"004930123456"},
        {u"1-800-FLOWERS", u"", {}, {}, true},
        {u"tel:+1-555-123-4567;ext=89", u"001-555-123-4567", u"ext=89"},
        {u"tel:+1-418-656-9254;ext=102", u"001-418-656-9254", u"ext=102"},
        {u"030 1234-56 ext. 7", u"0301234-56", u"ext. 7"},
        {u"030 1234-56;ext=7", u"0301234-56", u";ext=7"},
        {u"030 1234 Extension 7", u"0301234", u"Extension 7"},
        {u"0301234,,56", u"0301234PP56"},
        {u"0301234p56", u"0301234P56"},
        {u"0301234w56", u"0301234P56"},
        {u"BusinessFaxPhone", u"", {}, {}, true},
        {u"businessfax 4", u"", {}, {}, true},
        {u"+", u""},
        {u"---", u""},
        {u"*#", u""},
        {u",123", u""},
        {u"0301234+5", u""},
        {u"++49 30 1", u""},
        {u"030?1234", u""},
        {u"030.1234/56", u"030123456"},
        {u"\u00A0+49\u2009301\u2013234", u"0049301234"},
        {u"*31#0301234", u"*31#0301234"},
    };
    for (const CCase& c : cases) {
        const CFaxNumberFit fit = FitFaxNumber(c.value, u"00", true);
        const std::string label = Utf16ToUtf8(c.value);
        EXPECT_EQ(fit.number, c.number) << label;
        EXPECT_EQ(fit.extension, c.extension) << label;
        EXPECT_EQ(fit.pause, c.pause) << label;
        EXPECT_EQ(fit.letters, c.letters) << label;
    }
    const CFaxNumberFit noPause = FitFaxNumber(u"0301234,,56", u"00", false);
    EXPECT_EQ(noPause.number, u"0301234");
    EXPECT_EQ(noPause.pause, u",,56");
}

// Outlook 2003 writes its field names where a number is missing; the editor's OK check decides
// what is stored, and a later valid fax number of the card is taken.
TEST(ContactsImport, OnlyNumbersThatPassTheEditorsCheckAreStored)
{
    const CVCardFile file = ReadVCardFile("BEGIN:VCARD\nFN:Outlook\nTEL;WORK;FAX:BusinessFaxPhone\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Plus\nTEL;TYPE=fax:+\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Dashes\nTEL;TYPE=fax:---\nTEL;TYPE=fax:*#\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Second\nTEL;TYPE=fax;PREF=1:businessfax 4\n"
                                          "TEL;TYPE=fax:+49 30 1234\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Ext\nTEL;TYPE=fax:+1 555 1234 x9\nEND:VCARD\n");
    const CValueStore store = StoreFor(0);
    CContactsOptions faxOnly;
    faxOnly.kinds = ContactKinds::Fax;
    const CContactsPlan plan = PlanContactsImport(file, CAddressBook(), store, faxOnly, kCardDate);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].card, 4u);
    EXPECT_EQ(plan.rows[0].address, u"0049301234") << "the later valid fax number";
    EXPECT_EQ(plan.rows[1].address, u"0015551234");
    using R = ContactNoteReason;
    std::vector<std::pair<std::size_t, R>> notes;
    for (const CContactNote& note : plan.notes) {
        notes.emplace_back(note.card, note.reason);
        EXPECT_TRUE(note.reason != R::NumberChanged || !note.to.empty()) << "a number written as nothing";
    }
    EXPECT_EQ(notes,
              (std::vector<std::pair<std::size_t, R>>{{1, R::NumberInLetters},
                                                      {2, R::AddressInvalid},
                                                      {3, R::AddressInvalid},
                                                      {3, R::AddressInvalid},
                                                      {4, R::NumberInLetters},
                                                      {4, R::NumberChanged},
                                                      {5, R::ExtensionLeftOut},
                                                      {5, R::NumberChanged}}));
    for (const CFaxMailEntry& entry : plan.result.FaxMailEntries()) {
        const std::u16string address = PanelBytesToText(entry.address.View(), 0);
        EXPECT_TRUE(CheckFaxMailEntry(entry.kind, u"", address, store).Ok()) << Utf16ToUtf8(address);
    }
}

// "Mom ❤️" keeps "Mom", one bad byte costs one character, a cut name has no trailing blank, and
// the Japanese panel gets the half-width forms it has.
TEST(ContactsImport, NamesLoseOnlyWhatThePanelCannotShow)
{
    const CPanelNameFit heart = FitNameToPanel(u"Mom ❤️", 0, 20);
    EXPECT_EQ(heart.text, u"Mom");
    EXPECT_EQ(heart.unshown, (std::vector<std::u16string>{u"❤"}));
    EXPECT_EQ(FitNameToPanel(u"ACME Sales ™ Inc", 0, 20).text, u"ACME Sales Inc");
    EXPECT_EQ(FitNameToPanel(Utf8ToUtf16("M\xC3\xBCller\xFF"), 0, 20).text, u"Müller");
    const CPanelNameFit cut = FitNameToPanel(u"Maximiliane Müller Lüdenscheidt", 0, 19);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.text, u"Maximiliane Müller") << "no trailing blank";
    EXPECT_EQ(FitNameToPanel(u"ＡＣＭＥ　Ｓａｌｅｓ", 0, 20).text, u"ACME Sales");
    EXPECT_EQ(FitNameToPanel(u"ヤマダ　タロウ", 11, 20).text, u"ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(FitNameToPanel(u"パン", 11, 20).text, u"ﾊﾟﾝ");

    const CVCardFile file = ReadVCardFile("BEGIN:VCARD\nFN:Иван Петрович Сидоров\nEMAIL:ivan@x.ru\nEND:VCARD\n"
                                          "BEGIN:VCARD\nFN:Mom \xE2\x9D\xA4\xEF\xB8\x8F\nEMAIL:mom@x.de\nEND:VCARD\n");
    const CContactsPlan plan = PlanContactsImport(file, CAddressBook(), StoreFor(0), {}, kCardDate);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].name, u"");
    EXPECT_EQ(plan.rows[1].name, u"Mom");
    ASSERT_EQ(plan.notes.size(), 2u);
    EXPECT_EQ(plan.notes[0].reason, ContactNoteReason::NameLeftOut);
    EXPECT_EQ(plan.notes[0].from,
              u"\"И\", \"в\", \"а\", \"н\", \"П\", \"е\", \"т\", \"р\", \"о\", \"и\", \"ч\", \"С\", \"д\"");
    EXPECT_EQ(plan.notes[1].reason, ContactNoteReason::CharactersLeftOut);
    EXPECT_EQ(plan.notes[1].from, u"\"❤\"");
}

// A 1 MB name is repeated in notes only by its start; an entry without a name is told.
TEST(ContactsImport, NotesStayShortAndNamelessEntriesAreTold)
{
    const std::string huge(1 << 20, 'A');
    const CVCardFile file = ReadVCardFile("BEGIN:VCARD\nFN:" + huge + "\nTEL;TYPE=fax:" + huge +
                                          "\nEMAIL:a@x.de\nEND:VCARD\nBEGIN:VCARD\nEMAIL:b@x.de\nEND:VCARD\n");
    const CContactsPlan plan = PlanContactsImport(file, CAddressBook(), StoreFor(0), {}, kCardDate);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_LE(plan.rows[0].cardName.size(), kMaxNoteTextLength + 3);
    const TextLookup english = [](std::string_view key) { return std::u16string(key.begin(), key.end()) + u" %s %s"; };
    bool nameless = false;
    for (const CContactNote& note : plan.notes) {
        EXPECT_LE(note.from.size(), kMaxNoteTextLength + 3);
        EXPECT_LE(note.to.size(), kMaxNoteTextLength + 3);
        EXPECT_LE(ContactNoteLine(note, file.cards, english).size(), 400u);
        nameless = nameless || (note.reason == ContactNoteReason::NoName && note.card == 2 && note.slot == 2);
    }
    EXPECT_TRUE(nameless);
}

// A card's own speed dial is kept while free, else the next free one is told; CATEGORIES of other
// programs join the group of that name or make one, and a group that cannot be made is told.
TEST(ContactsImport, SpeedDialsAndCategoriesOfTheCards)
{
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(KeptEntry(5, kKindMail, "kept@x.de")), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 5, true, kKindMail, kCardDate), kOk);
    book.SetGroupName(3, "Kunden", kCardDate);
    const CVCardFile file =
        ReadVCardFile("BEGIN:VCARD\nFN:Free\nEMAIL:free@x.de\nX-QZB-SPEED-DIAL:7\nCATEGORIES:Kunden,Neu\nEND:VCARD\n"
                      "BEGIN:VCARD\nFN:Taken\nEMAIL:taken@x.de\nX-QZB-SPEED-DIAL:5\nEND:VCARD\n"
                      "BEGIN:VCARD\nFN:Before\nEMAIL:before@x.de\nEND:VCARD\n"
                      "BEGIN:VCARD\nFN:Later\nEMAIL:later@x.de\nX-QZB-SPEED-DIAL:2\nCATEGORIES:Кириллица\nEND:VCARD\n");
    const CContactsPlan plan = PlanContactsImport(file, book, StoreFor(0), {}, kCardDate);
    ASSERT_EQ(plan.rows.size(), 4u);
    EXPECT_EQ(plan.rows[0].slot, 7);
    EXPECT_EQ(plan.rows[1].slot, 1) << "5 is taken: the first free one";
    EXPECT_EQ(plan.rows[2].slot, 3) << "2 stays for the card that names it";
    EXPECT_EQ(plan.rows[3].slot, 2);
    const auto has = [&](std::size_t card, ContactNoteReason reason) {
        return std::any_of(plan.notes.begin(), plan.notes.end(), [&](const CContactNote& note) {
            return note.card == card && note.reason == reason;
        });
    };
    EXPECT_TRUE(has(2, ContactNoteReason::SlotTaken));
    EXPECT_TRUE(has(4, ContactNoteReason::CategoryUnavailable)) << "a name the panel cannot show at all";
    const CGroupEntry* kunden = plan.result.FindGroup(3);
    ASSERT_NE(kunden, nullptr);
    EXPECT_EQ(kunden->members, (std::vector<std::int32_t>{5, 7}));
    const CGroupEntry* made = plan.result.FindGroup(1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->name.View(), "Neu");
    EXPECT_EQ(made->members, (std::vector<std::int32_t>{7}));
    EXPECT_EQ(plan.result.Groups().size(), 2u);

    // Below --first-slot no card's own speed dial is taken.
    CContactsOptions fromTen;
    fromTen.firstSlot = 10;
    const CContactsPlan high = PlanContactsImport(file, book, StoreFor(0), fromTen, kCardDate);
    ASSERT_EQ(high.rows.size(), 4u);
    EXPECT_EQ(high.rows[0].slot, 10);
    EXPECT_EQ(high.rows[3].slot, 13);
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
