#include "addressbook/entry_checks.h"

#include "addressbook/address_records.h"
#include "addressbook/mail_address.h"
#include "model/input_chars.h"

namespace qzb {

CFaxMailCheck
CheckFaxMailEntry(std::int32_t kind, std::u16string_view name, std::u16string_view address, const CValueStore& store)
{
    using F = FaxMailCheckField;
    if (!IsInputTextValid(name, InputKind::Name, store)) {
        return {kMsgInvalidRangeValueThisLang, F::Name};
    }
    if (kind == kKindFax) {
        if (!IsInputTextValid(address, InputKind::FaxNumber, store)) {
            return {kMsgInvalidRangeValueThisLang, F::Address};
        }
        // "P" is the dial pause: it cannot open a number.
        if (address.empty() || address.front() == u'P') {
            return {kMsgNumberErr, F::Address};
        }
        return {};
    }
    if (!IsInputTextValid(address, InputKind::EmailAddress, store)) {
        return {kMsgInvalidRangeValueThisLang, F::Address};
    }
    if (!IsEmailAddress(address)) {
        return {kMsgEmailAddressErr, F::Address};
    }
    return {};
}

} // namespace qzb
