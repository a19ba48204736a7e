#include "ui/controls/my_ip_address_ctrl.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "pages/page_registry.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/pages/page_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

namespace qzb {
namespace {

// A key typed as the user types it: to the widget that has the focus at that moment.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void Type(const QString& text)
{
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

std::string Dotted(const CAddressFields& fields)
{
    QStringList octets;
    for (const auto& octet : fields) {
        octets << (octet ? QString::number(*octet) : QString());
    }
    return octets.join('.').toStdString();
}

class MyIPAddressCtrl : public testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&m_dialog);
        m_control = new CMyIPAddressCtrl(&m_dialog);
        m_control->setObjectName("gatewayAddress");
        layout->addWidget(m_control);
        m_next = new QLineEdit(&m_dialog);
        layout->addWidget(m_next);
        m_dialog.show();
        QApplication::setActiveWindow(&m_dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }

    QLineEdit* Field(int field) const
    {
        return m_dialog.findChild<QLineEdit*>("gatewayAddressField" + QString::number(field));
    }

    CAddressFields Address() const
    {
        CAddressFields fields;
        m_control->GetAddress(fields);
        return fields;
    }

    // Clicks a field and selects what it holds with Ctrl+A, as a user starts typing over it.
    void SelectField(int field)
    {
        QTest::mouseClick(Field(field), Qt::LeftButton);
        ASSERT_TRUE(Field(field)->hasFocus()) << field;
        Press(Qt::Key_A, Qt::ControlModifier);
    }

