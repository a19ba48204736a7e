#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

// Commands of the main window, by their command ids.
inline constexpr std::uint32_t kCmdConnect = 0x800B;
inline constexpr std::uint32_t kCmdDisconnect = 0x800C;
inline constexpr std::uint32_t kCmdUpload = 0x800E;
inline constexpr std::uint32_t kCmdDownload = 0x800F;
inline constexpr std::uint32_t kCmdToolbarOpen = 0x8011;
inline constexpr std::uint32_t kCmdToolbarSave = 0x8012;
inline constexpr std::uint32_t kCmdChangePassword = 0x8014;
inline constexpr std::uint32_t kCmdOpen = 0x8015;
inline constexpr std::uint32_t kCmdSave = 0x8017;
inline constexpr std::uint32_t kCmdSaveAs = 0x8018;
inline constexpr std::uint32_t kCmdDialImport = 0x8019;
inline constexpr std::uint32_t kCmdDialExport = 0x801A;
inline constexpr std::uint32_t kCmdPrint = 0x801B;
inline constexpr std::uint32_t kCmdExit = 0x801C;
inline constexpr std::uint32_t kCmdHelpTopics = 0x801D;
// Commands of this utility beyond the device's own menu.
inline constexpr std::uint32_t kCmdContactsImport = 0x8030;
inline constexpr std::uint32_t kCmdContactsExport = 0x8031;
inline constexpr std::uint32_t kCmdRestoreBackup = 0x8032;
inline constexpr std::uint32_t kCmdSeparator = 0;

enum class CommandState : std::uint8_t { Enabled, Disabled, Hidden };

// A toolbar button (or a separator, command 0) in toolbar order.
struct CToolbarButton
{
    std::uint32_t command;
    std::string_view textKey;
};

std::span<const CToolbarButton> ToolbarButtons();
// A button's state in the window state; a separator is hidden when every button of the group after
// it is hidden.
CommandState ToolbarState(std::size_t index, std::uint32_t windowState);

// A row of the File or Help menu: greyed unless the state has a bit of enableMask (0: always on);
// service-only rows exist only in service-man mode.
struct CMenuRow
{
    std::string_view textKey; // empty for a separator
    std::uint32_t command;
    std::uint32_t enableMask;
    bool serviceOnly;
};

std::span<const CMenuRow> FileMenuRows();
std::span<const CMenuRow> HelpMenuRows();
CommandState MenuRowState(const CMenuRow& row, std::uint32_t windowState);

// A row of the Device menu (command 0: a separator): the toolbar's device commands and the password
// change, so that the keyboard reaches each of them. A row is drawn in the state of its toolbar
// button.
struct CDeviceMenuRow
{
    std::string_view textKey; // empty for a separator
    std::uint32_t command;
};

std::span<const CDeviceMenuRow> DeviceMenuRows();
CommandState DeviceMenuRowState(const CDeviceMenuRow& row, std::uint32_t windowState);
// The menu command that does what a toolbar button does: the toolbar's Open and Save are the File
// menu's, every other button's command is its menu row's own.
std::uint32_t MenuCommandOfToolbarButton(std::uint32_t command);

} // namespace qzb
