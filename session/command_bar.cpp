#include "session/command_bar.h"

#include "pages/command_states.h"

namespace qzb {

namespace {

// Commands the utility carries out; the system commands of the original toolbar stay out.
bool Implemented(std::uint32_t command)
{
    switch (command) {
        case kCmdConnect:
        case kCmdDisconnect:
        case kCmdUpload:
        case kCmdDownload:
        case kCmdExit:
        case kCmdHelpTopics:
        case kCmdChangePassword:
        case kCmdOpen:
        case kCmdSave:
        case kCmdSaveAs:
        case kCmdDialImport:
        case kCmdDialExport:
        case kCmdPrint:
        case kCmdContactsImport:
        case kCmdContactsExport:
        case kCmdRestoreBackup:
        case kCmdToolbarOpen:
        case kCmdToolbarSave:
        case kCmdSeparator:
            return true;
        default:
            return false;
    }
}

CCommandRowState RowState(std::uint32_t command, CommandState state, bool busy)
{
    const bool visible = state != CommandState::Hidden && Implemented(command);
    return {command, visible, visible && state == CommandState::Enabled && !busy};
}

// A menu's separator shows only where a row of the group before it does.
void HideLoneMenuSeparators(std::vector<CCommandRowState>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].command != kCmdSeparator) {
            continue;
        }
        bool groupShown = false;
        for (std::size_t j = i; j-- > 0 && rows[j].command != kCmdSeparator;) {
            groupShown = groupShown || rows[j].visible;
        }
        rows[i].visible = rows[i].visible && groupShown;
    }
}

} // namespace

std::vector<CCommandRowState> ToolbarRowStates(std::uint32_t windowState, bool busy)
{
    const auto buttons = ToolbarButtons();
    std::vector<CCommandRowState> rows;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        rows.push_back(RowState(buttons[i].command, ToolbarState(i, windowState), busy));
    }
    // A separator goes with the group after it.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].command != kCmdSeparator) {
            continue;
        }
        bool groupShown = false;
        for (std::size_t j = i + 1; j < rows.size() && rows[j].command != kCmdSeparator; ++j) {
            groupShown = groupShown || rows[j].visible;
        }
        rows[i].visible = rows[i].visible && groupShown;
    }
    return rows;
}

std::vector<CCommandRowState> FileMenuRowStates(std::uint32_t windowState, bool busy)
{
    const auto menu = FileMenuRows();
    std::vector<CCommandRowState> rows;
    for (const CMenuRow& row : menu) {
        rows.push_back(RowState(row.command, MenuRowState(row, windowState), busy));
    }
    HideLoneMenuSeparators(rows);
    return rows;
}

std::vector<CCommandRowState> DeviceMenuRowStates(std::uint32_t windowState, bool busy)
{
    std::vector<CCommandRowState> rows;
    for (const CDeviceMenuRow& row : DeviceMenuRows()) {
        rows.push_back(RowState(row.command, DeviceMenuRowState(row, windowState), busy));
    }
    HideLoneMenuSeparators(rows);
    // The password change ends the menu: its separator goes with it outside service-man mode.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].command != kCmdSeparator) {
            continue;
        }
        bool nextShown = false;
        for (std::size_t j = i + 1; j < rows.size() && rows[j].command != kCmdSeparator; ++j) {
            nextShown = nextShown || rows[j].visible;
        }
        rows[i].visible = rows[i].visible && nextShown;
    }
    return rows;
}

} // namespace qzb
