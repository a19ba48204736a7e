// The window and qzbctl run the same page models: what a user types, chooses and clicks in the
// widgets must reach the value store exactly as the same input given headless does. Also every input
// control a page draws carries a name assistive technology reads.

#include "app/app_context.h"
#include "app/messenger.h"
#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"
#include "tests/support/models.h"
#include "tests/ui/window_fixture.h"
#include "ui/controls/my_combo_box.h"
#include "ui/controls/my_edit.h"
#include "ui/controls/my_ip_address_ctrl.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/pages/page_view.h"
#include "ui/pages/setting_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qzb {
namespace {

// Every page with an input control must have taken at least this many values both ways.
constexpr int kMinimumTakenPerPage = 1;

std::unique_ptr<CAppContext> NewContext(std::int32_t model)
{
    auto context = std::make_unique<CAppContext>(model);
    context->strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context->profile));
    return context;
}

CPageEnv EnvOf(CAppContext& context)
{
    return {&context.store, &context.strings, context.modelBit, &context.device};
}

std::string Utf8(const std::u16string& text)
{
    return QString::fromStdU16String(text).toStdString();
}

// A text the edit's kind and limit take: a number in the middle of a checked range, else letters
// and digits the typing filter lets through, exactly the limit long where the length is checked.
std::u16string EditInput(const CControlDef& control, const CValueStore& store)
{
    const std::int32_t limit = CPage::EditLimit(control);
    if (control.check == CheckRule::Range || control.binding == Binding::Number ||
        control.binding == Binding::NumberOrEmpty) {
        const std::int64_t middle =
            control.check == CheckRule::Range ? (std::int64_t{control.minimum} + control.maximum) / 2 : 7;
        std::u16string text = QString::number(middle).toStdU16String();
        if (static_cast<std::int32_t>(text.size()) <= limit) {
            return text;
        }
    }
    if (control.check == CheckRule::Email) {
        return u"qz@example.com";
    }
    const CEditRules rules = EditRulesForKind(control.inputKind);
    std::u16string text;
    const std::int32_t length = control.check == CheckRule::ExactLength ? limit : std::min(limit, 6);
    for (const char16_t ch :
         std::u16string_view(u"Qz1b2c3d4e5f6g7h8j9k0mnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ1234567890")) {
        if (static_cast<std::int32_t>(text.size()) == length) {
            break;
        }
        if (IsCharAccepted(ch, rules, text, store)) {
            text.push_back(ch);
        }
    }
    while (control.check == CheckRule::ExactLength && static_cast<std::int32_t>(text.size()) < length &&
           !text.empty()) {
        text.push_back(text.back());
    }
    return text;
}

// Whether the last setting dialog a choice opened had to be cancelled.
bool g_dialogCancelled = false;

// Answers every setting dialog a choice opens with OK, as qzbctl counts it (closed with OK, values
// unchanged); a dialog that refuses its unchanged values (a forward location without a number) is
// cancelled, which takes the choice back as it does for a user.
void AcceptNextDialogs()
{
    g_dialogCancelled = false;
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<CSettingDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
            if (dialog->isVisible()) {
                g_dialogCancelled = true;
                dialog->reject();
            }
        }
    });
}

struct CParityCount
{
    int instances = 0;
    int comparisons = 0;
    int taken = 0; // inputs both paths accepted
};

