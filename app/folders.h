#pragma once

#include <filesystem>

namespace qzb {

// Creates the folder and every missing parent. True when the folder exists afterwards.
bool CreateFolderPath(const std::filesystem::path& folder);
// The same, under the name the window's file commands use before a dialog opens in the folder.
inline bool EnsureFolder(const std::filesystem::path& folder)
{
    return CreateFolderPath(folder);
}

// A length in 96-dpi units scaled to the screen; unchanged when the screen's dpi is unknown (<= 0).
int ScaleForDisplay(int length, double horizontalDpi);

struct CScaledRect
{
    int left, top, width, height;
};

// Size ratios outside this range are translation mistakes, not layouts: they are taken as 1.0.
inline constexpr double kMinSizeRatio = 0.5;
inline constexpr double kMaxSizeRatio = 4.0;

// The ratio when it lies within [kMinSizeRatio, kMaxSizeRatio], else 1.0 (NaN included).
double SaneSizeRatio(double ratio);

// A dialog control's rectangle scaled by a sane size ratio, each product truncated toward zero
// and kept within the range of int.
CScaledRect ScaleRect(const CScaledRect& rect, double ratio);

} // namespace qzb
