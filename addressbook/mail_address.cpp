#include "addressbook/mail_address.h"

namespace qzb {

bool IsEmailAddress(std::u16string_view text)
{
    const std::size_t at = text.find(u'@');
    return at != std::u16string_view::npos && at != 0 && at + 1 != text.size() &&
           text.find(u'@', at + 1) == std::u16string_view::npos;
}

} // namespace qzb
