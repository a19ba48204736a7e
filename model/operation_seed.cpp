#include "model/operation_seed.h"

#include "model/value_store.h"

namespace qzb {

namespace {

constexpr int Bit(std::uint8_t byte, int bit)
{
    return (byte >> bit) & 1;
}

// A two-bit report field: 0-2 stand as they are; 3 is not a valid choice and gives fallback,
// which is also written back into the field.
std::int32_t TwoBitChoice(std::uint8_t& byte, int shift, std::int32_t fallback)
{
    const int field = (byte >> shift) & 3;
    if (field <= 2) {
        return field;
    }
    byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | (fallback << shift));
    return fallback;
}

void SetLowNibble(std::uint8_t& byte, int value)
{
    byte = static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
}

} // namespace

std::int32_t SeedFromOperationBlock(COperationBlock& b, CValueStore& store)
{
    constexpr auto kComm = "COMMUNICATE_SET_DLG";
    constexpr auto kRedial = "AUTO_REDIAL_DLG";
    constexpr auto kFaxRx = "FAX_RX_SET_DLG";
    constexpr auto kFaxTx = "FAX_TX_SET_DLG";
    constexpr auto kReport = "REPORT_SET_DLG";
    constexpr auto kUser = "USER_SET_DLG";

    store.SetItemNumber(kComm, "COMM_SET_PULSE", Bit(b[4], 2));
    store.SetItemNumber(kComm, "COMM_SET_PSTN_PBX", Bit(b[6], 6));
    const std::int32_t dialMode = DialModeCode(b, store.GetItemNumber(kComm, "COMM_SET_PULSE"));

    // Redial count: limited by the low nibble of byte 30 (1-10).
    int limit = b[30] & 0x0F;
    if (limit == 0 || limit > 10) {
        limit = 10;
        SetLowNibble(b[30], limit);
    }
    int count = b[17] & 0x0F;
    if (count == 0) {
        count = 1;
    } else if (count > limit) {
        count = limit;
    }
    store.SetItemNumber(kRedial, "AUTO_REDIAL_NUMBER_OF_TIME", count);

    // Redial wait: minimum from bits 4-6 of byte 30, in minutes.
    int minimum = (b[30] >> 4) & 0x07;
    if (minimum < 1 || minimum > 5) {
        minimum = 2;
        b[30] = static_cast<std::uint8_t>((b[30] & ~0x70) | (minimum << 4));
    }
    int wait = b[23] & 0x7F;
    if (wait < minimum) {
        wait = minimum;
    } else if (wait > 99) {
        wait = 99;
    }
    store.SetItemNumber(kRedial, "AUTO_REDIAL_WAIT_TIME", wait);

    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_CALL_TRANSFER", Bit(b[44], 4));
    int transferNumber = b[44] & 0x0F;
    if (transferNumber > 9) {
        transferNumber = 9;
        SetLowNibble(b[44], transferNumber);
    }
    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_CALL_TRANSFER_NUM", transferNumber);
    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_RX_PRINT", Bit(b[45], 3));
    store.SetItemNumber(kFaxTx, "FAX_TX_OPE_DEFAULT_TX", Bit(b[45], 2));
    store.SetItemNumber(kFaxTx, "FAX_TX_OPE_HEADER", Bit(b[45], 1));
    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_RX_MODE", Bit(b[46], 5));
    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_FOOTER", Bit(b[46], 4));

    store.SetItemNumber(kReport, "REPORTING_ACTIVITY_REPORT", Bit(b[47], 7));
    store.SetItemNumber(kReport, "REPORTING_TX_RESULT_REPORT", TwoBitChoice(b[47], 5, 0));
    store.SetItemNumber(kReport, "REPORTING_RX_RESULT_REPORT", TwoBitChoice(b[47], 3, 0));

    // Rings: at least one, at most the bound in byte 60. A zero count becomes one even when the
    // bound is zero, since the device never answers on zero rings.
    const int bound = b[60] & 0x0F;
    int rings = b[48] & 0x0F;
    if (rings == 0) {
        rings = 1;
    } else if (rings > bound) {
        rings = bound;
    }
    if (rings != (b[48] & 0x0F)) {
        SetLowNibble(b[48], rings);
    }
    store.SetItemNumber(kFaxRx, "FAX_RX_OPE_NUM_OF_RINGS", rings);

    store.SetItemNumber(kUser, "USER_DATE_FORMAT_SET", TwoBitChoice(b[53], 5, 1));

    int zone = b[58] & 0x3F;
    if (!((zone >= 0 && zone <= 24) || (zone >= 33 && zone <= 56))) {
        zone = 0;
        b[58] = static_cast<std::uint8_t>(b[58] & ~0x3F);
    }
    store.SetItemNumber(kUser, "USER_TIME_ZOON", zone);

    store.SetItemNumber(kComm, "COMM_SET_TEL_FAXMODE", Bit(b[63], 7));
    store.SetItemNumber(kComm, "COMM_SET_ANSWER_MACHINE", Bit(b[63], 6));
    store.SetItemNumber(kComm, "COMM_SET_RBT_SIGNAL_TIME", b[63] & 0x0F);
    return dialMode;
}

} // namespace qzb
