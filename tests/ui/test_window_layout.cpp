#include "pages/dial_commands.h"
#include "pages/dial_registration.h"
#include "tests/support/models.h"
#include "tests/ui/layout_checks.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/change_pass_dlg.h"
#include "ui/main/gallery.h"
#include "ui/main/pass_dlg.h"
#include "ui/main/select_pri_item_dlg.h"
#include "ui/main/window_ports.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>
#include <tuple>

namespace qzb {
namespace {

using CModelLanguage = std::tuple<std::int32_t, std::string_view>;

// Checks the modal dialog open() shows once it is up, then cancels it; false when none came up.
bool ExpectModalFits(const std::function<void()>& open, const std::string& where)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            seen = true;
            QApplication::processEvents();
            ExpectControlsFit(*dialog, ShownControls(*dialog), where);
            dialog->reject();
        }
    });
    open();
    return seen;
}

// The list at the top of an editor: the kind of entry (fax or e-mail, a server's protocol), each of
// which shows fields of its own.
QComboBox* KindList(QDialog& dialog)
{
    QComboBox* top = nullptr;
    for (QComboBox* list : dialog.findChildren<QComboBox*>()) {
        if (list->isVisibleTo(&dialog) && list->isEnabled() &&
            (top == nullptr || list->mapTo(&dialog, QPoint(0, 0)).y() < top->mapTo(&dialog, QPoint(0, 0)).y())) {
            top = list;
        }
    }
    return top;
}

// The window of a model speaking a language, in service-man mode so that every page, setting
// dialog and list of the model is in its tree.
class WindowLayout : public CWindowFixture, public ::testing::WithParamInterface<CModelLanguage>
{
protected:
    WindowLayout()
        : CWindowFixture(std::get<0>(GetParam()), std::chrono::hours(1), std::get<1>(GetParam()))
    {
    }

    std::string Where(std::string_view name) const
    {
        return std::string(name) + " (" + std::to_string(context.modelCode) + ", " +
               std::string(std::get<1>(GetParam())) + ")";
    }

    // The dialog SelectPage or ShowEntryEditor opened over the window.
    QDialog* ShownDialog() const
    {
        for (QDialog* dialog : window->findChildren<QDialog*>()) {
            if (dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

    void ExpectDialogFits(std::string_view name)
    {
        QApplication::processEvents();
        QDialog* dialog = ShownDialog();
        ASSERT_NE(dialog, nullptr) << Where(name);
        ExpectControlsFit(*dialog, ShownControls(*dialog), Where(name));
        window->CloseShownDialog();
        QApplication::processEvents();
    }

    // An editor in each kind of entry it makes, and the details dialog of a fax number.
    void ExpectEditorFits(std::string_view name)
    {
        QApplication::processEvents();
        QDialog* dialog = ShownDialog();
        ASSERT_NE(dialog, nullptr) << Where(name);
        ExpectControlsFit(*dialog, ShownControls(*dialog), Where(name));
        if (QComboBox* kinds = KindList(*dialog)) {
            for (int kind = 0; kind < kinds->count(); ++kind) {
                kinds->setCurrentIndex(kind);
                emit kinds->activated(kind);
                QApplication::processEvents();
                const std::string where = Where(std::string(name) + " / " + kinds->itemText(kind).toStdString());
                ExpectControlsFit(*dialog, ShownControls(*dialog), where);
                auto* details = dialog->findChild<QPushButton*>("detailsButton");
                if (details != nullptr && details->isVisibleTo(dialog) && details->isEnabled()) {
                    EXPECT_TRUE(ExpectModalFits([details] { details->click(); }, where + " / details")) << where;
                }
            }
        }
        window->CloseShownDialog();
        QApplication::processEvents();
    }
};

// The main window, every setting dialog its pages open and the editor of every address-book list,
// at the size each opens with: no control covers another or is cut short, and every field has a
// name a screen reader says.
TEST_P(WindowLayout, EveryDialogAndEditorIsDrawnWithoutOverlapsOrCutTexts)
{
    window->show();
    window->SetLookOnly(true);
    QApplication::processEvents();
    ExpectControlsFit(*window, ShownControls(*window), Where("MAIN_WINDOW"));
    // The device's book gives a favourite a speed dial to point to.
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_TRUE(window->EnterServiceMan(kFactoryServiceManPassword));
    CQtMessagePresenter::SetUnattended(true);
    for (const CGalleryShot& shot : GalleryShots(context.modelBit, true)) {
        if (shot.kind == GalleryShotKind::SettingDialog) {
            ASSERT_TRUE(window->SelectPage(shot.name)) << Where(shot.name);
            ExpectDialogFits(shot.name);
        } else if (shot.kind == GalleryShotKind::EntryEditor) {
            const CDialList* list = FindDialList(shot.list);
            ASSERT_NE(list, nullptr) << shot.list;
            ASSERT_TRUE(window->SelectPage(list->name)) << Where(shot.name);
            const CDialCommand command = list->editor == DialEditor::GroupName
                                             ? CDialCommand{kOk, DialEditor::GroupName, 1}
                                             : DialNewRegistration(list->node, context.device.book);
            ASSERT_EQ(command.code, kOk) << Where(shot.name);
            ASSERT_TRUE(window->ShowEntryEditor(command)) << Where(shot.name);
            ExpectEditorFits(shot.name);
        }
    }
    CQtMessagePresenter::SetUnattended(false);
    window->SetLookOnly(false);
}

INSTANTIATE_TEST_SUITE_P(EveryModelAndLanguage,
                         WindowLayout,
                         ::testing::Combine(::testing::ValuesIn(kModels), ::testing::ValuesIn(UiLanguageCodes())),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) + "_" +
                                    std::string(std::get<1>(info.param));
                         });

// The window's own dialogs in a language, on one model: they are the same on every model.
class OwnDialogLayout : public CWindowFixture, public ::testing::WithParamInterface<std::string_view>
{
protected:
    OwnDialogLayout()
        : CWindowFixture(8314, std::chrono::hours(1), GetParam())
    {
    }

