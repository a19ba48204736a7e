#include "ui/controls/edit_filter.h"

#include "model/value_store.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <string_view>

namespace qzb {

namespace {

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

bool HasControlCharacter(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) {
            return true;
        }
    }
    return false;
}

} // namespace

void CEditFilter::Configure(const CEditRules& rules, const CValueStore* store)
{
    m_rules = rules;
    m_store = store;
    m_skipNext = false;
}

const CValueStore& CEditFilter::Store() const
{
    // An edit not bound to a store reads the initial panel language.
    static const CValueStore kInitialStore;
    return m_store ? *m_store : kInitialStore;
}

EEditKey CEditFilter::Classify(const QKeyEvent& event)
{
    if (event.matches(QKeySequence::Copy)) {
        return EEditKey::Copy;
    }
    if (event.matches(QKeySequence::Cut)) {
        return EEditKey::Cut;
    }
    if (event.matches(QKeySequence::Paste)) {
        return EEditKey::Paste;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool shortcut = (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) != 0 &&
                          (modifiers & Qt::AltModifier) == 0; // Ctrl+Alt is AltGr on many keyboards
    switch (event.key()) {
        case Qt::Key_Tab:
            if (!shortcut) {
                return (modifiers & Qt::ShiftModifier) ? EEditKey::PreviousControl : EEditKey::NextControl;
            }
            break;
        case Qt::Key_Backtab:
            if (!shortcut) {
                return EEditKey::PreviousControl;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return EEditKey::Enter;
        case Qt::Key_Escape:
            return EEditKey::Escape;
        default:
            break;
    }
    if (shortcut || event.text().isEmpty() || HasControlCharacter(event.text())) {
        return EEditKey::Editing;
    }
    return EEditKey::Type;
}

QString CEditFilter::FilterTyped(const QString& typed, const QString& fieldText)
{
    QString field = fieldText;
    QString accepted;
    for (const char32_t ch : typed.toUcs4()) {
        if (FilterTypedChar(ch, m_rules, View(field), Store(), m_skipNext)) {
            const QString piece = QString::fromUcs4(&ch, 1);
            accepted += piece;
            field += piece;
        }
    }
    return accepted;
}

bool CEditFilter::InsertionAllowed(const QString& inserted, const QString& before, const QString& after) const
{
    QString grown = before;
    for (const char32_t ch : inserted.toUcs4()) {
        if (!IsCharAccepted(ch, m_rules, View(grown + after), Store())) {
            return false;
        }
        grown += QString::fromUcs4(&ch, 1);
    }
    return true;
}

bool CEditFilter::CopyAllowed(const QString& fieldText) const
{
    return IsCharAccepted(kCharCtrlC, m_rules, View(fieldText), Store());
}

bool CEditFilter::CutAllowed(const QString& fieldText) const
{
    return IsCharAccepted(kCharCtrlX, m_rules, View(fieldText), Store());
}

bool CEditFilter::LineBreaksAllowed(const QString& fieldText) const
{
    return IsCharAccepted(kCharCarriageReturn, m_rules, View(fieldText), Store());
}

} // namespace qzb
