#pragma once

#include <QIcon>

#include <cstdint>

namespace qzb {

// The toolbar's pictures, drawn here so that the program needs no icon theme: a plug for the
// connection commands, arrows for the transfers, a folder, a disc and a key.
QIcon ToolbarIcon(std::uint32_t command);

} // namespace qzb
