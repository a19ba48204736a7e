#include "ui/controls/my_ip_address_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace qzb {
namespace {

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

} // namespace
} // namespace qzb
