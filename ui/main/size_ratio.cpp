#include "ui/main/size_ratio.h"

#include "app/folders.h"

#include <QWidget>

namespace qzb {

void ApplySizeRatio(QWidget* dialog, double ratio)
{
    ratio = SaneSizeRatio(ratio);
    if (!dialog || ratio == 1.0) {
        return;
    }
    for (QObject* object : dialog->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow()) {
            continue;
        }
        const QRect g = child->geometry();
        const CScaledRect r = ScaleRect({g.x(), g.y(), g.width(), g.height()}, ratio);
        child->setGeometry(r.left, r.top, r.width, r.height);
    }
    const CScaledRect size = ScaleRect({0, 0, dialog->width(), dialog->height()}, ratio);
    dialog->resize(size.width, size.height);
}

} // namespace qzb
