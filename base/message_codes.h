#pragma once

#include <cstdint>

namespace qzb {

// Result codes of the whole system: 0 is success, 0x8001xxxx connection results, 0x8002xxxx input and
// file errors, 0x8003xxxx questions and notices. A function that can fail returns one of these.
using MessageCode = std::uint32_t;

inline constexpr MessageCode kOk = 0;

inline constexpr MessageCode kMsgConnectCut = 0x80010001;
inline constexpr MessageCode kMsgConnectionErr = 0x80010002;
inline constexpr MessageCode kMsgMachineOperating = 0x80010003;
inline constexpr MessageCode kMsgTimeOut = 0x80010004;
inline constexpr MessageCode kMsgMachineProblem = 0x80010005;
inline constexpr MessageCode kMsgConnectUsb = 0x80010006;
// The failure has already been shown to the user; callers must not report it again.
inline constexpr MessageCode kMsgAlreadyReported = 0x80010007;

inline constexpr MessageCode kMsgListNotSelectedErr = 0x80020001;
inline constexpr MessageCode kMsgNoDataList = 0x80020002;
inline constexpr MessageCode kMsgGroupNameErr = 0x80020003;
inline constexpr MessageCode kMsgEmailAddressErr = 0x80020010;
inline constexpr MessageCode kMsgFtpServerAddressErr = 0x80020011;
inline constexpr MessageCode kMsgSmbAddressErr = 0x80020012;
inline constexpr MessageCode kMsgEmailAddressLeastOneErr = 0x80020013;
inline constexpr MessageCode kMsgSmbUserNameInvalidErr = 0x80020014;
inline constexpr MessageCode kMsgSmbPasswordInvalidErr = 0x80020015;
inline constexpr MessageCode kMsgSdRetypePasswordErr = 0x80020016;
inline constexpr MessageCode kMsgGroupOver50Err = 0x80020017;
inline constexpr MessageCode kMsgNumberErr = 0x80020018;
inline constexpr MessageCode kMsgGroupNotAddErr = 0x80020019;
inline constexpr MessageCode kMsgGroupEmailRegistErr = 0x8002001A;
inline constexpr MessageCode kMsgGroupFaxRegistErr = 0x8002001B;
inline constexpr MessageCode kMsgOpenFileError = 0x80020030;
inline constexpr MessageCode kMsgWriteFileError = 0x80020031;
inline constexpr MessageCode kMsgReadFileError = 0x80020032;
inline constexpr MessageCode kMsgInvalidFormatFileErr = 0x80020033;
// A machine image whose entries do not exactly fill it. No catalogue text: a DAT open shows it as
// an invalid settings file, a download as a connection error.
inline constexpr MessageCode kMsgMalformedImage = 0x80020034;
inline constexpr MessageCode kMsgSmPasswordErr = 0x80020040;
inline constexpr MessageCode kMsgCurrentPasswordErr = 0x80020041;
inline constexpr MessageCode kMsgNewPasswordErr = 0x80020042;
inline constexpr MessageCode kMsgRetypePasswordErr = 0x80020043;
inline constexpr MessageCode kMsgServicemanOpenFileError = 0x80020044;
inline constexpr MessageCode kMsgInvalidFormatOpenFileErr = 0x80020045;
inline constexpr MessageCode kMsgInvalidPttUploadErr = 0x80020046;
// The service-man password was changed but could not be written to the preferences.
inline constexpr MessageCode kMsgSmPasswordSaveErr = 0x80020047;
// The read buffer of a settings file could not be had. No catalogue text.
inline constexpr MessageCode kMsgNoReadBuffer = 0x80020020;
inline constexpr MessageCode kMsgMemoryRxTimeEdtErr = 0x80020103;
inline constexpr MessageCode kMsgMemoryRxPasswordErr = 0x80020104;
inline constexpr MessageCode kMsgIpAddressInvalidErr = 0x80020105;
inline constexpr MessageCode kMsgGatewayInvalidErr = 0x80020106;
inline constexpr MessageCode kMsgHostNameInvalidErr = 0x80020107;
inline constexpr MessageCode kMsgDomainNameInvalidErr = 0x80020108;
inline constexpr MessageCode kMsgDnsServerInvalidErr = 0x80020109;
inline constexpr MessageCode kMsgBonjourNameInvalidErr = 0x80020110;
inline constexpr MessageCode kMsgLdapServerNameInvalidErr = 0x80020111;
inline constexpr MessageCode kMsgProxyServerInvalidErr = 0x80020112;
inline constexpr MessageCode kMsgForwardPhoneInvalidErr = 0x80020113;
inline constexpr MessageCode kMsgMachineEmailAddressErr = 0x80020114;
inline constexpr MessageCode kMsgSendUserNameInvalidErr = 0x80020115;
inline constexpr MessageCode kMsgDefSubInvalidErr = 0x80020116;
inline constexpr MessageCode kMsgSmtpServerAddInvalidErr = 0x80020117;
inline constexpr MessageCode kMsgPop3ServerAddInvalidErr = 0x80020118;
inline constexpr MessageCode kMsgPop3AccountInvalidErr = 0x80020119;
inline constexpr MessageCode kMsgPop3PasswordInvalidErr = 0x80020120;
inline constexpr MessageCode kMsgSmtpUserNameInvalidErr = 0x80020121;
inline constexpr MessageCode kMsgSmtpPasswordInvalidErr = 0x80020122;
inline constexpr MessageCode kMsgLdapAccountInvalidErr = 0x80020123;
inline constexpr MessageCode kMsgLdapPasswordInvalidErr = 0x80020124;
inline constexpr MessageCode kMsgSubnetMaskInvalidErr = 0x80020125;
inline constexpr MessageCode kMsgBatchTimeErr = 0x80020126;

inline constexpr MessageCode kMsgUseMachineData = 0x80030001;
inline constexpr MessageCode kMsgUsePcData = 0x80030002;
inline constexpr MessageCode kMsgTerminationSave = 0x80030004;
inline constexpr MessageCode kMsgTerminationUpdate = 0x80030005;
inline constexpr MessageCode kMsgUseFileData = 0x80030006;
inline constexpr MessageCode kMsgInvalidRangeValue = 0x80030007;
inline constexpr MessageCode kMsgInvalidRangeValueThisLang = 0x80030008;
inline constexpr MessageCode kMsgNotRegistSpeedGroupDial = 0x80030009;
inline constexpr MessageCode kMsgFullRegistDial = 0x8003000A;
inline constexpr MessageCode kMsgOpenUseFileData = 0x8003000B;
inline constexpr MessageCode kMsgPrintingStart = 0x8003000C;
// Notices of this utility beyond the device's own catalogue; each takes a path as insert.
inline constexpr MessageCode kMsgBackupNotWritten = 0x80040001;
inline constexpr MessageCode kMsgHelpFileMissing = 0x80040002;
// Another program held the settings file being changed for longer than a writer waits.
inline constexpr MessageCode kMsgFileInUse = 0x80040003;
// Refusals that name the limit they enforce, with the value as typed.
inline constexpr MessageCode kMsgValueMissing = 0x80040010; // the range
inline constexpr MessageCode kMsgValueOutOfRange = 0x80040011; // the range, then the value
inline constexpr MessageCode kMsgNewPasswordTooShort = 0x80040012; // the least length
// Restore Backup outside service-man mode: the directory in the window is replaced.
inline constexpr MessageCode kMsgRestoreDirectory = 0x80040013;
// A contacts export of a book without fax or e-mail speed dials: nothing is written.
inline constexpr MessageCode kMsgVcfNothingToExport = 0x80040020;

} // namespace qzb
