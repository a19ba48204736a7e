#pragma once

#include "pages/entry_editor.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QLabel;

namespace qzb {

class CAddressBook;
class CMessenger;
struct CAppContext;

// One address-book editor model seen through the operations every editor has.
class IEntryEditing
{
public:
    virtual ~IEntryEditing() = default;
    virtual const CEntryForm& Form() const = 0;
    virtual CEntryInput Set(std::string_view name, std::u16string_view value) = 0;
    virtual CEntryResult Ok(CAddressBook& book) = 0;
    virtual std::string_view CaptionKey() const = 0;
};

template <class TEditor>
class CEntryEditing : public IEntryEditing
{
public:
    template <class... TArgs>
    explicit CEntryEditing(TArgs&&... args)
        : m_editor(std::forward<TArgs>(args)...)
    {
    }
    const CEntryForm& Form() const override { return m_editor; }
    CEntryInput Set(std::string_view name, std::u16string_view value) override
    {
        return m_editor.SetField(name, value);
    }
    CEntryResult Ok(CAddressBook& book) override { return m_editor.Ok(book); }
    std::string_view CaptionKey() const override { return TEditor::kCaptionKey; }

private:
    TEditor m_editor;
};

// An entry editor as a dialog: a row per field of the model (edits with their typing filter,
// choice lists, check boxes, and the text forms of the editor's own fields), kept in step with
// the model after every change. OK runs the model's checks; a refusal names the field, which gets
// the focus with its text selected, and the dialog stays open. Cancel changes nothing.
class CEntryDialog : public QDialog
{
    Q_OBJECT

public:
    CEntryDialog(std::unique_ptr<IEntryEditing> editing,
                 CAddressBook& book,
                 CAppContext& context,
                 CMessenger& messenger,
                 QWidget* parent = nullptr);

    void accept() override;

private:
    QString Text(std::string_view key) const;
    void Changed(const std::string& name, const QString& value);
    void Sync();

    std::unique_ptr<IEntryEditing> m_editing;
    CAddressBook& m_book;
    CAppContext& m_context;
    CMessenger& m_messenger;
    std::map<std::string, QWidget*> m_widgets;
    std::map<std::string, QLabel*> m_labels;
    bool m_syncing = false;
};

} // namespace qzb