class PageParity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CQtMessagePresenter::SetUnattended(true);
        CQtMessagePresenter::ClearRecorded();
    }
    void TearDown() override { CQtMessagePresenter::SetUnattended(false); }

    // Feeds one control the same input both ways; returns whether the headless path took it.
    bool FeedBoth(CPageView& view, CPage& headless, const CControlDef& control, const CValueStore& store)
    {
        QWidget* widget = view.Widget(control.id);
        const CControlState& state = headless.State(control.id);
        const bool reachable = widget != nullptr && widget->isVisible();
        std::u16string input;
        switch (control.kind) {
            case ControlKind::Edit: {
                input = EditInput(control, store);
                if (auto* edit = qobject_cast<CMyEdit*>(widget); edit != nullptr && reachable) {
                    edit->setFocus();
                    edit->selectAll();
                    QTest::keyClicks(edit, QString::fromStdU16String(input));
                } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget); lines != nullptr && reachable) {
                    lines->setFocus();
                    lines->selectAll();
                    QTest::keyClicks(lines, QString::fromStdU16String(input));
                }
                break;
            }
            case ControlKind::Combo: {
                auto* combo = qobject_cast<CMyComboBox*>(widget);
                // The next filled option by the Down key, or the previous by Up on the last one.
                int index = 0;
                for (std::size_t i = 0; i < state.choices.size(); ++i) {
                    if (state.choices[i].value == state.value) {
                        index = static_cast<int>(i);
                        break;
                    }
                }
                int target = -1;
                Qt::Key key = Qt::Key_Down;
                for (int i = index + 1; i < static_cast<int>(state.choices.size()); ++i) {
                    if (!state.choices[static_cast<std::size_t>(i)].text.empty()) {
                        target = i;
                        break;
                    }
                }
                if (target < 0) {
                    key = Qt::Key_Up;
                    for (int i = index - 1; i >= 0; --i) {
                        if (!state.choices[static_cast<std::size_t>(i)].text.empty()) {
                            target = i;
                            break;
                        }
                    }
                }
                if (target < 0) {
                    return false;
                }
                input = QString::number(state.choices[static_cast<std::size_t>(target)].value).toStdU16String();
                if (combo != nullptr && reachable) {
                    AcceptNextDialogs();
                    combo->setFocus();
                    QTest::keyClick(combo, key);
                }
                break;
            }
            case ControlKind::Check:
            case ControlKind::Radio: {
                input = control.kind == ControlKind::Radio || state.value != 1 ? u"1" : u"0";
                if (auto* button = qobject_cast<QAbstractButton*>(widget); button != nullptr && reachable) {
                    view.ensureWidgetVisible(button);
                    AcceptNextDialogs();
                    // On the indicator: a wide box's click area ends with its text.
                    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
                }
                break;
            }
            case ControlKind::Slider: {
                const bool up = state.value < state.maximum;
                input = QString::number(state.value + (up ? 1 : -1)).toStdU16String();
                if (auto* slider = qobject_cast<QSlider*>(widget); slider != nullptr && reachable) {
                    slider->setFocus();
                    QTest::keyClick(slider, up ? Qt::Key_Right : Qt::Key_Left);
                }
                break;
            }
            case ControlKind::Address: {
                const bool mask = control.item.find("SUBNET") != std::string_view::npos ||
                                  control.item.find("MASK") != std::string_view::npos;
                const QStringList octets =
                    mask ? QStringList{"255", "255", "255", "0"} : QStringList{"192", "168", "1", "20"};
                input = octets.join('.').toStdU16String();
                if (auto* address = qobject_cast<CMyIPAddressCtrl*>(widget); address != nullptr && reachable) {
                    for (int field = 0; field < CMyIPAddressCtrl::kFieldCount; ++field) {
                        QLineEdit* edit = address->Field(field);
                        edit->setFocus();
                        edit->selectAll();
                        QTest::keyClicks(edit, octets[field]);
                    }
                }
                break;
            }
            case ControlKind::Label:
            case ControlKind::Button:
            case ControlKind::List:
                return false;
        }
        if (g_dialogCancelled) {
            g_dialogCancelled = false;
            return false; // the user cancelled the dialog the choice opened: no choice to give headless
        }
        return ApplyControlInput(headless, control, input) == InputRefusal::None;
    }

    void CheckPage(std::int32_t model, const CPageDef& def, CParityCount& total)
    {
        auto windowSide = NewContext(model);
        auto headlessSide = NewContext(model);
        CMessenger messenger(windowSide->strings, m_presenter);
        CPageView view(def, EnvOf(*windowSide), messenger);
        view.Initialise();
        view.resize(view.ContentSize().expandedTo(QSize(400, 300)));
        view.show();
        CPage headless(def, EnvOf(*headlessSide));
        headless.Initialise();
        ++total.instances;
        int taken = 0;
        bool inputs = false;
        for (const CControlDef& control : headless.Controls()) {
            if (control.kind == ControlKind::Label || control.kind == ControlKind::List ||
                control.kind == ControlKind::Button) {
                continue;
            }
            const CControlState& state = headless.State(control.id);
            inputs =
                inputs || (state.visible && state.enabled && !control.readOnly && ControlTravels(headless, control));
            taken += FeedBoth(view, headless, control, headlessSide->store) ? 1 : 0;
            ++total.comparisons;
            EXPECT_EQ(Utf8(ControlValueText(view.Model(), control)), Utf8(ControlValueText(headless, control)))
                << model << " " << def.name << " control " << control.id << " (" << control.name << ")";
        }
        const CCheckResult windowResult = view.Commit();
        const CCheckResult headlessResult = headless.Store();
        EXPECT_EQ(windowResult.code, headlessResult.code) << model << " " << def.name;
        EXPECT_EQ(windowResult.controlId, headlessResult.controlId) << model << " " << def.name;
        const auto& windowPages = windowSide->store.Pages();
        const auto& headlessPages = headlessSide->store.Pages();
        ASSERT_EQ(windowPages.size(), headlessPages.size());
        for (std::size_t p = 0; p < windowPages.size(); ++p) {
            for (std::size_t r = 0; r < windowPages[p].records.size(); ++r) {
                const CRecordRef ref{static_cast<std::uint16_t>(p), static_cast<std::uint16_t>(r)};
                EXPECT_EQ(windowSide->store.Number(ref), headlessSide->store.Number(ref))
                    << model << " " << def.name << " " << windowPages[p].name << " " << windowPages[p].records[r].key;
                EXPECT_EQ(windowSide->store.RawText(ref), headlessSide->store.RawText(ref))
                    << model << " " << def.name << " " << windowPages[p].name << " " << windowPages[p].records[r].key;
            }
        }
        ++total.comparisons;
        if (inputs) {
            EXPECT_GE(taken, kMinimumTakenPerPage) << model << " " << def.name << " took no input both ways";
        }
        total.taken += taken;
    }

    CQtMessagePresenter m_presenter;
};

