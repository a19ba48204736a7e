#pragma once

#include "device/transport.h"

#include <QDialog>
#include <QStringList>

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

class QTreeWidget;

namespace qzb {

// Offered at start when devices of several models are plugged in and no --model was given: one
// row per device with its model name, bus:address and serial number. The chosen device fixes the
// model the window runs as.
class CModelChooser : public QDialog
{
    Q_OBJECT

public:
    CModelChooser(const std::vector<CUsbCandidate>& devices, QWidget* parent = nullptr);

    // The row of the device picked, nothing when cancelled. A queued answer is taken instead of
    // showing the dialog, so that tests can answer it.
    static std::optional<std::size_t> Ask(const std::vector<CUsbCandidate>& devices, QWidget* parent = nullptr);
    std::optional<std::size_t> Choice() const;

    // Test seam: the answer of the next Ask (a row, or nothing for Cancel), and the rows each Ask offered.
    static void SetNextAnswer(std::optional<std::size_t> row);
    static const std::vector<QStringList>& Offered();
    static void ClearOffered();

    // The rows as the dialog shows them: model name, bus:address, serial number.
    static QStringList RowTexts(const std::vector<CUsbCandidate>& devices);

private:
    static std::deque<std::optional<std::size_t>>& Answers();
    static std::vector<QStringList>& OfferedList();

    QTreeWidget* m_list = nullptr;
};

} // namespace qzb
