#pragma once

#include <string>
#include <vector>

namespace qzb {

// Every string table key the core and the application frame look up: the captions, the frame's
// buttons and dialog ratios, the message catalogue, the device information labels and the texts
// the image decoder inserts. Each shipped table must hold all of them; pages add theirs to their
// own tables and tests.
std::vector<std::string> RequiredTextKeys();

} // namespace qzb