    void ExpectFits(QWidget& dialog, std::string_view name)
    {
        const std::string where = std::string(name) + " (" + std::string(GetParam()) + ")";
        ExpectControlsFit(dialog, ShownControls(dialog), where);
    }

    void ExpectShownFits(QDialog& dialog, std::string_view name)
    {
        dialog.show();
        QApplication::processEvents();
        ExpectFits(dialog, name);
        dialog.reject();
    }

    void ExpectOpenedFits(const std::function<void()>& open, std::string_view name)
    {
        const std::string where = std::string(name) + " (" + std::string(GetParam()) + ")";
        EXPECT_TRUE(ExpectModalFits(open, where)) << where;
    }
};

// The service-man password, Change Password, Print Lists, the upload preview and comparison, the
// reports of CSV and contacts imports, Restore Backup and Import Contacts, as each opens.
TEST_P(OwnDialogLayout, EveryDialogOfTheWindowIsDrawnWithoutOverlapsOrCutTexts)
{
    window->show();
    CPassDlg password(messenger, context.store, std::u16string(kFactoryServiceManPassword), false, window.get());
    ExpectShownFits(password, "CPassDlg");
    std::u16string servicePassword(kFactoryServiceManPassword);
    CChangePassDlg change(messenger, context.store, preferences, servicePassword, window.get());
    ExpectShownFits(change, "CChangePassDlg");
    CSelectPriItemDlg print(context, messenger, window.get());
    ExpectShownFits(print, "CSelectPriItemDlg");

    CWindowPorts ports(
        *window, context, &protocol, [] { return nullptr; }, [] {});
    const CSessionPreview preview{
        true, false, u"3 settings, 2 speed dials added", {u"Speed dial 001", u"Speed dial 002"}};
    ExpectOpenedFits([&] { ports.ConfirmUpload(preview); }, "upload preview");
    ExpectOpenedFits(
        [&] {
            ports.ConfirmUpload(CSessionPreview{false, true, {}, {}});
        },
        "upload preview, device unknown");
    ExpectOpenedFits([&] { ports.ShowComparison(preview); }, "comparison");
    const CSessionReport report{u"12 entries read", u"Notes", {u"line 3: no number"}};
    ExpectOpenedFits([&] { ports.ShowReport(report); }, "CSV report");
    const std::vector<CBackupFile> backups{{"backups/Q8313-20260314-091500.DAT", {"20260314-091500", 1}},
                                           {"backups/Q8313-20260301-170000.DAT", {"20260301-170000", 1}}};
    ExpectOpenedFits(
        [&] {
            ports.ChooseBackup(
                backups, [&](std::size_t) { return preview; }, false);
        },
        "Restore Backup");
    CContactsOptions options;
    ExpectOpenedFits(
        [&] {
            ports.ConfirmContactsImport(options, [](const CContactsOptions&) {
                return CContactsPreview{u"2 entries", {}, {u"a note"}};
            });
        },
        "Import Contacts");
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, OwnDialogLayout, ::testing::ValuesIn(UiLanguageCodes()), [](const auto& info) {
    return std::string(info.param);
});

} // namespace
} // namespace qzb
