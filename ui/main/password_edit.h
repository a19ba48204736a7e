#pragma once

#include <cstdint>

class QWidget;

namespace qzb {

class CMyEdit;
class CValueStore;

// A service-man password edit: "*" for every character, the password input kind, no copy or cut.
CMyEdit* CreatePasswordEdit(QWidget* parent, const char* objectName, const CValueStore& store, std::int32_t limit);

} // namespace qzb
