#pragma once

#include <string>
#include <vector>

namespace qzb {

// A sentence the user reads, as the layers below the front ends hand it up: the string table key
// of its text and the values for its numbered places (%1 is the first value, %2 the second, so
// that a translation may put them in its own order). A value is shown as it is (a device node, a
// number, a model name) or is a keyed text itself ("The device \"X\" at /dev/...").
struct CKeyedText
{
    std::string key; // "STR_..."; empty for a value shown as it is
    std::string value; // UTF-8; what a value without a key shows
    std::vector<CKeyedText> values; // %1, %2 ... in order

    bool operator==(const CKeyedText&) const = default;
};

// The text of a key with the values for its places.
CKeyedText KeyedText(std::string key, std::vector<CKeyedText> values = {});
// A value shown as it is, in every language.
CKeyedText PlainValue(std::string value);

} // namespace qzb
