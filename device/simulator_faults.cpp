#include "device/simulator_faults.h"

#include <charconv>

namespace qzb {

namespace {

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();

CFaultParse Number(std::string_view value, std::size_t lowest, std::size_t highest, std::size_t& number)
{
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size()) {
        return {FaultRefusal::NeedsNumber};
    }
    if (number < lowest || number > highest) {
        return {FaultRefusal::OutOfRange, lowest, highest};
    }
    return {};
}

} // namespace

CFaultParse ApplySimulatorFault(CSimulatorFaults& faults, std::string_view fault)
{
    const std::size_t equals = fault.find('=');
    const std::string_view kind = fault.substr(0, equals);
    const bool hasNumber = equals != std::string_view::npos;
    const std::string_view value = hasNumber ? fault.substr(equals + 1) : std::string_view();
    if (kind == "busy" || kind == "damaged") {
        if (hasNumber) {
            return {FaultRefusal::TakesNoNumber};
        }
        (kind == "busy" ? faults.busyAtOpen : faults.damagedAnswers) = true;
        return {};
    }
    std::size_t number = 0;
    CFaultParse parse;
    // The status and the fax country each travel in one byte.
    if (kind == "status" || kind == "country") {
        parse = Number(value, 0, 0xFF, number);
    } else if (kind == "split") {
        parse = Number(value, 1, kAny, number);
    } else if (kind == "cut" || kind == "cut-every") {
        parse = Number(value, 0, kAny, number);
    } else {
        return {FaultRefusal::UnknownKind};
    }
    if (parse.refusal != FaultRefusal::None) {
        return parse;
    }
    if (kind == "status") {
        faults.statusByte = static_cast<std::uint8_t>(number);
    } else if (kind == "country") {
        faults.country = static_cast<std::int32_t>(number);
    } else if (kind == "split") {
        faults.splitReads = number;
    } else {
        faults.cutAfter = number;
        faults.cutEveryConnection = kind == "cut-every";
    }
    return {};
}

} // namespace qzb
