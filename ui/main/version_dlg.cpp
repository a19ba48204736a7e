#include "ui/main/version_dlg.h"

#include "app/messenger.h"
#include "pages/service_man.h"
#include "ui/main/dialog_texts.h"
#include "ui/main/size_ratio.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qzb {

CVersionDlg::CVersionDlg(CMessenger& messenger, std::uint32_t modelBit, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("CVersionDlg");
    setModal(true);
    auto* product = new QLabel(this);
    product->setObjectName("productLabel");
    product->setProperty("controlId", 330);
    auto* version = new QLabel(QString::fromStdU16String(std::u16string(VersionText(modelBit))), this);
    version->setObjectName("versionLabel");
    auto* description = new QLabel(this);
    description->setObjectName("descriptionLabel");
    description->setProperty("controlId", 331);
    auto* ok = new QPushButton(this);
    ok->setObjectName("okButton");
    ok->setProperty("controlId", 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CVersionDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(description);
    layout->addWidget(ok, 0, Qt::AlignRight);
    ApplyDialogTexts(this, VersionDialogTexts(), messenger);
    // Without the description line the layout closes up and the box is that much shorter.
    description->setVisible(modelBit != kShortAboutModelBit);
    adjustSize();
    ApplySizeRatio(this, messenger.SizeRatio("STR_RATIO_DLG_VERSION"));
}

} // namespace qzb