    QWidget m_dialog;
    CMyIPAddressCtrl* m_control = nullptr;
    QLineEdit* m_next = nullptr;
};

TEST_F(MyIPAddressCtrl, GetsSetsAndClearsTheFourFields)
{
    QSignalSpy changes(m_control, &CMyIPAddressCtrl::AddressChanged);
    m_control->SetAddress({192, 168, std::nullopt, 0});
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Field(2)->text(), "");
    EXPECT_EQ(Field(3)->text(), "0");
    CAddressFields fields;
    EXPECT_EQ(m_control->GetAddress(fields), 3);
    EXPECT_EQ(fields, (CAddressFields{192, 168, std::nullopt, 0}));
    m_control->SetAddress({192, 168, std::nullopt, 0});
    EXPECT_EQ(changes.count(), 1) << "nothing changed";
    m_control->ClearAddress();
    EXPECT_EQ(m_control->GetAddress(fields), 0);
    EXPECT_TRUE(m_control->IsBlank());
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(MyIPAddressCtrl, FocusesFieldsAndMovesOnAsOctetsAreTyped)
{
    m_control->SetAddress({10, std::nullopt, 5, std::nullopt});
    m_control->SetFieldFocus(CMyIPAddressCtrl::kFirstEmptyField);
    EXPECT_TRUE(Field(1)->hasFocus());
    m_control->SetFieldFocus(3);
    EXPECT_TRUE(Field(3)->hasFocus());
    m_control->SetAddress({1, 2, 3, 4});
    m_control->SetFieldFocus(CMyIPAddressCtrl::kFirstEmptyField);
    EXPECT_TRUE(Field(0)->hasFocus()) << "no field is empty";

    m_control->ClearAddress();
    QTest::keyClicks(Field(0), "192");
    ASSERT_TRUE(Field(1)->hasFocus()) << "a full octet moves on";
    QTest::keyClicks(Field(1), "1.");
    ASSERT_TRUE(Field(2)->hasFocus()) << "a dot moves on";
    QTest::keyClicks(Field(2), ".x300");
    EXPECT_EQ(Field(2)->text(), "255") << "a dot in an empty field stays; too large an octet is the largest";
    ASSERT_TRUE(Field(3)->hasFocus());
    QTest::keyClick(Field(3), Qt::Key_Backspace);
    ASSERT_TRUE(Field(2)->hasFocus()) << "backspace in an empty field goes back";
    QTest::keyClick(Field(2), Qt::Key_Backspace);
    CAddressFields fields;
    EXPECT_EQ(m_control->GetAddress(fields), 3);
    EXPECT_EQ(fields, (CAddressFields{192, 1, 25, std::nullopt}));

    QTest::keyClick(Field(2), Qt::Key_Tab);
    EXPECT_TRUE(m_next->hasFocus()) << "Tab leaves the control";
    QTest::keyClick(m_next, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(Field(0)->hasFocus());
}

// The ways a user types an address over the one shown.
enum class Way {
    DotAfterEveryOctet, // "192.168.1.77"
    DotOnlyAfterShortOctets, // "1921681.77": a full octet moves on by itself
    ZeroPaddedWithoutDots, // "192168001077"
    SpacesForDots, // "192 168 1 77"
    FromALaterOctet, // the last octets only, from the field clicked
    TabbedIn, // Shift+Tab into the control selects its first field
    BackspacedEmptyFirst, // Backspace from the end across every field, then the address
    DeletedEmptyFirst, // Delete from the start across every field, then the address
    Count
};

std::string WayName(Way way)
{
    constexpr const char* kNames[] = {"dot after every octet",
                                      "dot only after short octets",
                                      "zero-padded without dots",
                                      "spaces for dots",
                                      "from a later octet",
                                      "tabbed in",
                                      "backspaced empty first",
                                      "deleted empty first"};
    return kNames[static_cast<int>(way)];
}

// Random addresses whose octets have one, two or three digits about equally often; shown ones
// leave a field empty now and then.
class CAddressSource
{
public:
    explicit CAddressSource(unsigned seed)
        : m_random(seed)
    {
    }

    CAddressFields Typed()
    {
        CAddressFields fields;
        for (auto& octet : fields) {
            octet = Octet();
        }
        return fields;
    }

    CAddressFields Shown()
    {
        CAddressFields fields = Typed();
        for (auto& octet : fields) {
            if (Below(6) == 0) {
                octet.reset();
            }
        }
        return fields;
    }

    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

private:
    std::uint8_t Octet()
    {
        constexpr int kLow[] = {0, 10, 100};
        constexpr int kHigh[] = {9, 99, 255};
        const int digits = Below(3);
        return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(kLow[digits], kHigh[digits])(m_random));
    }

    std::mt19937 m_random;
};

QString TypedText(const CAddressFields& typed, Way way, int first)
{
    QString text;
    for (int i = first; i < CMyIPAddressCtrl::kFieldCount; ++i) {
        const int octet = *typed[static_cast<std::size_t>(i)];
        const bool last = i + 1 == CMyIPAddressCtrl::kFieldCount;
        switch (way) {
            case Way::ZeroPaddedWithoutDots:
                text += QString::number(octet).rightJustified(3, '0');
                break;
            case Way::DotOnlyAfterShortOctets:
                text += QString::number(octet) + (octet < 100 && !last ? "." : "");
                break;
            case Way::SpacesForDots:
                text += QString::number(octet) + (last ? "" : " ");
                break;
            default:
                text += QString::number(octet) + (last ? "" : ".");
                break;
        }
    }
    return text;
}

int TextLength(const CAddressFields& fields)
{
    return static_cast<int>(Dotted(fields).size()) - (CMyIPAddressCtrl::kFieldCount - 1);
}

// An address B typed over an address A in every way a user types it holds B, whatever A holds
// and however many digits their octets have: a full octet moves on by itself without the dot after
// it skipping the next field. Seeded, so that a failure comes back the same.
TEST_F(MyIPAddressCtrl, AnAddressTypedOverAnotherHoldsExactlyWhatWasTyped)
{
    constexpr unsigned kSeed = 20261208;
    constexpr int kPairsPerWay = 40;
    CAddressSource source(kSeed);
    for (int pair = 0; pair < kPairsPerWay * static_cast<int>(Way::Count); ++pair) {
        const auto way = static_cast<Way>(pair % static_cast<int>(Way::Count));
        const CAddressFields shown = source.Shown();
        const CAddressFields typed = source.Typed();
        CAddressFields expected = typed;
        int first = 0;
        m_control->SetAddress(shown);
        switch (way) {
            case Way::FromALaterOctet:
                first = 1 + source.Below(CMyIPAddressCtrl::kFieldCount - 1);
                std::copy(shown.begin(), shown.begin() + first, expected.begin());
                SelectField(first);
                break;
            case Way::TabbedIn:
                m_next->setFocus();
                Press(Qt::Key_Backtab, Qt::ShiftModifier);
                ASSERT_TRUE(Field(0)->hasFocus());
                break;
            case Way::BackspacedEmptyFirst:
                QTest::mouseClick(Field(3), Qt::LeftButton);
                Press(Qt::Key_End);
                for (int i = 0; i < TextLength(shown) + CMyIPAddressCtrl::kFieldCount - 1; ++i) {
                    Press(Qt::Key_Backspace);
                }
                ASSERT_TRUE(m_control->IsBlank()) << Dotted(shown);
                ASSERT_TRUE(Field(0)->hasFocus());
                break;
            case Way::DeletedEmptyFirst:
                QTest::mouseClick(Field(0), Qt::LeftButton);
                Press(Qt::Key_Home);
                for (int i = 0; i < TextLength(shown) + CMyIPAddressCtrl::kFieldCount - 1; ++i) {
                    Press(Qt::Key_Delete);
                }
                ASSERT_TRUE(m_control->IsBlank()) << Dotted(shown);
                QTest::mouseClick(Field(0), Qt::LeftButton);
                break;
            default:
                SelectField(0);
                break;
        }
        const QString text = TypedText(typed, way, first);
        Type(text);
        ASSERT_EQ(Dotted(Address()), Dotted(expected))
            << WayName(way) << ": typed \"" << text.toStdString() << "\" over " << Dotted(shown) << " (pair " << pair
            << ", seed " << kSeed << ")";
    }
}

TEST_F(MyIPAddressCtrl, BackspaceDeleteAndTheArrowsCrossTheDots)
{
    m_control->SetAddress({192, 168, 1, 50});
    SelectField(0);
    Type("192.168.1.77");
    EXPECT_EQ(Dotted(Address()), "192.168.1.77") << "retyped over the same address";
    ASSERT_TRUE(Field(3)->hasFocus());

    // Backspace at a field's start steps over the dot; the next one deletes in the field before.
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    ASSERT_TRUE(Field(2)->hasFocus());
    Press(Qt::Key_Backspace);
    Type("2.99");
    EXPECT_EQ(Dotted(Address()), "192.168.2.99");

    // Delete at a field's end steps over the dot into the next field's start.
    QTest::mouseClick(Field(1), Qt::LeftButton);
    Press(Qt::Key_End);
    Press(Qt::Key_Delete);
    ASSERT_TRUE(Field(2)->hasFocus());
    EXPECT_EQ(Field(2)->cursorPosition(), 0);
    Press(Qt::Key_Delete);
    Type("3");
    EXPECT_EQ(Dotted(Address()), "192.168.3.99");

    // Left at a field's start and Right at its end move between fields; a selection is deleted whole.
    Press(Qt::Key_Home);
    Press(Qt::Key_Left);
    ASSERT_TRUE(Field(1)->hasFocus());
    EXPECT_EQ(Field(1)->cursorPosition(), 3);
    Press(Qt::Key_Right);
    ASSERT_TRUE(Field(2)->hasFocus());
    SelectField(1);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Dotted(Address()), "192..3.99");
    Type("10.");
    EXPECT_EQ(Dotted(Address()), "192.10.3.99");
    ASSERT_TRUE(Field(2)->hasFocus()) << "the dot after a short octet moves on";

