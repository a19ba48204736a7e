#pragma once

#include "pages/page.h"

#include <QScrollArea>

#include <cstdint>
#include <map>
#include <vector>

class QButtonGroup;
class QGridLayout;

namespace qzb {

class CMessenger;

// The widgets of one page model: built from its control table, mirroring the control values both
// ways, and adding what only a screen has (layout, size ratio, scrolling, keyboard and focus). Every
// rule stays in the model; after each change the view takes the model's state again.
class CPageView : public QScrollArea
{
    Q_OBJECT

public:
    // Scroll step of a line, in pixels; a wheel notch scrolls a whole page.
    static constexpr int kLineStep = 10;
    // Margin kept between a control brought into view and the edge it comes in by.
    static constexpr int kScrollMargin = 20;

    // The messenger shows the messages of the setting dialogs the page opens.
    CPageView(const CPageDef& def, const CPageEnv& env, CMessenger& messenger, QWidget* parent = nullptr);

    CPage& Model() { return m_page; }
    const CPageDef& Def() const { return m_page.Def(); }

    // Texts, visibility and choices from the model, the widgets, their values and the size ratio.
    void Initialise();
    // Store -> controls.
    void Reload();
    // Checks and writes the page; on a failure nothing is written and the result names the control.
    CCheckResult Commit();
    // Focus on the control of a failed check, its text selected; an address control's field.
    void FocusAfterError(const CCheckResult& result);
    // The first and last controls the Tab key reaches, in table order.
    QWidget* FirstTabStop() const;
    QWidget* LastTabStop() const;
    void ResetScroll();
    double Ratio() const { return m_ratio; }
    // Inside a setting dialog Enter and Escape reach the dialog (OK and Cancel); on a page they do nothing.
    void SetDialogKeys(bool dialogKeys) { m_dialogKeys = dialogKeys; }
    // The room the controls take at the size ratio, scroll area frame included.
    QSize ContentSize() const;

    QWidget* Widget(std::int32_t id) const;

signals:
    void ControlChanged(std::int32_t id);

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateWidget(const CControlDef& control, const CControlState& state);
    void Connect(const CControlDef& control, QWidget* widget);
    // Read-only controls and controls whose item never travels take no input.
    void MarkNotEditable(const CControlDef& control, QWidget* widget);
    bool TakesInput(const CControlDef& control) const;
    // A switch the device's panel sets whose settings dialog holds values that do travel: the click
    // leaves the switch as it is and only opens the dialog.
    bool OpensDialogOnly(const CControlDef& control) const;
    // Runs the setting dialog over the page; true when it closed with OK.
    bool ExecDialog(const CPageDef& def);
    void WatchKeys(QWidget* widget);
    void ApplyRatio();
    void Sync();
    void SyncControl(std::size_t index);
    void UserChanged(std::int32_t id);
    bool HandlePageKey(const class QKeyEvent& key);
    void ScrollBy(bool vertical, int delta);
    // Opens the setting dialog the control's new value names; Cancel puts priorValue back, or for a
    // radio button checks priorRadio again.
    void OpenDialogFor(std::int32_t id, std::int32_t priorValue, std::int32_t priorRadio = 0);
    std::int32_t CheckedRadio(std::int32_t group) const;

    CPage m_page;
    CMessenger& m_messenger;
    QWidget* m_content = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<QWidget*> m_widgets; // by control index
    std::map<std::int32_t, QButtonGroup*> m_radioGroups; // by the model's group number
    bool m_syncing = false;
    double m_ratio = 1.0;
    bool m_dialogKeys = false;
    // The combo whose selection changed last and its value before, for a dialog its choice opens.
    std::int32_t m_priorId = 0;
    std::int32_t m_priorValue = 0;
};

} // namespace qzb
