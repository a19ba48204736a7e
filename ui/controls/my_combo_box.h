#pragma once

#include <QComboBox>
#include <QString>

#include <cstdint>
#include <vector>

namespace qzb {

// A drop-down list of choices, each an already looked-up text and the value the item stores. A page
// fills it through a pending list so that reloading an unchanged list neither flickers nor loses the
// selection.
class CMyComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CMyComboBox(QWidget* parent = nullptr);

    void BeginChoices();
    // Value -1 adds an empty entry.
    void AddChoice(const QString& text, std::int32_t value);
    // Replaces the items with the pending list when the two differ; returns whether it did.
    bool ApplyChoices();

    // Selects the first item storing value; without one, the first item, and returns false.
    bool SelectByValue(std::int32_t value);
    // The selected item's value, -1 when none is selected.
    std::int32_t SelectedValue() const;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct CChoice
    {
        QString text;
        std::int32_t value;
    };

    bool PendingDiffers() const;
    void OnIndexChanged(int index);
    // The nearest item from index onwards in step whose text is not empty, -1 when there is none.
    int NextFilledItem(int index, int step) const;

    std::vector<CChoice> m_pending;
    int m_lastValid = -1;
    bool m_replacing = false;
};

} // namespace qzb
