#include "base/text_format.h"

#include <string>

namespace qzb {

std::u16string FormatNumberText(std::u16string_view format, std::int64_t number)
{
    for (std::size_t pos = format.find(u'%'); pos != std::u16string_view::npos; pos = format.find(u'%', pos + 1)) {
        std::size_t i = pos + 1;
        const bool zeroPad = i < format.size() && format[i] == u'0';
        if (zeroPad) {
            ++i;
        }
        std::size_t width = 0;
        while (i < format.size() && format[i] >= u'0' && format[i] <= u'9' && width < 100) {
            width = width * 10 + static_cast<std::size_t>(format[i] - u'0');
            ++i;
        }
        if (i >= format.size() || (format[i] != u'd' && format[i] != u'i')) {
            continue;
        }
        std::string digits = std::to_string(number < 0 ? -number : number);
        if (digits.size() + (number < 0 ? 1 : 0) < width) {
            const std::size_t pad = width - digits.size() - (number < 0 ? 1 : 0);
            digits.insert(0, pad, zeroPad ? '0' : ' ');
        }
        if (number < 0) {
            digits.insert(zeroPad ? 0 : digits.find_first_not_of(' '), 1, '-');
        }
        std::u16string out(format.substr(0, pos));
        out.append(digits.begin(), digits.end());
        out.append(format.substr(i + 1));
        return out;
    }
    return std::u16string(format);
}

std::u16string FillInserts(std::u16string text, std::span<const std::u16string> inserts)
{
    std::size_t from = 0;
    for (const std::u16string& insert : inserts) {
        const std::size_t at = text.find(u"%s", from);
        if (at == std::u16string::npos) {
            break;
        }
        text.replace(at, 2, insert);
        from = at + insert.size();
    }
    return text;
}

} // namespace qzb
