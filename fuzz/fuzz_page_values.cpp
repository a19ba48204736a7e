// Values for the controls of a settings page as qzbctl page set gives them: any model, any page,
// any control (of the page or of a setting dialog a choice opened), any text. A refused value leaves
// every control as it was; whatever the checks let through is stored, and the store still makes a
// machine image that reads back.
#include "app/app_context.h"
#include "fuzz_checks.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/machine_image.h"
#include "model/text_codec.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qzb;
constexpr std::int32_t kModels[] = {2152, 8313, 8314, 8315, 8329};

CAppContext& FreshContext(std::int32_t model)
{
    static std::map<std::int32_t, const CAppContext> pristine;
    static std::map<std::int32_t, CAppContext> working;
    const CAppContext& initial = pristine.try_emplace(model, model).first->second;
    CAppContext& context = working.try_emplace(model, model).first->second;
    context = initial;
    return context;
}

bool SameState(const CControlState& a, const CControlState& b)
{
    return a.text == b.text && a.value == b.value && a.minimum == b.minimum && a.maximum == b.maximum &&
           a.octets == b.octets && a.choices == b.choices && a.enabled == b.enabled && a.visible == b.visible;
}

bool SameStates(const CPage& page, const std::vector<CControlState>& states)
{
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (!SameState(page.StateAt(i), states[i])) {
            return false;
        }
    }
    return true;
}

std::vector<CControlState> States(const CPage& page)
{
    std::vector<CControlState> states;
    for (std::size_t i = 0; i < page.Controls().size(); ++i) {
        states.push_back(page.StateAt(i));
    }
    return states;
}

// A value as a user might give it: any text, a number, or one of the values the control offers.
std::u16string Value(FuzzedDataProvider& input, const CPage& page, const CControlDef& control)
{
    const CControlState& state = page.State(control.id);
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return Utf8ToUtf16(std::to_string(input.ConsumeIntegral<std::int32_t>()));
        case 1:
            if (!state.choices.empty()) {
                const auto& choice =
                    state.choices[input.ConsumeIntegralInRange<std::size_t>(0, state.choices.size() - 1)];
                return Utf8ToUtf16(std::to_string(choice.value));
            }
            [[fallthrough]];
        default:
            return Utf8ToUtf16(input.ConsumeRandomLengthString(80));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    CAppContext& context = FreshContext(input.PickValueInArray(kModels));
    std::vector<const CPageDef*> defs = PageDefsForModel(context.modelBit);
    defs.erase(std::remove_if(defs.begin(),
                              defs.end(),
                              [](const CPageDef* def) { return def->pageClass == PageClass::SettingDialog; }),
               defs.end());
    const CPageDef& def = *defs[input.ConsumeIntegralInRange<std::size_t>(0, defs.size() - 1)];
    CPage page(def, {&context.store, &context.strings, context.modelBit, &context.device});
    page.Initialise();
    std::vector<std::unique_ptr<CPage>> dialogs;

    while (input.remaining_bytes() > 0) {
        const std::size_t which = input.ConsumeIntegralInRange<std::size_t>(0, dialogs.size());
        CPage& target = which == 0 ? page : *dialogs[which - 1];
        if (target.Controls().empty()) {
            break;
        }
        const CControlDef& control =
            target.Controls()[input.ConsumeIntegralInRange<std::size_t>(0, target.Controls().size() - 1)];
        const std::u16string value = Value(input, target, control);
        const std::vector<CControlState> before = States(target);
        const InputRefusal refusal = ApplyControlInput(target, control, value);
        if (refusal != InputRefusal::None) {
            Require(SameStates(target, before), "a refused value changed the page");
            continue;
        }
        (void)ControlValueText(target, control);
        const CPageDef* dialogDef = which == 0 ? FindPageDef(page.DialogFor(control.id)) : nullptr;
        if (dialogDef != nullptr &&
            std::none_of(dialogs.begin(), dialogs.end(), [&](const auto& open) { return &open->Def() == dialogDef; })) {
            CPageEnv env = page.Env();
            env.opener = &page;
            dialogs.push_back(std::make_unique<CPage>(*dialogDef, env));
            dialogs.back()->Initialise();
        }
    }
    for (const auto& dialog : dialogs) {
        if (!dialog->Store().Ok()) {
            return 0;
        }
    }
    if (!page.Store().Ok()) {
        return 0;
    }
    // What the checks let through must travel: encode it and read it back.
    const std::vector<std::uint8_t> image =
        EncodeMachineImage(context.device, context.store, {EncodeMode::File, false, 0x3442});
    Require(IsWellFormedImage(image), "a stored page makes a damaged image");
    static const CValueStore initialStore;
    static CValueStore store;
    store = initialStore;
    CDeviceData device;
    Require(DecodeMachineImage(device, store, image) == kOk, "a stored page's image does not read back");
    return 0;
}
