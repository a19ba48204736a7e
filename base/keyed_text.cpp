#include "base/keyed_text.h"

#include <utility>

namespace qzb {

CKeyedText KeyedText(std::string key, std::vector<CKeyedText> values)
{
    CKeyedText text;
    text.key = std::move(key);
    text.values = std::move(values);
    return text;
}

CKeyedText PlainValue(std::string value)
{
    CKeyedText text;
    text.value = std::move(value);
    return text;
}

} // namespace qzb
