#pragma once

#include <filesystem>

namespace qzb {

// Creates the folder and every missing parent. True when the folder exists afterwards.
bool CreateFolderPath(const std::filesystem::path& folder);

// A length in 96-dpi units scaled to the screen; unchanged when the screen's dpi is unknown (<= 0).
int ScaleForDisplay(int length, double horizontalDpi);

struct CScaledRect
{
    int left, top, width, height;
};

// A dialog control's rectangle scaled by a size ratio, each product truncated toward zero.
CScaledRect ScaleRect(const CScaledRect& rect, double ratio);

} // namespace qzb
