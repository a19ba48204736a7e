#include "ui/controls/my_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace qzb {

CMyComboBox::CMyComboBox(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &CMyComboBox::OnIndexChanged);
}

void CMyComboBox::BeginChoices()
{
    m_pending.clear();
}

void CMyComboBox::AddChoice(const QString& text, std::int32_t value)
{
    m_pending.push_back({value == -1 ? QString() : text, value});
}

bool CMyComboBox::PendingDiffers() const
{
    if (static_cast<std::size_t>(count()) != m_pending.size()) {
        return true;
    }
    for (int i = 0; i < count(); ++i) {
        const CChoice& choice = m_pending[static_cast<std::size_t>(i)];
        if (itemText(i) != choice.text || itemData(i).toInt() != choice.value) {
            return true;
        }
    }
    return false;
}

bool CMyComboBox::ApplyChoices()
{
    if (!PendingDiffers()) {
        return false;
    }
    m_replacing = true;
    clear();
    for (const CChoice& choice : m_pending) {
        addItem(choice.text, choice.value);
    }
    m_lastValid = currentIndex();
    m_replacing = false;
    return true;
}

void CMyComboBox::showPopup()
{
    // The list drops down wide enough for its longest text even when the box is narrower. It is
    // measured as it opens: most lists of a page never do, and a list view costs its box dearly.
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    view()->setMinimumWidth(std::max(width(), widest + scrollBar + 8));
    QComboBox::showPopup();
}

bool CMyComboBox::SelectByValue(std::int32_t value)
{
    const int index = findData(value);
    setCurrentIndex(index >= 0 ? index : 0);
    return index >= 0;
}

std::int32_t CMyComboBox::SelectedValue() const
{
    return currentIndex() < 0 ? -1 : itemData(currentIndex()).toInt();
}

void CMyComboBox::OnIndexChanged(int index)
{
    if (m_replacing) {
        return;
    }
    if (index >= 0) {
        m_lastValid = index;
    } else if (m_lastValid >= 0 && m_lastValid < count()) {
        setCurrentIndex(m_lastValid);
    }
}

int CMyComboBox::NextFilledItem(int index, int step) const
{
    for (; index >= 0 && index < count(); index += step) {
        if (!itemText(index).isEmpty()) {
            return index;
        }
    }
    return -1;
}

void CMyComboBox::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == 0) {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                step = -1;
                break;
            case Qt::Key_Right:
            case Qt::Key_Down:
                step = 1;
                break;
            default:
                break;
        }
    }
    if (step == 0) {
        QComboBox::keyPressEvent(event);
        return;
    }
    event->accept();
    const int target = NextFilledItem(currentIndex() + step, step);
    if (target >= 0 && target != currentIndex()) {
        setCurrentIndex(target);
        emit activated(target);
    }
}

} // namespace qzb
