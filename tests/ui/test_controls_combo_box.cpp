#include "ui/controls/my_combo_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <utility>
#include <vector>

namespace qzb {
namespace {

void Fill(CMyComboBox& combo, const std::vector<std::pair<QString, std::int32_t>>& choices)
{
    combo.BeginChoices();
    for (const auto& [text, value] : choices) {
        combo.AddChoice(text, value);
    }
}

TEST(MyComboBox, AppliesAListOnlyWhenItDiffers)
{
    CMyComboBox combo;
    combo.resize(150, 24);
    Fill(combo, {{"Off", 0}, {"On", 1}, {"Auto", 2}});
    EXPECT_TRUE(combo.ApplyChoices());
    EXPECT_TRUE(combo.SelectByValue(2));

    QSignalSpy changes(&combo, &QComboBox::currentIndexChanged);
    Fill(combo, {{"Off", 0}, {"On", 1}, {"Auto", 2}});
    EXPECT_FALSE(combo.ApplyChoices());
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(combo.SelectedValue(), 2);

    Fill(combo, {{"Off", 0}, {"On", 1}, {"Auto", 3}});
    EXPECT_TRUE(combo.ApplyChoices()) << "same texts, another value";
    Fill(combo, {{"Off", 0}, {"On", 1}, {"Automatic", 3}});
    EXPECT_TRUE(combo.ApplyChoices()) << "same values, another text";
    Fill(combo, {{"Off", 0}, {"On", 1}});
    EXPECT_TRUE(combo.ApplyChoices()) << "fewer items";
    EXPECT_EQ(combo.count(), 2);
    combo.show();
    combo.showPopup();
    EXPECT_EQ(combo.view()->minimumWidth(), 150) << "short texts drop down as wide as the box";
    combo.hidePopup();

    const QString wide(60, QLatin1Char('W'));
    Fill(combo, {{wide, 0}, {"Text ignored", -1}});
    EXPECT_TRUE(combo.ApplyChoices());
    EXPECT_EQ(combo.itemText(1), "") << "value -1 is an empty entry";
    combo.showPopup();
    EXPECT_EQ(combo.view()->minimumWidth(),
              combo.fontMetrics().horizontalAdvance(wide) +
                  combo.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &combo) + 8);
    combo.hidePopup();
}

TEST(MyComboBox, SelectsByValueFallingBackToTheFirstItem)
{
    CMyComboBox combo;
    EXPECT_EQ(combo.SelectedValue(), -1);
    EXPECT_FALSE(combo.SelectByValue(1));
    Fill(combo, {{"A", 5}, {"B", 7}, {"B again", 7}});
    combo.ApplyChoices();
    EXPECT_TRUE(combo.SelectByValue(7));
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_FALSE(combo.SelectByValue(9));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.SelectedValue(), 5);

    // A selection that ends with nothing selected goes back to the last valid one.
    combo.setCurrentIndex(2);
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST(MyComboBox, ArrowKeysStepOverEmptyItems)
{
    CMyComboBox combo;
    Fill(combo, {{"A", 1}, {"", -1}, {"B", 2}, {"", -1}});
    combo.ApplyChoices();
    combo.SelectByValue(1);
    QSignalSpy activated(&combo, &QComboBox::activated);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.SelectedValue(), 2);
    QTest::keyClick(&combo, Qt::Key_Right);
    EXPECT_EQ(combo.SelectedValue(), 2) << "only an empty item follows";
    QTest::keyClick(&combo, Qt::Key_Up);
    EXPECT_EQ(combo.SelectedValue(), 1);
    QTest::keyClick(&combo, Qt::Key_Left);
    EXPECT_EQ(combo.SelectedValue(), 1);
    QTest::keyClick(&combo, Qt::Key_Right);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(activated.count(), 3);
}

} // namespace
} // namespace qzb
