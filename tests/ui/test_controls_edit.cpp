#include "ui/controls/my_edit.h"
#include "ui/controls/my_text_edit.h"

#include "model/text_codec.h"
#include "model/value_store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace qzb {
namespace {

QString Q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

void SetPanelLanguage(CValueStore& store, std::int32_t language)
{
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
}

// Types text one character at a time as key presses; "\b" is the backspace key.
void Type(QWidget* widget, const QString& text)
{
    for (const char32_t ch : text.toUcs4()) {
        if (ch == U'\b') {
            QTest::keyClick(widget, Qt::Key_Backspace);
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&ch, 1), Qt::NoModifier);
        }
    }
}

struct CTypingCase
{
    std::string name;
    std::int32_t kind;
    std::int32_t language;
    QString typed;
    QString expected;
};

class EditTypingFilter : public testing::TestWithParam<CTypingCase>
{
};

TEST_P(EditTypingFilter, KeepsOnlyWhatTheKindAllows)
{
    const CTypingCase& row = GetParam();
    CValueStore store;
    SetPanelLanguage(store, row.language);
    CMyEdit edit;
    edit.Configure(EditRulesForKind(row.kind), &store);
    Type(&edit, row.typed);
    EXPECT_EQ(edit.text(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds,
                         EditTypingFilter,
                         // Which character each kind takes is the core's rule (test_input_chars.cpp); these rows show
                         // the edit hands it the key, the panel language from the store and the text typed so far.
                         testing::Values(CTypingCase{"Kind2", 2, 0, "a-78\b", "7"},
                                         CTypingCase{
                                             "Kind6Russian", 6, 6, Q(u"\u0410\u0411\u00BF"), Q(u"\u0410\u0411")},
                                         CTypingCase{"Kind16", 16, 0, "-1,,2--3,", "1,2-3,"}),
                         [](const testing::TestParamInfo<CTypingCase>& info) { return info.param.name; });

TEST(MyEdit, ReadsThePanelLanguageAtEachCharacter)
{
    CValueStore store;
    CMyEdit edit;
    edit.Configure(EditRulesForKind(6), &store);
    Type(&edit, Q(u"\u00BF"));
    SetPanelLanguage(store, 6);
    Type(&edit, Q(u"\u00BF\u0410"));
    EXPECT_EQ(edit.text(), Q(u"\u00BF\u0410"));

    // Text from an input method passes the same filter.
    QInputMethodEvent commit;
    commit.setCommitString(Q(u"\u0411\u00BF\u0412"));
    QApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), Q(u"\u00BF\u0410\u0411\u0412"));
}

// The process code page is shared: every test here puts Windows-1252 back.
class MyEditCodePage : public testing::Test
{
protected:
    void TearDown() override { SetProcessCodePage(kDefaultCodePage); }
};

TEST_F(MyEditCodePage, ADoubleByteCharacterDropsTheNextKeyToo)
{
    ASSERT_TRUE(SetProcessCodePage("CP932"));
    CMyEdit edit;
    edit.Configure(EditRulesForKind(15), nullptr);
    Type(&edit, Q(u"\u65E5ab\uFF71c"));
    EXPECT_EQ(edit.text(), "bc") << "a went with the double-byte character; half-width katakana are one byte";

    // Names never skip: Cyrillic takes two bytes in this page but one on a Russian panel.
    CValueStore store;
    SetPanelLanguage(store, 6);
    CMyEdit name;
    name.Configure(EditRulesForKind(6), &store);
    Type(&name, Q(u"\u0410b"));
    EXPECT_EQ(name.text(), Q(u"\u0410b"));
}

TEST_F(MyEditCodePage, ASingleBytePageNeverSkips)
{
    CMyEdit edit;
    edit.Configure(EditRulesForKind(15), nullptr);
    Type(&edit, Q(u"\u20ACa\u65E5b"));
    EXPECT_EQ(edit.text(), "ab") << "the euro sign is one byte, the CJK character has none";
}

