#include "ui/main/dialog_texts.h"

#include "app/messenger.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QVariant>
#include <QWidget>

namespace qzb {

void ApplyDialogTexts(QWidget* dialog, std::span<const CDialogText> texts, CMessenger& messenger)
{
    for (const CDialogText& row : texts) {
        const QString text = QString::fromStdU16String(messenger.Text(row.key));
        if (row.id == 0) {
            dialog->setWindowTitle(text);
            continue;
        }
        for (QWidget* child : dialog->findChildren<QWidget*>()) {
            if (child->property("controlId").toInt() != row.id) {
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(child)) {
                label->setText(text);
                // The field a label names is said by that name, its accelerator marker left out.
                if (QWidget* field = label->buddy()) {
                    field->setAccessibleName(QString(text).remove(QRegularExpression("&(?!&)")));
                }
            } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
                button->setText(text);
            }
        }
    }
}

} // namespace qzb
