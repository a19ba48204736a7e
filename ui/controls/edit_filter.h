#pragma once

#include "model/input_chars.h"

#include <QString>

class QKeyEvent;

namespace qzb {

class CValueStore;

// What a restricted edit makes of one key press.
enum class EEditKey {
    Type, // characters to pass through the typing filter
    Copy,
    Cut,
    Paste,
    NextControl,
    PreviousControl,
    Enter,
    Escape,
    Editing // movement, deletion, undo and the other shortcuts of the platform edit
};

// The typing filter that CMyEdit and CMyTextEdit share: the core's character rules with the edit's
// skip-next flag, and the panel language read from the value store at every character.
class CEditFilter
{
public:
    void Configure(const CEditRules& rules, const CValueStore* store);
    const CEditRules& Rules() const { return m_rules; }

    static EEditKey Classify(const QKeyEvent& event);

    // The characters of typed that pass, one by one, each as if typed at the end of what went before.
    QString FilterTyped(const QString& typed, const QString& fieldText);
    // A paste or drop goes in only whole: every character must pass as typing would, the field's text
    // growing with it. The skip-next flag plays no part, as the text does not come as typed characters.
    bool InsertionAllowed(const QString& inserted, const QString& before, const QString& after) const;

    bool CopyAllowed(const QString& fieldText) const;
    bool CutAllowed(const QString& fieldText) const;
    bool LineBreaksAllowed(const QString& fieldText) const;

private:
    const CValueStore& Store() const;

    CEditRules m_rules;
    const CValueStore* m_store = nullptr;
    bool m_skipNext = false;
};

} // namespace qzb