    // A separator held down by Shift (as some keyboard layouts need) still ends the octet; Shift on
    // its own does not end the pending move.
    SelectField(0);
    Type("172");
    ASSERT_TRUE(Field(1)->hasFocus());
    QTest::keyPress(Field(1), Qt::Key_Shift);
    QTest::keyClick(Field(1), '.', Qt::ShiftModifier);
    QTest::keyRelease(Field(1), Qt::Key_Shift);
    ASSERT_TRUE(Field(1)->hasFocus()) << "the dot ended the octet the control completed";
    Type("16.0.1");
    EXPECT_EQ(Dotted(Address()), "172.16.0.1");
}

// Pasting stays refused: a whole dotted address pasted into any field changes nothing, and the
// fields hold what was typed before.
TEST_F(MyIPAddressCtrl, APastedAddressChangesNoField)
{
    QApplication::clipboard()->setText("10.20.30.40");
    for (int field = 0; field < CMyIPAddressCtrl::kFieldCount; ++field) {
        m_control->SetAddress({192, 168, 1, 50});
        QTest::mouseClick(Field(field), Qt::MiddleButton);
        SelectField(field);
        Press(Qt::Key_V, Qt::ControlModifier);
        Press(Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(Dotted(Address()), "192.168.1.50") << field;
        Type("7");
        CAddressFields expected{192, 168, 1, 50};
        expected[static_cast<std::size_t>(field)] = 7;
        EXPECT_EQ(Dotted(Address()), Dotted(expected)) << "typing goes on after the refused paste, field " << field;
    }
}

TEST_F(MyIPAddressCtrl, RefusesPastingAndHasNoContextMenu)
{
    QApplication::clipboard()->setText("10");
    Field(0)->setFocus();
    QTest::keyClick(Field(0), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(Field(0), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Field(0)->text(), "");

    QTest::keyClicks(Field(0), "12");
    QTest::mouseClick(Field(0), Qt::RightButton);
    QTest::mouseDClick(Field(0), Qt::RightButton);
    QContextMenuEvent menuRequest(QContextMenuEvent::Keyboard, QPoint(1, 1), Field(0)->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(Field(0), &menuRequest);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(Field(0)->text(), "12");
}

// Every address control of the pages and setting dialogs, typed over once through its page: the
// page holds and stores the address typed; one that only shows an address takes no typing.
TEST(AddressControlsOfThePages, EachTakesTheAddressTypedOverTheOneShown)
{
    CQtMessagePresenter presenter;
    CAppContext context(8314);
    ASSERT_TRUE(
        context.strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context.profile))
            .Ok());
    CMessenger messenger(context.strings, presenter);
    // The network on, the address specified, a host name the DNS dialog's check passes.
    context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK", 1);
    context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP", 1);
    context.store.SetItemText("DNS_CONF_DLG", "DNS_HOST_NAME", u"office");
    const CPageEnv env{&context.store, &context.strings, context.modelBit, &context.device};
    constexpr std::array<int, 4> kShown{192, 168, 1, 50};
    constexpr std::array<int, 4> kTyped{172, 31, 200, 9};
    QStringList typedOver;
    QStringList showOnly;
    for (const CPageDef* def : PageDefsForModel(context.modelBit)) {
        const std::span<const CControlDef> controls = def->controls;
        if (std::none_of(controls.begin(), controls.end(), [](const CControlDef& control) {
                return control.kind == ControlKind::Address;
            })) {
            continue;
        }
        const std::string page(def->name);
        for (const CControlDef& control : controls) {
            for (int i = 0; i < 4; ++i) {
                if (control.kind == ControlKind::Address) {
                    context.store.SetItemNumber(
                        page, std::string(control.item) + "_" + std::to_string(i + 1), kShown[i]);
                }
            }
        }
        CPageView view(*def, env, messenger);
        view.Initialise();
        view.resize(view.ContentSize());
        view.show();
        QApplication::setActiveWindow(&view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view)) << page;
        for (const CControlDef& control : controls) {
            if (control.kind != ControlKind::Address) {
                continue;
            }
            const QString name = QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
            auto* address = qobject_cast<CMyIPAddressCtrl*>(view.Widget(control.id));
            ASSERT_NE(address, nullptr) << page << " " << control.id;
            QLineEdit* first = view.findChild<QLineEdit*>(name + "Field0");
            ASSERT_NE(first, nullptr) << name.toStdString();
            ASSERT_TRUE(first->isEnabled()) << name.toStdString();
            QTest::mouseClick(first, Qt::LeftButton);
            Press(Qt::Key_A, Qt::ControlModifier);
            Type("172.31.200.9");
            const COctets held = view.Model().State(control.id).octets;
            if (control.readOnly) {
                showOnly << name;
                EXPECT_EQ(held, (COctets{192, 168, 1, 50})) << name.toStdString();
                continue;
            }
            typedOver << name;
            EXPECT_EQ(held, (COctets{172, 31, 200, 9})) << name.toStdString();
            // The page hands each digit back to the control: "0" and "03" must stay for "031".
            QTest::mouseClick(first, Qt::LeftButton);
            Press(Qt::Key_A, Qt::ControlModifier);
            Type("172031200009");
            EXPECT_EQ(view.Model().State(control.id).octets, (COctets{172, 31, 200, 9})) << name.toStdString();
        }
        ASSERT_TRUE(view.Commit().Ok()) << page;
        for (const CControlDef& control : controls) {
            for (int i = 0; control.kind == ControlKind::Address && !control.readOnly && i < 4; ++i) {
                EXPECT_EQ(context.store.GetItemNumber(page, std::string(control.item) + "_" + std::to_string(i + 1)),
                          kTyped[i])
                    << control.name << " octet " << i + 1;
            }
        }
    }
    EXPECT_EQ(typedOver.join(' ').toStdString(),
              "ipAddressAddress subnetMaskAddress gatewayAddress dnsServer1Address dnsServer2Address "
              "dnsServer3Address");
    EXPECT_EQ(showOnly.join(' ').toStdString(), "linkLocalAddress globalAddressAddress ipv6GatewayAddress");
}

} // namespace
} // namespace qzb
