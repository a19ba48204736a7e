#include "ui/pages/control_names.h"

#include "ui/controls/my_ip_address_ctrl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>

#include <vector>

namespace qzb {

namespace {

// The text a label shows, without the colon that ends it, as a screen reader reads it.
QString LabelText(const QLabel& label)
{
    QString text = label.text().trimmed();
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QChar(0xFF1A))) {
        text.chop(1);
    }
    return text.trimmed();
}

} // namespace

void NameControls(const CPage& page, std::span<QWidget* const> widgets)
{
    const auto controls = page.Controls();
    std::vector<int> rows(controls.size());
    for (std::size_t i = 0, row = 0; i < controls.size(); ++i) {
        row = controls[i].row >= 0 ? static_cast<std::size_t>(controls[i].row) : (i == 0 ? 0 : row + 1);
        rows[i] = static_cast<int>(row);
    }
    // A label names the fields after it when the label table gives it a text; a label the page's
    // rules fill (a slider's value, a count) describes a field but names none.
    auto caption = [&controls, &widgets](std::size_t j) -> QString {
        if (controls[j].kind == ControlKind::Label) {
            return controls[j].textKey.empty() ? QString() : LabelText(*static_cast<QLabel*>(widgets[j]));
        }
        if (controls[j].kind == ControlKind::Check) {
            return static_cast<QAbstractButton*>(widgets[j])->text().remove(QLatin1Char('&')).trimmed();
        }
        return {};
    };
    QString lastCaption; // the nearest label above, for a row that has none of its own
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QWidget* widget = widgets[i];
        if (controls[i].kind == ControlKind::Label) {
            if (!caption(i).isEmpty()) {
                lastCaption = caption(i);
            }
            continue;
        }
        // The row's caption before the control (a label, or the check box that switches the row),
        // the label after it (a unit, a range or the value), and how many fields the caption has:
        // the controls of the row without a text of their own that the running model shows.
        QLabel* beforeLabel = nullptr;
        QString before;
        QString chosenBy; // a radio button before the field that chooses what it holds
        QString after;
        int fields = 0;
        int position = 0;
        for (std::size_t j = 0; j < controls.size(); ++j) {
            if (rows[j] != rows[i]) {
                continue;
            }
            const ControlKind kind = controls[j].kind;
            const bool label = kind == ControlKind::Label;
            const bool ownText =
                kind == ControlKind::Check || kind == ControlKind::Radio || kind == ControlKind::Button;
            if (j < i && !caption(j).isEmpty() && controls[j].column < controls[i].column) {
                before = caption(j);
                beforeLabel = label ? static_cast<QLabel*>(widgets[j]) : nullptr;
                fields = 0;
                position = 0;
            } else if (j < i && kind == ControlKind::Radio && controls[j].column < controls[i].column) {
                chosenBy = static_cast<QAbstractButton*>(widgets[j])->text().remove(QLatin1Char('&')).trimmed();
            } else if (j > i && label && after.isEmpty()) {
                after = LabelText(*static_cast<QLabel*>(widgets[j]));
            }
            if (!label && !ownText && !(controls[j].hideExcluded && !page.AppliesToModel(controls[j].modelMask))) {
                ++fields;
                position = j == i ? fields : position;
            }
        }
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        const QString own = button != nullptr ? button->text().remove(QLatin1Char('&')).trimmed() : QString();
        // A field without a caption in its row is named by the radio button before it that chooses
        // it, rather than by the nearest label above, which heads other rows.
        QString name =
            !own.isEmpty() ? own : (!before.isEmpty() ? before : (!chosenBy.isEmpty() ? chosenBy : lastCaption));
        QStringList description;
        if (!own.isEmpty() && beforeLabel != nullptr) {
            description << before; // "Yes" of which question
        }
        if (own.isEmpty() && fields > 1) {
            description << QObject::tr("Field %1 of %2").arg(position).arg(fields);
        }
        if (own.isEmpty() && !after.isEmpty()) {
            description << after; // a unit, the range the field takes, or the value it shows
        }
        if (beforeLabel != nullptr && own.isEmpty() && position <= 1) {
            beforeLabel->setBuddy(widget);
        }
        if (auto* address = qobject_cast<CMyIPAddressCtrl*>(widget)) {
            address->SetAccessibleNames(name);
        } else {
            widget->setAccessibleName(name);
        }
        if (!description.isEmpty()) {
            widget->setAccessibleDescription(description.join(QStringLiteral(", ")));
        }
    }
}

} // namespace qzb