TEST_F(PageParity, EveryControlTakesFromTheWindowWhatItTakesHeadless)
{
    CParityCount total;
    for (const std::int32_t model : kModels) {
        const auto probe = NewContext(model);
        for (const CPageDef* def : PageDefsForModel(probe->modelBit)) {
            if (def->pageClass != PageClass::Information) {
                CheckPage(model, *def, total);
            }
        }
    }
    EXPECT_GT(total.instances, 5 * 20);
    EXPECT_GT(total.taken, total.instances * 3);
    RecordProperty("instances", total.instances);
    RecordProperty("comparisons", total.comparisons);
    std::cout << "[ parity   ] " << total.instances << " page instances, " << total.comparisons << " comparisons, "
              << total.taken << " inputs taken both ways\n";
}

// An input control: edits, combos, spin boxes, check boxes and radio buttons, sliders and the
// fields of address controls.
bool IsInputRole(QAccessible::Role role)
{
    switch (role) {
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::Slider:
        case QAccessible::List:
        case QAccessible::Tree:
        case QAccessible::Table:
            return true;
        default:
            return false;
    }
}

// The role a screen reader must be told for a switch: a radio button as one of a group, a check box
// as a check box; 0 for other widgets.
QAccessible::Role SwitchRole(const QObject* object)
{
    if (qobject_cast<const QRadioButton*>(object) != nullptr) {
        return QAccessible::RadioButton;
    }
    if (qobject_cast<const QCheckBox*>(object) != nullptr) {
        return QAccessible::CheckBox;
    }
    return QAccessible::NoRole;
}

