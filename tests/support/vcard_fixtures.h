#pragma once

// vCard files in the shapes desktop address books and phones write them, written by hand: the
// examples of RFC 6350 and RFC 2426, a Thunderbird 4.0 export, an Evolution 3.0 export with a
// folded photo, a phone's 2.1 export in quoted-printable UTF-8 and an Outlook 2.1 card in
// Windows-1252.

#include <string_view>

namespace qzb::vcard {

// RFC 6350, section 8.
inline constexpr std::string_view kRfc6350 = "BEGIN:VCARD\r\n"
                                             "VERSION:4.0\r\n"
                                             "FN:Simon Perreault\r\n"
                                             "N:Perreault;Simon;;;ing. jr,M.Sc.\r\n"
                                             "BDAY:--0203\r\n"
                                             "ANNIVERSARY:20090808T1430-0500\r\n"
                                             "GENDER:M\r\n"
                                             "LANG;PREF=1:fr\r\n"
                                             "LANG;PREF=2:en\r\n"
                                             "ORG;TYPE=work:Viagenie\r\n"
                                             "ADR;TYPE=work:;Suite D2-630;2875 Laurier;\r\n"
                                             " Quebec;QC;G1V 2M2;Canada\r\n"
                                             "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\r\n"
                                             "TEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501\r\n"
                                             "EMAIL;TYPE=work:simon.perreault@viagenie.ca\r\n"
                                             "GEO;TYPE=work:geo:46.772673,-71.282945\r\n"
                                             "KEY;TYPE=work;VALUE=uri:\r\n"
                                             " http://www.viagenie.ca/simon.perreault/simon.asc\r\n"
                                             "TZ:-0500\r\n"
                                             "URL;TYPE=home:http://nomis80.org\r\n"
                                             "END:VCARD\r\n";

// RFC 2426, section 7: two cards, lower-case "vCard", folded addresses.
inline constexpr std::string_view kRfc2426 = "BEGIN:vCard\r\n"
                                             "VERSION:3.0\r\n"
                                             "FN:Frank Dawson\r\n"
                                             "ORG:Lotus Development Corporation\r\n"
                                             "ADR;TYPE=WORK,POSTAL,PARCEL:;;6544 Battleford Drive\r\n"
                                             " ;Raleigh;NC;27613-3502;U.S.A.\r\n"
                                             "TEL;TYPE=VOICE,MSG,WORK:+1-919-676-9515\r\n"
                                             "TEL;TYPE=FAX,WORK:+1-919-676-9564\r\n"
                                             "EMAIL;TYPE=INTERNET,PREF:Frank_Dawson@Lotus.com\r\n"
                                             "EMAIL;TYPE=INTERNET:fdawson@earthlink.net\r\n"
                                             "URL:http://home.earthlink.net/~fdawson\r\n"
                                             "END:vCard\r\n"
                                             "\r\n"
                                             "BEGIN:vCard\r\n"
                                             "VERSION:3.0\r\n"
                                             "FN:Tim Howes\r\n"
                                             "ORG:Netscape Communications Corp.\r\n"
                                             "ADR;TYPE=WORK:;;501 E. Middlefield Rd.;Mountain View;\r\n"
                                             " CA; 94043;U.S.A.\r\n"
                                             "TEL;TYPE=VOICE,MSG,WORK:+1-415-937-3419\r\n"
                                             "TEL;TYPE=FAX,WORK:+1-415-528-4164\r\n"
                                             "EMAIL;TYPE=INTERNET:howes@netscape.com\r\n"
                                             "END:vCard\r\n";

// Thunderbird: 4.0, a folded number, escaped commas and line breaks, PREF on the
// second address, a fax number as text.
inline constexpr std::string_view kThunderbird = "BEGIN:VCARD\r\n"
                                                 "VERSION:4.0\r\n"
                                                 "FN:Łukasz Ōsaka-Weiß\r\n"
                                                 "N:Ōsaka-Weiß;Łukasz;;;\r\n"
                                                 "EMAIL;TYPE=work:lukasz@work.example\r\n"
                                                 "EMAIL;PREF=1:lukasz@home.example\r\n"
                                                 "TEL;TYPE=fax;VALUE=TEXT:+49 (30) 1234-56\r\n"
                                                 "TEL;TYPE=cell;VALUE=TEXT:+49 170 9876543\r\n"
                                                 "NOTE:Rechnungen bitte per Fax\\, nicht per Post\\nDanke\r\n"
                                                 "UID:6f1c9a3e-0a4e-4b9e-9f38-1d2b1c0e5a77\r\n"
                                                 "END:VCARD\r\n"
                                                 "BEGIN:VCARD\r\n"
                                                 "VERSION:4.0\r\n"
                                                 "FN:Œuvre Bücher\\, Lyon\r\n"
                                                 "TEL;TYPE=\"work,fax\":+33 4 72 00 00 0\r\n"
                                                 " 1\r\n"
                                                 "END:VCARD\r\n";

// Evolution: 3.0, TYPE repeated, a grouped property and a base64 photo over folded lines.
inline constexpr std::string_view kEvolution =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "UID:pas-id-5F2A1C0B00000001\r\n"
    "FN:Anna Berg\r\n"
    "N:Berg;Anna;;;\r\n"
    "X-EVOLUTION-FILE-AS:Berg\\, Anna\r\n"
    "TEL;TYPE=WORK;TYPE=VOICE:+46 8 123 45 67\r\n"
    "TEL;TYPE=WORK;TYPE=FAX:+46 8 123 45 68\r\n"
    "item1.EMAIL;TYPE=INTERNET:anna.berg@example.se\r\n"
    "item1.X-ABLabel:Arbete\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAwMEAw\r\n"
    " MEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/2wBDA\r\n"
    " QMEBAUEBQkFBQkUDQsNFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQU\r\n"
    "CATEGORIES:Kunden,Lieferanten\r\n"
    "END:VCARD\r\n";

// A phone's 2.1 export: quoted-printable UTF-8 with soft line breaks, bare type parameters, a
// photo in base64 ended by an empty line, and a card with no fax number.
inline constexpr std::string_view kPhone21 =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD=D0=BE=D0=B2;=D0=98=D0=B2=D0=B0=D0=BD;;;\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD =D0=98=D0=B2=D0=B0=\r\n"
    "=D0=BD=D0=BE=D0=B2\r\n"
    "TEL;CELL:+7 916 000-00-00\r\n"
    "TEL;WORK;FAX:+7 (495) 123-45-67\r\n"
    "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJCQgKDBQN\r\n"
    " DAsLDBkSEw8UHRofHh0aHBwgJC4nICIsIxwcKDcpLDAxNDQ0Hyc5PTgyPC4zNDL/\r\n"
    "\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N:;Nur Mail;;;\r\n"
    "EMAIL;INTERNET;PREF:nur.mail@example.de\r\n"
    "END:VCARD\r\n";

// Outlook: 2.1 in Windows-1252, quoted-printable.
inline constexpr std::string_view kOutlook21 = "BEGIN:VCARD\r\n"
                                               "VERSION:2.1\r\n"
                                               "N;LANGUAGE=fr;CHARSET=Windows-1252:Dupr\xE9;Ren\xE9\r\n"
                                               "FN;CHARSET=Windows-1252;ENCODING=QUOTED-PRINTABLE:Ren=E9 Dupr=E9\r\n"
                                               "TEL;WORK;FAX:01 23 45 67 89\r\n"
                                               "EMAIL;PREF;INTERNET:rene.dupre@example.fr\r\n"
                                               "END:VCARD\r\n";

} // namespace qzb::vcard
