#include "cli/page_commands.h"

#include "base/file_lock.h"
#include "cli/cli_app.h"
#include "cli/qzbctl.h"
#include "cli/store_commands.h"
#include "files/dat_file.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "machine/setting_check.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

namespace qzb {

namespace {

using Json = nlohmann::ordered_json;

CPageEnv PageEnvOf(CCliApp& app)
{
    CAppContext& context = app.Context();
    return {&context.store, &context.strings, context.modelBit, &context.device};
}

Json ValueJson(const CPage& page, const CControlDef& control)
{
    const std::u16string text = ControlValueText(page, control);
    switch (control.kind) {
        case ControlKind::Combo:
        case ControlKind::Check:
        case ControlKind::Radio:
        case ControlKind::Slider:
            return page.State(control.id).value;
        default:
            return Utf16ToUtf8(text);
    }
}

std::string RefusalText(InputRefusal refusal)
{
    switch (refusal) {
        case InputRefusal::None:
            return {};
        case InputRefusal::Hidden:
            return "is hidden on this model";
        case InputRefusal::Disabled:
            return "is disabled";
        case InputRefusal::NotEditable:
            return "takes no value";
        case InputRefusal::NotInList:
            return "has no such choice";
        case InputRefusal::NotNumber:
            return "takes a whole number";
        case InputRefusal::OutOfRange:
            return "takes no value out of its range";
        case InputRefusal::TooLong:
            return "takes no text that long";
        case InputRefusal::CharacterRefused:
            return "does not take a character of that text";
        case InputRefusal::NotAddress:
            return "takes an address a.b.c.d";
        case InputRefusal::NeverTravels:
            return "is set on the device's own panel or web page: neither an upload nor a settings file carries it";
    }
    return {};
}

const CControlDef* FindByIdOrName(const CPage& page, const std::string& name)
{
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos && name.size() < 10) {
        return page.FindControl(static_cast<std::int32_t>(std::stol(name)));
    }
    return page.FindControl(std::string_view(name));
}

std::string PageNames(std::uint32_t modelBit)
{
    std::string names;
    for (const CPageDef* def : PageDefsForModel(modelBit)) {
        names += names.empty() ? "" : ", ";
        names += def->name;
    }
    return names;
}

// Whether the page shows the same once its store has gone through a settings file and back. Some
// values travel together in one field and come back in another form of the same state (a memory
// reception window switched off comes back as -1, 0, 0, 0 whatever its other times held).
bool PageComesBack(const CAppContext& context, const CPageDef& def)
{
    CDeviceData device = context.device;
    CValueStore store = context.store;
    CEncodeOptions options;
    options.mode = EncodeMode::File;
    const std::vector<std::uint8_t> image = EncodeMachineImage(device, store, options);
    CDeviceData rereadDevice = context.device;
    CValueStore reread = context.store;
    if (DecodeMachineImage(rereadDevice, reread, image) != kOk) {
        return false;
    }
    CPage now(def, {&store, &context.strings, context.modelBit, &device});
    now.Initialise();
    CPage again(def, {&reread, &context.strings, context.modelBit, &rereadDevice});
    again.Initialise();
    for (std::size_t i = 0; i < def.controls.size(); ++i) {
        const CControlDef& control = def.controls[i];
        const CControlState& shown = now.StateAt(i);
        if (control.binding == Binding::None || control.readOnly || !shown.visible) {
            continue;
        }
        const CControlState& back = again.StateAt(i);
        if (shown.text != back.text || shown.value != back.value || shown.octets != back.octets) {
            return false;
        }
    }
    return true;
}

// A value the page stored that a DAT file would not give back: the first such control, with why.
std::optional<std::string> UnkeptValue(const CAppContext& context, const CValueStore& before, const CPageDef& def)
{
    std::optional<bool> comesBack;
    const std::string_view defaultPage = def.storePage.empty() ? def.name : def.storePage;
    for (const CControlDef& control : def.controls) {
        if (control.binding == Binding::None || control.readOnly) {
            continue;
        }
        const std::string_view page = control.itemPage.empty() ? defaultPage : control.itemPage;
        std::vector<std::string> keys{std::string(control.item)};
        if (IsAddressBinding(control.binding)) {
            keys.clear();
            for (char field = '1'; field <= '4'; ++field) {
                keys.push_back(std::string(control.item) + '_' + field);
            }
        }
        for (const std::string& key : keys) {
            const CRecordRef ref = context.store.FindRecord(page, key);
            if (context.store.Number(ref) == before.Number(ref) && context.store.RawText(ref) == before.RawText(ref)) {
                continue;
            }
            const bool number = control.binding != Binding::Text && control.binding != Binding::PanelText;
            const std::u16string text = control.binding == Binding::PanelText
                                            ? PanelBytesToText(context.store.GetItemTextRaw(page, key), context.store)
                                            : context.store.GetItemText(page, key);
            const CSettingCheck check =
                number ? CheckSettingNumber(context.device, context.store, page, key, context.store.Number(ref))
                       : CheckSettingText(context.device, context.store, page, key, text);
            if (check.refusal == SettingRefusal::OutOfRange || check.refusal == SettingRefusal::NotKept) {
                if (!comesBack) {
                    comesBack = PageComesBack(context, def);
                }
                if (*comesBack) {
                    continue;
                }
            }
            if (check.refusal != SettingRefusal::None) {
                return "control " + std::to_string(control.id) + " (" + std::string(control.name) +
                       "): " + SettingRefusalText(check, page, key, number);
            }
        }
    }
    return std::nullopt;
}

} // namespace

void CPageCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("page", "Settings pages as the window shows them: list, show, set");
    m_command->require_subcommand(1);
    m_list = m_command->add_subcommand("list", "List the pages and setting dialogs of the model as JSON");
    m_show = m_command->add_subcommand("show", "Print a page as it shows after loading a DAT file, as JSON");
    m_show->add_option("FILE", m_file, "The DAT file")->required();
    m_show->add_option("PAGE", m_page, "Page name, such as MACHINE_SET_DLG")->required();
    m_set = m_command->add_subcommand("set", "Change controls of a page as a user would, check and save");
    m_set->add_option("FILE", m_file, "The DAT file")->required();
    m_set->add_option("PAGE", m_page, "Page name, such as ADMINSTRATOR_NO_DLG")->required();
    m_set->add_option("VALUES", m_assignments, "ID=VALUE or NAME=VALUE, applied in order")->required();
}

int CPageCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    if (m_list->parsed()) {
        CCliApp app(options, options.model.value_or(QZB_DEFAULT_MODEL), err);
        out << PageListJson(app).dump(2) << '\n';
        return kExitOk;
    }
    // A page set holds the file from the read to the write: another writer's change in between
    // would be lost.
    CFileLock lock;
    const bool locked = !m_set->parsed() || lock.Acquire(m_file);
    const CDatInput input(m_file);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto failed = OpenLockedOrTell(locked, input, app, err)) {
        return *failed;
    }
    const CPageDef* def = FindPageDef(m_page);
    if (def == nullptr || (def->modelMask & context.modelBit) == 0) {
        err << "qzbctl: model " << context.modelCode << " has no page " << m_page
            << "; its pages are: " << PageNames(context.modelBit) << '\n';
        return kExitUsage;
    }
    if (m_show->parsed()) {
        out << PageShowJson(app, *def).dump(2) << '\n';
        return kExitOk;
    }
    const CValueStore before = context.store;
    const CPageSetResult result = ApplyPageAssignments(app, *def, m_assignments);
    if (result.status != kExitOk) {
        err << (result.status == kExitUsage ? "qzbctl: " : "") << result.message << '\n';
        return result.status;
    }
    if (const auto unkept = UnkeptValue(context, before, *def)) {
        err << "qzbctl: " << m_file << " left unchanged: " << *unkept << '\n';
        return kExitFailed;
    }
    return SaveDatFileOrTell(app, m_file, err) ? kExitOk : kExitFailed;
}

Json PageListJson(CCliApp& app)
{
    Json list = Json::array();
    for (const CPageDef* def : PageDefsForModel(app.Context().modelBit)) {
        const std::u16string* title = app.Context().strings.Find(def->titleKey);
        list.push_back({{"name", def->name},
                        {"typeCode", def->typeCode != 0 ? Json(def->typeCode) : Json(nullptr)},
                        {"title", title != nullptr ? Utf16ToUtf8(*title) : std::string(def->titleKey)}});
    }
    return list;
}