// What a walk of the accessibility tree found: input controls without a name, switches announced in
// another role than their own, and how many controls were named.
struct CAccessibleWalk
{
    QStringList unnamed;
    QStringList miscast;
    int named = 0;
};

void CollectUnnamed(QAccessibleInterface* node, CAccessibleWalk& walk, const QString& skip = {})
{
    if (node == nullptr || (node->object() != nullptr && !skip.isEmpty() && node->object()->objectName() == skip)) {
        return;
    }
    QObject* object = node->object();
    const QString objectName = object != nullptr ? object->objectName() : QStringLiteral("?");
    if (const QAccessible::Role role = SwitchRole(object); role != QAccessible::NoRole && node->role() != role) {
        walk.miscast << objectName;
    }
    if (IsInputRole(node->role())) {
        if (node->text(QAccessible::Name).trimmed().isEmpty()) {
            walk.unnamed << objectName;
        } else {
            ++walk.named;
        }
        if (node->role() == QAccessible::List || node->role() == QAccessible::Tree ||
            node->role() == QAccessible::Table || node->role() == QAccessible::ComboBox) {
            return; // their rows and items are not controls of their own
        }
    }
    for (int i = 0; i < node->childCount(); ++i) {
        CollectUnnamed(node->child(i), walk, skip);
    }
}

TEST(PageAccessibility, EveryInputControlOfEveryPageAndDialogHasAName)
{
    CQtMessagePresenter presenter;
    int named = 0;
    for (const std::int32_t model : kModels) {
        auto context = NewContext(model);
        CMessenger messenger(context->strings, presenter);
        for (const CPageDef* def : PageDefsForModel(context->modelBit)) {
            std::unique_ptr<QWidget> top;
            if (def->pageClass == PageClass::SettingDialog) {
                top = std::make_unique<CSettingDialog>(*def, EnvOf(*context), messenger);
            } else {
                auto view = std::make_unique<CPageView>(*def, EnvOf(*context), messenger);
                view->Initialise();
                top = std::move(view);
            }
            top->show();
            CAccessibleWalk walk;
            CollectUnnamed(QAccessible::queryAccessibleInterface(top.get()), walk);
            EXPECT_TRUE(walk.unnamed.isEmpty())
                << model << " " << def->name << ": " << walk.unnamed.join(", ").toStdString();
            EXPECT_TRUE(walk.miscast.isEmpty())
                << model << " " << def->name << " in another role: " << walk.miscast.join(", ").toStdString();
            named += walk.named;
        }
    }
    EXPECT_GT(named, 1000);
}

// The dial registration controls beside the tree: the entry list, its filter, the buttons, the
// radio pair and the group check list. (The navigation tree is the window's own.)
TEST_F(CWindowFixture, DialRegistrationControlsOfTheWindowAreNamed)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_TRUE(window->SelectPage("FAX_EMAIL"));
    QWidget* view = window->findChild<QWidget*>("dialRegistrationView");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());
    CAccessibleWalk walk;
    CollectUnnamed(QAccessible::queryAccessibleInterface(view), walk);
    EXPECT_TRUE(walk.unnamed.isEmpty()) << walk.unnamed.join(", ").toStdString();
    EXPECT_TRUE(walk.miscast.isEmpty()) << walk.miscast.join(", ").toStdString();
    EXPECT_GE(walk.named, 5);
    for (const char* name : {"dialNewButton", "dialEditButton", "dialDeleteButton"}) {
        auto* button = view->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty()) << name;
    }
}

