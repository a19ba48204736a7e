#include "pages/command_states.h"

#include "pages/navigation.h"

#include <iterator>

namespace qzb {

namespace {

constexpr CToolbarButton kToolbar[] = {
    {kCmdConnect, "STR_TB_CONNECT"},
    {kCmdDisconnect, "STR_TB_DISCONNECT"},
    {kCmdSeparator, {}},
    {kCmdUpload, "STR_TB_UPLOAD"},
    {kCmdDownload, "STR_TB_DOWNLOAD"},
    {kCmdSeparator, {}},
    {kCmdToolbarOpen, "STR_TB_SM_OPEN"},
    {kCmdToolbarSave, "STR_TB_SM_SAVE"},
    {kCmdSeparator, {}},
    {kCmdChangePassword, "STR_TB_SM_SYSTEM"},
};

constexpr CMenuRow kFileMenu[] = {
    {"STR_MENU_SM_OPEN", kCmdOpen, 0, true},
    {"STR_MENU_SM_SAVE", kCmdSave, kStateDataPresent, true},
    {"STR_MENU_SM_SAVE_AS", kCmdSaveAs, kStateDataPresent, true},
    {{}, kCmdSeparator, 0, true},
    {"STR_MENU_DIAL_IMPORT", kCmdDialImport, 0, false},
    {"STR_MENU_DIAL_EXPORT", kCmdDialExport, kStateDataPresent, false},
    {"STR_MENU_CONTACTS_IMPORT", kCmdContactsImport, 0, false},
    {"STR_MENU_CONTACTS_EXPORT", kCmdContactsExport, kStateDataPresent, false},
    {{}, kCmdSeparator, 0, false},
    {"STR_MENU_RESTORE_BACKUP", kCmdRestoreBackup, 0, false},
    {{}, kCmdSeparator, 0, false},
    {"STR_MENU_PRINT", kCmdPrint, kStateDataPresent, false},
    {{}, kCmdSeparator, 0, false},
    {"STR_MENU_EXIT", kCmdExit, 0, false},
};

constexpr CDeviceMenuRow kDeviceMenu[] = {
    {"STR_MENU_CONNECT", kCmdConnect},
    {"STR_MENU_DISCONNECT", kCmdDisconnect},
    {{}, kCmdSeparator},
    {"STR_MENU_UPLOAD", kCmdUpload},
    {"STR_MENU_DOWNLOAD", kCmdDownload},
    {{}, kCmdSeparator},
    {"STR_MENU_SM_CHANGE_PASSWORD", kCmdChangePassword},
};

constexpr CMenuRow kHelpMenu[] = {
    {"STR_MENU_HELP_TOPICS", kCmdHelpTopics, 0, false},
};

CommandState ButtonState(std::uint32_t command, std::uint32_t state)
{
    const bool online = (state & kStateOnline) != 0;
    const bool data = (state & kStateDataPresent) != 0;
    const bool serviceMan = (state & kStateServiceMan) != 0;
    auto enabledIf = [](bool on) { return on ? CommandState::Enabled : CommandState::Disabled; };
    switch (command) {
        case kCmdConnect:
            return enabledIf(!online);
        case kCmdDisconnect:
        case kCmdDownload:
            return enabledIf(online);
        case kCmdUpload:
            return enabledIf(online && data);
        case kCmdToolbarOpen:
        case kCmdChangePassword:
            return serviceMan ? CommandState::Enabled : CommandState::Hidden;
        case kCmdToolbarSave:
            return serviceMan ? enabledIf(data) : CommandState::Hidden;
        default:
            return CommandState::Enabled;
    }
}

} // namespace

std::span<const CToolbarButton> ToolbarButtons()
{
    return kToolbar;
}

CommandState ToolbarState(std::size_t index, std::uint32_t windowState)
{
    if (kToolbar[index].command != kCmdSeparator) {
        return ButtonState(kToolbar[index].command, windowState);
    }
    for (std::size_t next = index + 1; next < std::size(kToolbar) && kToolbar[next].command != kCmdSeparator; ++next) {
        if (ButtonState(kToolbar[next].command, windowState) != CommandState::Hidden) {
            return CommandState::Enabled;
        }
    }
    return CommandState::Hidden;
}

std::span<const CMenuRow> FileMenuRows()
{
    return kFileMenu;
}

std::span<const CMenuRow> HelpMenuRows()
{
    return kHelpMenu;
}

std::span<const CDeviceMenuRow> DeviceMenuRows()
{
    return kDeviceMenu;
}

CommandState DeviceMenuRowState(const CDeviceMenuRow& row, std::uint32_t windowState)
{
    // A separator is drawn as far as a row of its group is; the command bar decides that.
    return row.command == kCmdSeparator ? CommandState::Enabled : ButtonState(row.command, windowState);
}

std::uint32_t MenuCommandOfToolbarButton(std::uint32_t command)
{
    switch (command) {
        case kCmdToolbarOpen:
            return kCmdOpen;
        case kCmdToolbarSave:
            return kCmdSave;
        default:
            return command;
    }
}

CommandState MenuRowState(const CMenuRow& row, std::uint32_t windowState)
{
    if (row.serviceOnly && (windowState & kStateServiceMan) == 0) {
        return CommandState::Hidden;
    }
    if (row.enableMask != 0 && (windowState & row.enableMask) == 0) {
        return CommandState::Disabled;
    }
    return CommandState::Enabled;
}

} // namespace qzb
