#include "ui/main/gallery.h"

#include "app/app_context.h"
#include "pages/dial_commands.h"
#include "pages/dial_registration.h"
#include "pages/navigation.h"
#include "pages/page_registry.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_dlg.h"

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <set>
#include <system_error>

namespace qzb {

namespace {

// The editor a user reaches from a list: a new entry in the first free slot, the first group's name.
CDialCommand EditorCommand(const CDialList& list, const CAddressBook& book)
{
    if (list.editor == DialEditor::GroupName) {
        return {kOk, DialEditor::GroupName, 1};
    }
    return DialNewRegistration(list.node, book);
}

bool GrabShot(CQZBDlg& window, CAppContext& context, const CGalleryShot& shot, const std::filesystem::path& file)
{
    auto fail = [&file](const char* why) {
        std::fprintf(stderr, "qzb: --grab-all: %s: %s\n", file.c_str(), why);
        return false;
    };
    // Resets the code of the last message, so that a message this shot shows counts against it.
    CQtMessagePresenter::SetUnattended(true);
    bool shown = false;
    switch (shot.kind) {
        case GalleryShotKind::Window:
            window.Tree()->setCurrentItem(nullptr);
            shown = window.Tree()->currentItem() == nullptr;
            break;
        case GalleryShotKind::DialList:
        case GalleryShotKind::Page:
        case GalleryShotKind::SettingDialog:
            shown = window.SelectPage(shot.name);
            break;
        case GalleryShotKind::EntryEditor:
            if (const CDialList* list = FindDialList(shot.list); list != nullptr && window.SelectPage(list->name)) {
                const CDialCommand command = EditorCommand(*list, context.device.book);
                // A favourite needs a speed dial or group to point to: with an empty book the list
                // refuses, as it would refuse the user.
                if (command.code != kOk) {
                    std::fprintf(stderr, "qzb: --grab-all: %s: left out: the list takes no entry now\n", file.c_str());
                    return true;
                }
                shown = window.ShowEntryEditor(command);
            }
            break;
    }
    if (!shown) {
        return fail("the window could not show it");
    }
    const bool saved = SaveWindowPicture(window, file);
    window.CloseShownDialog();
    QApplication::processEvents();
    if (!saved) {
        return fail("the picture could not be written");
    }
    if (const MessageCode code = CQtMessagePresenter::LastUnattendedCode(); code != kOk) {
        char text[64];
        std::snprintf(text, sizeof text, "a message (0x%08X) was shown", code);
        return fail(text);
    }
    return true;
}

} // namespace

std::vector<CGalleryShot> GalleryShots(std::uint32_t modelBit, bool serviceMan)
{
    std::set<std::uint32_t> inTree;
    for (const CTreeNode& node : BuildNavigationTree(modelBit, serviceMan)) {
        inTree.insert(node.node->typeCode);
    }
    std::vector<CGalleryShot> shots{{"MAIN_WINDOW", GalleryShotKind::Window, {}}};
    for (const CDialList& list : kDialLists) {
        if (inTree.contains(list.node)) {
            shots.push_back({std::string(list.name), GalleryShotKind::DialList, {}});
            shots.push_back({std::string(list.name) + "_EDITOR", GalleryShotKind::EntryEditor, std::string(list.name)});
        }
    }
    const std::vector<const CPageDef*> defs = PageDefsForModel(modelBit);
    for (const CPageDef* def : defs) {
        if (def->pageClass != PageClass::SettingDialog && def->typeCode != 0 && inTree.contains(def->typeCode)) {
            shots.push_back({std::string(def->name), GalleryShotKind::Page, {}});
        }
    }
    // A dialog is reached through a control of the model, on a page of the tree, that opens it.
    for (const CPageDef* dialog : defs) {
        if (dialog->pageClass != PageClass::SettingDialog) {
            continue;
        }
        const bool reached = std::any_of(defs.begin(), defs.end(), [&](const CPageDef* page) {
            return page->pageClass != PageClass::SettingDialog && inTree.contains(page->typeCode) &&
                   std::any_of(page->controls.begin(), page->controls.end(), [&](const CControlDef& control) {
                       return control.opensDialog == dialog->name && (control.modelMask & modelBit) != 0;
                   });
        });
        if (reached) {
            shots.push_back({std::string(dialog->name), GalleryShotKind::SettingDialog, {}});
        }
    }
    return shots;
}

std::string GalleryFileName(std::string_view name)
{
    std::string file(name);
    std::replace_if(
        file.begin(), file.end(), [](char c) { return c == ':' || c == '/' || c == '\\'; }, '-');
    return file + ".png";
}

bool SaveWindowPicture(CQZBDlg& window, const std::filesystem::path& file)
{
    // Once the pending layouts ran and the window has painted, the picture is what a user sees.
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
    const QPixmap picture = window.Picture();
    return !picture.isNull() && picture.save(QString::fromStdString(file.string()), "PNG");
}

int GrabAll(CQZBDlg& window, CAppContext& context, std::u16string_view password, const std::filesystem::path& folder)
{
    bool failed = false;
    window.SetLookOnly(true);
    for (const bool serviceMan : {false, true}) {
        const std::filesystem::path modeFolder = folder / (serviceMan ? "service" : "normal");
        std::error_code error;
        std::filesystem::create_directories(modeFolder, error);
        if (error) {
            std::fprintf(
                stderr, "qzb: --grab-all: cannot create %s: %s\n", modeFolder.c_str(), error.message().c_str());
            failed = true;
            break;
        }
        if (serviceMan && !window.EnterServiceMan(password)) {
            std::fprintf(stderr, "qzb: --grab-all: the password is not the service-man password\n");
            failed = true;
            break;
        }
        for (const CGalleryShot& shot : GalleryShots(context.modelBit, serviceMan)) {
            failed = !GrabShot(window, context, shot, modeFolder / GalleryFileName(shot.name)) || failed;
        }
    }
    window.SetLookOnly(false);
    CQtMessagePresenter::SetUnattended(false);
    return failed ? 2 : 0;
}

} // namespace qzb
