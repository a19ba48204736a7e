#include "app/folders.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace qzb {

bool CreateFolderPath(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

int ScaleForDisplay(int length, double horizontalDpi)
{
    if (horizontalDpi <= 0.0) {
        return length;
    }
    return static_cast<int>(length * (horizontalDpi / 96.0));
}

double SaneSizeRatio(double ratio)
{
    return ratio >= kMinSizeRatio && ratio <= kMaxSizeRatio ? ratio : 1.0;
}

CScaledRect ScaleRect(const CScaledRect& rect, double ratio)
{
    ratio = SaneSizeRatio(ratio);
    auto scale = [ratio](int v) {
        constexpr double kLow = std::numeric_limits<int>::min();
        constexpr double kHigh = std::numeric_limits<int>::max();
        return static_cast<int>(std::clamp(v * ratio, kLow, kHigh));
    };
    return {scale(rect.left), scale(rect.top), scale(rect.width), scale(rect.height)};
}

} // namespace qzb
