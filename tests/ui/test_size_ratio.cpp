#include "ui/main/size_ratio.h"

#include "app/folders.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>

#include <cmath>

namespace qzb {
namespace {

TEST(SizeRatio, ScalesDirectChildrenAndTheDialogTruncating)
{
    QDialog dialog;
    dialog.resize(301, 201);
    auto* label = new QLabel("label", &dialog);
    label->setGeometry(10, 10, 100, 40);
    auto* inner = new QWidget(&dialog);
    inner->setGeometry(0, 0, 50, 50);
    auto* grandchild = new QLabel("inner", inner);
    grandchild->setGeometry(5, 5, 20, 10);

    ApplySizeRatio(&dialog, 1.5);
    EXPECT_EQ(label->geometry(), QRect(15, 15, 150, 60));
    EXPECT_EQ(inner->geometry(), QRect(0, 0, 75, 75));
    EXPECT_EQ(grandchild->geometry(), QRect(5, 5, 20, 10)) << "grandchildren are not touched";
    EXPECT_EQ(dialog.size(), QSize(451, 301));

    ApplySizeRatio(&dialog, 1.0);
    EXPECT_EQ(label->geometry(), QRect(15, 15, 150, 60));

    // A ratio no translation means leaves the dialog as it is rather than overflowing it away.
    for (const double wild : {1e10, -1.0, 0.0, std::nan(""), 4.5}) {
        ApplySizeRatio(&dialog, wild);
        EXPECT_EQ(label->geometry(), QRect(15, 15, 150, 60)) << wild;
        EXPECT_EQ(dialog.size(), QSize(451, 301)) << wild;
    }
}

TEST(SizeRatio, CoreRectScaling)
{
    const CScaledRect r = ScaleRect({10, 10, 100, 40}, 1.25);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 12);
    EXPECT_EQ(r.width, 125);
    EXPECT_EQ(r.height, 50);
    EXPECT_EQ(ScaleForDisplay(100, 144.0), 150);
    EXPECT_EQ(ScaleForDisplay(100, 0.0), 100);
}

} // namespace
} // namespace qzb