Json PageShowJson(CCliApp& app, const CPageDef& def)
{
    CPage page(def, PageEnvOf(app));
    page.Initialise();
    Json controls = Json::array();
    for (const CControlDef& control : page.Controls()) {
        const CControlState& state = page.State(control.id);
        std::u16string text = control.kind == ControlKind::Edit ? std::u16string() : state.text;
        Json choices = Json::array();
        for (const CChoice& choice : state.choices) {
            choices.push_back({{"text", Utf16ToUtf8(choice.text)}, {"value", choice.value}});
            if (choice.value == state.value && text.empty()) {
                text = choice.text;
            }
        }
        Json row = {{"id", control.id},
                    {"name", control.name},
                    {"kind", ControlKindName(control.kind)},
                    {"text", Utf16ToUtf8(text)},
                    {"value", ValueJson(page, control)},
                    {"enabled", state.enabled},
                    {"visible", state.visible}};
        if (control.kind == ControlKind::Combo) {
            row["choices"] = std::move(choices);
        }
        controls.push_back(std::move(row));
    }
    return {{"page", def.name}, {"controls", std::move(controls)}};
}

namespace {

std::string ErrorText(CCliApp& app, const CCheckResult& result, const std::string& where)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", result.code);
    // An address control also names the field to correct: 0-3, or 4 for the first empty one.
    const std::string field = result.field >= 0 ? ", field " + std::to_string(result.field) : std::string();
    return std::string("error ") + hex + ": " + app.MessageText(result.code, result.inserts) + " (" + where +
           "control " + std::to_string(result.controlId) + field + ")";
}

} // namespace

CPageSetResult ApplyPageAssignments(CCliApp& app, const CPageDef& def, const std::vector<std::string>& assignments)
{
    CPage page(def, PageEnvOf(app));
    page.Initialise();
    // The setting dialogs the page's choices opened, as the window opens them; DIALOG:ID=VALUE
    // fills one in, as a user types into it before OK.
    std::vector<std::unique_ptr<CPage>> dialogs;
    auto openDialog = [&](const CControlDef& control) {
        const CPageDef* dialogDef = FindPageDef(page.DialogFor(control.id));
        if (dialogDef == nullptr ||
            std::any_of(dialogs.begin(), dialogs.end(), [&](const auto& open) { return &open->Def() == dialogDef; })) {
            return;
        }
        CPageEnv env = page.Env();
        env.opener = &page;
        dialogs.push_back(std::make_unique<CPage>(*dialogDef, env));
        dialogs.back()->Initialise();
    };
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            return {kExitUsage, "expected ID=VALUE, not " + assignment};
        }
        std::string name = assignment.substr(0, equals);
        CPage* target = &page;
        if (const std::size_t colon = name.find(':'); colon != std::string::npos) {
            const std::string dialogName = name.substr(0, colon);
            const auto open = std::find_if(
                dialogs.begin(), dialogs.end(), [&](const auto& dialog) { return dialog->Def().name == dialogName; });
            if (open == dialogs.end()) {
                return {kExitUsage,
                        dialogName + " is not open: set the control of " + std::string(def.name) +
                            " that opens it first"};
            }
            target = open->get();
            name = name.substr(colon + 1);
        }
        const CControlDef* control = FindByIdOrName(*target, name);
        if (control == nullptr) {
            return {kExitUsage, "page " + std::string(target->Def().name) + " has no control " + name};
        }
        const InputRefusal refusal = ApplyControlInput(*target, *control, Utf8ToUtf16(assignment.substr(equals + 1)));
        if (refusal == InputRefusal::NeverTravels) {
            // Not a wrong command: the value would be lost, as one no settings file keeps.
            return {kExitFailed,
                    "control " + std::to_string(control->id) + " (" + std::string(control->name) + ") " +
                        RefusalText(refusal)};
        }
        if (refusal != InputRefusal::None) {
            return {kExitUsage,
                    "control " + std::to_string(control->id) + " (" + std::string(control->name) + ") " +
                        RefusalText(refusal)};
        }
        if (target == &page) {
            openDialog(*control);
        }
    }
    // Each dialog a choice opened is checked and stored on its current values, as its OK would be:
    // forwarding switched on with no destination is refused, not stored.
    for (const auto& dialog : dialogs) {
        if (const CCheckResult result = dialog->Store(); !result.Ok()) {
            return {kExitFailed, ErrorText(app, result, "dialog " + std::string(dialog->Def().name) + ", ")};
        }
    }
    const CCheckResult result = page.Store();
    if (!result.Ok()) {
        return {kExitFailed, ErrorText(app, result, "")};
    }
    return {};
}

} // namespace qzb
