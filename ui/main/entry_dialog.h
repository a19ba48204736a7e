#pragma once

#include "pages/entry_editor.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class QLabel;
class QListWidget;
class QTreeWidget;

namespace qzb {

class CAddressBook;
class CMessenger;
struct CAppContext;

// One address-book editor model seen through the operations every editor has. Fields are named
// by their ids and changed through the form's typed setters.
class IEntryEditing
{
public:
    virtual ~IEntryEditing() = default;
    virtual const CEntryForm& Form() const = 0;
    virtual CEntryForm& Form() = 0;
    virtual CEntryResult Ok(CAddressBook& book) = 0;
    virtual std::string_view CaptionKey() const = 0;
    // The number a caption such as "Speed Dial %03d" takes; 0 when it takes none.
    virtual std::int32_t CaptionNumber() const { return 0; }

    CEntryInput SetText(EntryFieldId id, std::u16string_view text) { return Form().SetText(id, text); }
    CEntryInput Choose(EntryFieldId id, std::int32_t value) { return Form().Choose(id, value); }
    CEntryInput Check(EntryFieldId id, bool checked) { return Form().Check(id, checked); }

    // The fax/e-mail editor's group check list and details dialog; other editors have neither.
    virtual bool HasGroupChecks() const { return false; }
    virtual std::u16string GroupRowLabel(std::int32_t) const { return {}; }
    virtual bool GroupChecked(std::int32_t) const { return false; }
    virtual CEntryResult SetGroupChecked(std::int32_t, bool) { return {}; }
    virtual bool HasDetails() const { return false; }
    virtual CFaxDetails PendingDetails() const { return {}; }
    virtual void ConfirmDetails(const CFaxDetails&) { }

    // The favourite editor's choice between speed dials and groups, and its list of candidates.
    virtual bool HasFavouriteList() const { return false; }
    virtual std::int32_t TargetKind() const { return 0; }
    virtual void ChooseList(std::int32_t) { }
    virtual std::vector<CFavouriteRow> Rows() const { return {}; }
    virtual std::int32_t SelectedRow() const { return -1; }
    virtual void SelectRow(std::int32_t) { }
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
    CEntryForm& Form() override { return m_editor; }
    CEntryResult Ok(CAddressBook& book) override { return m_editor.Ok(book); }
    std::string_view CaptionKey() const override { return TEditor::kCaptionKey; }
    std::int32_t CaptionNumber() const override
    {
        if constexpr (kFaxMail || std::is_same_v<TEditor, CScanEditor>) {
            return m_editor.Number();
        }
        return 0;
    }

    bool HasGroupChecks() const override { return kFaxMail; }
    std::u16string GroupRowLabel(std::int32_t group) const override
    {
        if constexpr (kFaxMail) {
            return m_editor.GroupRowLabel(group);
        }
        return {};
    }
    bool GroupChecked(std::int32_t group) const override
    {
        if constexpr (kFaxMail) {
            return m_editor.GroupChecked(group);
        }
        return false;
    }
    CEntryResult SetGroupChecked(std::int32_t group, bool checked) override
    {
        if constexpr (kFaxMail) {
            return m_editor.SetGroupChecked(group, checked);
        }
        return {};
    }
    bool HasFavouriteList() const override { return kFavourite; }
    std::int32_t TargetKind() const override
    {
        if constexpr (kFavourite) {
            return m_editor.TargetKind();
        }
        return 0;
    }
    void ChooseList(std::int32_t kind) override
    {
        if constexpr (kFavourite) {
            m_editor.ChooseList(kind);
        }
    }
    std::vector<CFavouriteRow> Rows() const override
    {
        if constexpr (kFavourite) {
            return m_editor.Rows();
        }
        return {};
    }
    std::int32_t SelectedRow() const override
    {
        if constexpr (kFavourite) {
            return m_editor.SelectedRow();
        }
        return -1;
    }
    void SelectRow(std::int32_t row) override
    {
        if constexpr (kFavourite) {
            m_editor.SelectRow(row);
        }
    }
    bool HasDetails() const override { return kFaxMail; }
    CFaxDetails PendingDetails() const override
    {
        if constexpr (kFaxMail) {
            return m_editor.PendingDetails();
        }
        return {};
    }
    void ConfirmDetails(const CFaxDetails& details) override
    {
        if constexpr (kFaxMail) {
            m_editor.ConfirmDetails(details);
        }
    }

private:
    static constexpr bool kFaxMail = std::is_same_v<TEditor, CFaxMailEditor>;
    static constexpr bool kFavourite = std::is_same_v<TEditor, CFavouriteEditor>;
    TEditor m_editor;
};

// The fax details dialog's form; its OK hands back the details instead of writing the book.
class CFaxDetailsEditing : public IEntryEditing
{
public:
    CFaxDetailsEditing(const CFaxDetails& pending, const CValueStore& store)
        : m_form(pending, store)
    {
    }
    const CEntryForm& Form() const override { return m_form; }
    CEntryForm& Form() override { return m_form; }
    CEntryResult Ok(CAddressBook&) override { return m_form.Ok(&m_result); }
    std::string_view CaptionKey() const override { return CFaxDetailsForm::kCaptionKey; }
    const CFaxDetails& Result() const { return m_result; }

private:
    CFaxDetailsForm m_form;
    CFaxDetails m_result;
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

protected:
    // A text field that loses the focus is completed by the model (an hour "7" becomes "07").
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A bold title over the fields of one frame of the dialog.
    QLabel* FrameTitle(const QString& name, const QString& text = {});
    QString Text(std::string_view key) const;
    QString Caption(const CEntryField& field) const;
    QWidget* MakeWidget(const CEntryField& field);
    // Shows a message the input brought, then redraws the fields from the model.
    void Took(const CEntryInput& input);
    void TextEdited(EntryFieldId id, const QString& text);
    void Sync();
    void OpenDetails();
    void FillFavouriteList();

    std::unique_ptr<IEntryEditing> m_editing;
    CAddressBook& m_book;
    CAppContext& m_context;
    CMessenger& m_messenger;
    std::vector<QWidget*> m_widgets; // by field id
    std::vector<QLabel*> m_labels; // by field id; null for a field that carries its caption
    std::vector<QLabel*> m_frameTitles; // by field id; null for a field that opens no frame
    std::vector<QWidget*> m_rowWidgets; // by field id: what the form row holds (the field, or the field and its note)
    std::vector<InputKind> m_inputKinds; // the typing filter each edit was configured with
    QListWidget* m_groupList = nullptr;
    QTreeWidget* m_favouriteList = nullptr;
    bool m_syncing = false;
};

// The object name of a field's widget: the field's name and "Field" ("nameField").
QString EntryWidgetName(const CEntryField& field);

} // namespace qzb
