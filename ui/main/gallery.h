#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CQZBDlg;
struct CAppContext;

enum class GalleryShotKind { Window, DialList, Page, SettingDialog, EntryEditor };

// One picture of the gallery: the name it is saved under and what is shown for it.
struct CGalleryShot
{
    std::string name; // a page or dialog name, a dial list name, MAIN_WINDOW or <list>_EDITOR
    GalleryShotKind kind = GalleryShotKind::Window;
    std::string list; // the dial list an editor opens from
};

// What one mode's tree reaches, in the order grabbed: the bare window, the address-book lists and
// their editors, the pages, then the setting dialogs of the pages in the tree.
std::vector<CGalleryShot> GalleryShots(std::uint32_t modelBit, bool serviceMan);

// The picture's file name: NAME.png, with characters that file systems dislike replaced.
std::string GalleryFileName(std::string_view name);

// Saves the window as shown once the pending layouts ran, with a dialog it opened drawn over it.
bool SaveWindowPicture(CQZBDlg& window, const std::filesystem::path& file);

// Saves folder/normal/NAME.png for every shot of normal mode, then enters service-man mode with the
// password and saves folder/service/NAME.png. Each failure is named on stderr. Returns the exit
// status: 0, or 2 when some picture could not be made.
int GrabAll(CQZBDlg& window, CAppContext& context, std::u16string_view password, const std::filesystem::path& folder);

} // namespace qzb
