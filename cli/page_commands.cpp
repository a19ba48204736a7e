#include "cli/page_commands.h"

#include "cli/cli_app.h"
#include "cli/qzbctl.h"
#include "model/text_codec.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"

#include <cstdio>

namespace qzb {

namespace {

using Json = nlohmann::ordered_json;

CPageEnv EnvOf(CCliApp& app)
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

} // namespace

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
    CPage page(def, EnvOf(app));
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

CPageSetResult ApplyPageAssignments(CCliApp& app, const CPageDef& def, const std::vector<std::string>& assignments)
{
    CPage page(def, EnvOf(app));
    page.Initialise();
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            return {kExitUsage, "expected ID=VALUE, not " + assignment};
        }
        const std::string name = assignment.substr(0, equals);
        const CControlDef* control = FindByIdOrName(page, name);
        if (control == nullptr) {
            return {kExitUsage, "page " + std::string(def.name) + " has no control " + name};
        }
        const InputRefusal refusal = ApplyControlInput(page, *control, Utf8ToUtf16(assignment.substr(equals + 1)));
        if (refusal != InputRefusal::None) {
            return {kExitUsage,
                    "control " + std::to_string(control->id) + " (" + std::string(control->name) + ") " +
                        RefusalText(refusal)};
        }
    }
    const CCheckResult result = page.Store();
    if (!result.Ok()) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", result.code);
        // An address control also names the field to correct: 0-3, or 4 for the first empty one.
        const std::string field = result.field >= 0 ? ", field " + std::to_string(result.field) : std::string();
        return {kExitFailed,
                std::string("error ") + hex + ": " + app.MessageText(result.code) + " (control " +
                    std::to_string(result.controlId) + field + ")"};
    }
    return {};
}

} // namespace qzb
