#include "app/folders.h"

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

CScaledRect ScaleRect(const CScaledRect& rect, double ratio)
{
    auto scale = [ratio](int v) { return static_cast<int>(v * ratio); };
    return {scale(rect.left), scale(rect.top), scale(rect.width), scale(rect.height)};
}

} // namespace qzb