TEST(MyEdit, NoCopyCutRefusesCopyAndCutButPastes)
{
    QApplication::clipboard()->setText("clip");
    CEditRules rules = EditRulesForKind(15);
    rules.noCopyCut = true;
    CMyEdit edit;
    edit.Configure(rules, nullptr);
    Type(&edit, "secret");
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "clip");
    EXPECT_EQ(edit.text(), "secret");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "clip");

    std::unique_ptr<QMenu> menu(edit.CreateContextMenu());
    std::vector<QString> names;
    for (const QAction* action : menu->actions()) {
        names.push_back(action->objectName());
    }
    EXPECT_EQ(std::count(names.begin(), names.end(), "edit-copy"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "edit-cut"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "edit-paste"), 1);

    CMyEdit plain;
    plain.Configure(EditRulesForKind(15), nullptr);
    Type(&plain, "open");
    plain.selectAll();
    QTest::keyClick(&plain, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "open");
    std::unique_ptr<QMenu> plainMenu(plain.CreateContextMenu());
    EXPECT_NE(plainMenu->findChild<QAction*>("edit-copy"), nullptr);
}

TEST(MyEdit, PastesOnlyWhenEveryCharacterPasses)
{
    CMyEdit edit;
    edit.Configure(EditRulesForKind(16), nullptr);
    Type(&edit, "1,");
    QApplication::clipboard()->setText(",2");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1,");
    QApplication::clipboard()->setText("2-3a");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1,");
    QApplication::clipboard()->setText("2-3");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1,2-3");

    // The context menu's paste takes the same way.
    edit.clear();
    QApplication::clipboard()->setText("x");
    std::unique_ptr<QMenu> menu(edit.CreateContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() == "edit-paste") {
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
        }
    }
    EXPECT_EQ(edit.text(), "");
}

// Records the keys that the edits hand on, as a dialog would take Enter and Escape.
class CKeyRecorder : public QWidget
{
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Shift) {
            keys.push_back(event->key());
        }
        event->accept();
    }
};

TEST(MyEdit, TabMovesThroughTheDialogAndEnterAndEscapeReachIt)
{
    CKeyRecorder dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* first = new CMyEdit(&dialog);
    auto* second = new CMyEdit(&dialog);
    auto* lines = new CMyTextEdit(&dialog);
    first->Configure(EditRulesForKind(6), nullptr);
    second->Configure(EditRulesForKind(15), nullptr);
    lines->Configure(EditRulesForKind(7), nullptr);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(lines);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    first->setFocus();

    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus()) << "Tab is dropped as a character in panel mode, yet moves on";
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_TRUE(lines->hasFocus());
    QTest::keyClick(lines, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(second->hasFocus());

    QTest::keyClick(second, Qt::Key_Return);
    QTest::keyClick(second, Qt::Key_Escape);
    QTest::keyClick(lines, Qt::Key_Return);
    EXPECT_EQ(dialog.keys, (std::vector<int>{Qt::Key_Return, Qt::Key_Escape, Qt::Key_Return}));
    EXPECT_TRUE(lines->toPlainText().isEmpty());
}

TEST(MyTextEdit, TakesLineBreaksOnlyForTheMultiLineKindWithinTheLimit)
{
    CMyTextEdit edit;
    edit.Configure(EditRulesForKind(18), nullptr);
    edit.SetLimit(5);
    Type(&edit, "a;");
    QTest::keyClick(&edit, Qt::Key_Return);
    Type(&edit, "b~cde");
    EXPECT_EQ(edit.toPlainText(), "a\nb~c");

    edit.clear();
    QApplication::clipboard()->setText("x\ny");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.toPlainText(), "x\ny");
    QApplication::clipboard()->setText(";");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.toPlainText(), "x\ny");
}

} // namespace
} // namespace qzb