// The IP address filter switch never travels on the large models, but the filter settings its dialog
// holds do: a click leaves the switch as it is and still opens the dialog.
TEST(PageEditability, ASwitchThatNeverTravelsStillOpensItsSettingsDialog)
{
    CQtMessagePresenter presenter;
    auto context = NewContext(8314);
    CMessenger messenger(context->strings, presenter);
    CPageView view(*FindPageDef("TCP_IP_SET_DLG"), EnvOf(*context), messenger);
    view.Initialise();
    view.show();
    auto* filter = view.findChild<QCheckBox*>("ipAddressFilterCheck");
    ASSERT_NE(filter, nullptr);
    ASSERT_TRUE(filter->isEnabled());
    EXPECT_FALSE(filter->toolTip().isEmpty());
    const bool before = filter->isChecked();
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (auto* dialog = qobject_cast<CSettingDialog*>(QApplication::activeModalWidget())) {
            opened = dialog->objectName();
            dialog->reject();
        }
    });
    view.ensureWidgetVisible(filter);
    QTest::mouseClick(filter, Qt::LeftButton, {}, QPoint(6, filter->height() / 2));
    EXPECT_EQ(opened, "CPaAddFilterDlg");
    EXPECT_EQ(filter->isChecked(), before);
    EXPECT_EQ(view.Model().State(2066).value, before ? 1 : 0);
}

// Parts of one composite (the octets of an address, fields a row label shares) say which part
// they are, so that four fields read "IP Address" are told apart.
TEST(PageAccessibility, PartsOfACompositeAreDescribed)
{
    CQtMessagePresenter presenter;
    auto context = NewContext(8314);
    CMessenger messenger(context->strings, presenter);
    const CPageDef* def = FindPageDef("TCP_IP_SET_DLG");
    ASSERT_NE(def, nullptr);
    CPageView view(*def, EnvOf(*context), messenger);
    view.Initialise();
    auto* address = view.findChild<CMyIPAddressCtrl*>();
    ASSERT_NE(address, nullptr);
    EXPECT_FALSE(address->Field(0)->accessibleName().isEmpty());
    EXPECT_EQ(address->Field(0)->accessibleName(), address->Field(3)->accessibleName());
    EXPECT_NE(address->Field(0)->accessibleDescription(), address->Field(3)->accessibleDescription());
}

// Read-only addresses and settings no upload carries are drawn so that typing cannot change them.
TEST(PageEditability, ReadOnlyAndNeverTravellingControlsRefuseTyping)
{
    CQtMessagePresenter presenter;
    auto context = NewContext(8314);
    CMessenger messenger(context->strings, presenter);
    for (const char* name : {"IPV6_DLG", "SNMP_SET_DLG", "TCP_IP_SET_DLG"}) {
        const CPageDef* def = FindPageDef(name);
        ASSERT_NE(def, nullptr) << name;
        CPageView view(*def, EnvOf(*context), messenger);
        view.Initialise();
        int refused = 0;
        for (const CControlDef& control : view.Model().Controls()) {
            if (control.binding == Binding::None || (!control.readOnly && ControlTravels(view.Model(), control))) {
                continue;
            }
            QWidget* widget = view.Widget(control.id);
            ++refused;
            if (auto* address = qobject_cast<CMyIPAddressCtrl*>(widget)) {
                EXPECT_TRUE(address->Field(0)->isReadOnly()) << name << " " << control.id;
            } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                EXPECT_TRUE(edit->isReadOnly()) << name << " " << control.id;
            } else if (control.opensDialog.empty()) {
                EXPECT_FALSE(widget->isEnabled()) << name << " " << control.id;
            }
            if (!control.readOnly) {
                EXPECT_FALSE(widget->toolTip().isEmpty()) << name << " " << control.id;
            }
            // qzbctl page set refuses the same controls, saying why.
            CPage headless(*def, EnvOf(*context));
            headless.Initialise();
            const InputRefusal refusal = ApplyControlInput(headless, control, u"1");
            EXPECT_NE(refusal, InputRefusal::None) << name << " " << control.id;
            if (!control.readOnly && headless.State(control.id).enabled) {
                EXPECT_EQ(refusal, InputRefusal::NeverTravels) << name << " " << control.id;
            }
        }
        EXPECT_GT(refused, 0) << name;
    }
}

} // namespace
} // namespace qzb
