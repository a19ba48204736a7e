#include "ui/main/model_chooser.h"

#include "app/model_profile.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qzb {

namespace {

QStringList Columns(const CUsbCandidate& device)
{
    const QString name =
        IsKnownModel(device.productId)
            ? QString::fromUtf8(FindModelProfile(device.productId).modelName.data(),
                                static_cast<qsizetype>(FindModelProfile(device.productId).modelName.size()))
            : QString("model %1").arg(device.productId);
    return {name,
            QString("%1:%2").arg(device.busNumber).arg(device.deviceAddress),
            QString::fromStdString(device.serialNumber)};
}

} // namespace

CModelChooser::CModelChooser(const std::vector<CUsbCandidate>& devices, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("modelChooserDialog");
    setWindowTitle("QZB");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Devices of several models are plugged in. Choose the one to work with; the "
                             "window runs as its model.",
                             this);
    label->setObjectName("modelChooserLabel");
    label->setWordWrap(true);
    layout->addWidget(label);
    m_list = new QTreeWidget(this);
    m_list->setObjectName("modelChoiceList");
    m_list->setHeaderLabels({"Model", "Bus:address", "Serial number"});
    m_list->setRootIsDecorated(false);
    for (const CUsbCandidate& device : devices) {
        m_list->addTopLevelItem(new QTreeWidgetItem(Columns(device)));
    }
    m_list->resizeColumnToContents(0);
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setMinimumWidth(480);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("modelChoiceOkButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("modelChoiceCancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &QDialog::accept);
    layout->addWidget(buttons);
    m_list->setFocus();
}

std::optional<std::size_t> CModelChooser::Choice() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (result() != QDialog::Accepted || row < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

std::optional<std::size_t> CModelChooser::Ask(const std::vector<CUsbCandidate>& devices, QWidget* parent)
{
    OfferedList().push_back(RowTexts(devices));
    if (!Answers().empty()) {
        const std::optional<std::size_t> answer = Answers().front();
        Answers().pop_front();
        return answer && *answer < devices.size() ? answer : std::nullopt;
    }
    CModelChooser dialog(devices, parent);
    dialog.exec();
    return dialog.Choice();
}

QStringList CModelChooser::RowTexts(const std::vector<CUsbCandidate>& devices)
{
    QStringList rows;
    for (const CUsbCandidate& device : devices) {
        rows.push_back(Columns(device).join("  ").trimmed());
    }
    return rows;
}

void CModelChooser::SetNextAnswer(std::optional<std::size_t> row)
{
    Answers().push_back(row);
}

const std::vector<QStringList>& CModelChooser::Offered()
{
    return OfferedList();
}

void CModelChooser::ClearOffered()
{
    OfferedList().clear();
    Answers().clear();
}

std::deque<std::optional<std::size_t>>& CModelChooser::Answers()
{
    static std::deque<std::optional<std::size_t>> answers;
    return answers;
}

std::vector<QStringList>& CModelChooser::OfferedList()
{
    static std::vector<QStringList> offered;
    return offered;
}

} // namespace qzb
