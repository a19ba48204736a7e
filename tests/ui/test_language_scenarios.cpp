#include "tests/ui/entry_scenario.h"

#include "model/panel_code.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

namespace qzb {
namespace {

// A fax entry made and uploaded in a window that speaks the language: the texts come from its
// table, and what the user typed reaches the device as typed.
template <const char* Language>
class LanguageScenario : public CEntryScenario
{
protected:
    LanguageScenario()
        : CEntryScenario(Language)
    {
    }

    void MakeAndUploadAFaxEntry(const QString& name)
    {
        const QString node = TreeItem(kFaxMailNode)->text(0);
        EXPECT_EQ(node, QString::fromStdU16String(TranslatedText(&context.strings, "STR_DR_RAD_FAX_EMAIL")));
        EXPECT_NE(node, QString::fromStdU16String(EnglishText("STR_DR_RAD_FAX_EMAIL")));
        ClickTreeItem(kFaxMailNode);
        InDialog(Button("dialNewButton"), [&](QDialog& editor) {
            const auto* cancel = In<QPushButton>(editor, "cancelButton");
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(),
                      QString::fromStdU16String(TranslatedText(&context.strings, "STR_MSG_BTN_CANCEL")));
            EXPECT_NE(cancel->text(), "Cancel");
            Type(editor, "nameField", name);
            Type(editor, "numberField", "0301234567");
            ClickOk(editor);
        });
        const auto memory = UploadAndRead();
        const CFaxMailEntry* made = Named(memory->device.book, TextToPanelBytes(name.toStdU16String()));
        ASSERT_NE(made, nullptr) << "the entry did not reach the device";
        EXPECT_EQ(made->address.View(), "0301234567");
    }
};

constexpr char kGerman[] = "de";
constexpr char kJapanese[] = "ja";
using GermanScenario = LanguageScenario<kGerman>;
using JapaneseScenario = LanguageScenario<kJapanese>;

TEST_F(GermanScenario, AFaxEntryIsMadeAndUploaded)
{
    EXPECT_EQ(context.languageClass, 1920);
    MakeAndUploadAFaxEntry(QString::fromUtf8("B\u00fcro N\u00f6rdlingen"));
}

TEST_F(JapaneseScenario, AFaxEntryIsMadeAndUploaded)
{
    EXPECT_EQ(context.languageClass, 2048);
    MakeAndUploadAFaxEntry("Tanaka");
}

} // namespace
} // namespace qzb
