#pragma once

#include <QDialog>

#include <cstdint>

namespace qzb {

class CMessenger;

// The About box: the product, its version and a line of description. The model of bit 0x004 shows
// the older version and no description line, in a shorter box.
class CVersionDlg : public QDialog
{
    Q_OBJECT

public:
    CVersionDlg(CMessenger& messenger, std::uint32_t modelBit, QWidget* parent = nullptr);
};

} // namespace qzb
