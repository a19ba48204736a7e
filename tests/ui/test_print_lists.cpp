#include "ui/main/select_pri_item_dlg.h"

#include "addressbook/address_book.h"
#include "app/app_context.h"
#include "app/language_choice.h"
#include "app/messenger.h"
#include "app/model_profile.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "print/print_settings.h"
#include "print/printer_check.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/print_dialogs.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_dlg.h"
#include "ui/print/list_painter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <set>

namespace qzb {
namespace {

// Texts pass through the process code page, which follows the window's language; the next test
// starts in the default one again.
class CDefaultCodePageAfterwards
{
public:
    CDefaultCodePageAfterwards() = default;
    ~CDefaultCodePageAfterwards() { SetProcessCodePage(kDefaultCodePage); }
    CDefaultCodePageAfterwards(const CDefaultCodePageAfterwards&) = delete;
    CDefaultCodePageAfterwards& operator=(const CDefaultCodePageAfterwards&) = delete;
};

class CFakePrinters : public IInstalledPrinters
{
public:
    std::vector<CInstalledPrinter> Printers() const override { return printers; }
    std::vector<CInstalledPrinter> printers;
};

// The print command against the simulated device, printing to PDF files.
class PrintCommand : public CWindowFixture
{
protected:
    PrintCommand()
        : CWindowFixture(8313)
    {
        window->SetInstalledPrinters(&printers);
        CPrintDialogs::Clear();
    }
    ~PrintCommand() override { CPrintDialogs::Clear(); }

    // Answers the selection dialog from inside its event loop; any other dialog is closed so that
    // no test hangs.
    void AnswerSelection(const char* button)
    {
        QTimer::singleShot(0, [this, button] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<CSelectPriItemDlg*>(modal)) {
                m_selectionShown = true;
                QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
            }
            if (modal != nullptr && modal->isVisible()) {
                static_cast<QDialog*>(modal)->reject();
            }
        });
    }

    void ChooseSpeedDials(const char16_t* numbers)
    {
        context.store.SetItemNumber(kPrintItemPage, "PRINT_SPEED_DIAL", 1);
        context.store.SetItemNumber(kPrintItemPage, "PRINT_SPEED_DIAL_LIST_MODE", 1);
        context.store.SetItemText(kPrintItemPage, "PRINT_SPEED_DIAL_SELECT_NO", numbers);
    }

    // The window in a language: its string table, read in the language's code page as a start in
    // that language does, and the panel set to it.
    void SpeakLanguage(std::string_view language, std::int32_t panelLanguage)
    {
        ASSERT_TRUE(SetProcessCodePage(LanguageCodePage(language)));
        const std::filesystem::path table =
            std::filesystem::path(QZB_TEST_DATA_DIR) / std::string(language) / StringTableFileName(*context.profile);
        context.strings = CStringTable();
        ASSERT_TRUE(context.strings.LoadFile(table).Ok()) << table;
        context.store.SetItemNumber(kPanelLanguagePage, kPanelLanguageKey, panelLanguage);
    }

    void PutSpeedDial(std::int32_t number, std::u16string_view name)
    {
        CFaxMailEntry entry;
        entry.number = number;
        entry.name.Assign(TextToPanelBytes(name));
        entry.address.Assign("0123");
        entry.setDate = PackDeviceDate();
        ASSERT_EQ(context.device.book.PutFaxMailEntry(entry), kOk);
    }

    static QString PdfText(const QString& pdf)
    {
        QProcess process;
        process.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(process.waitForFinished(60000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The characters of the laid-out lists that none of the faces of their font can draw: they
    // would print as empty boxes.
    static QString CharactersWithoutGlyphs(const CPrintSource& source)
    {
        QPdfWriter writer(QStringLiteral("/dev/null"));
        writer.setResolution(600);
        const CPageMetrics metrics = DeviceMetrics(writer);
        const CPrintFonts fonts(PageGeometry(metrics), &writer);
        CPrintSelection selection;
        selection.speedDial = selection.groupDial = selection.favourite = true;
        selection.speedNumbers = {1, 2};
        selection.groupNumbers = {1};
        selection.favouriteNumbers = {1};
        QString missing;
        for (const CPrintPage& page : LayOutLists(source, selection, metrics, fonts).pages) {
            for (const CPrintText& text : page.texts) {
                const QStringList faces = fonts.Font(text.font).families();
                for (const char32_t c : QString::fromStdU16String(text.text).toUcs4()) {
                    const bool drawn = c == U' ' || std::any_of(faces.begin(), faces.end(), [c](const QString& face) {
                                           return QRawFont::fromFont(QFont(face)).supportsCharacter(c);
                                       });
                    if (!drawn && !missing.contains(QString::fromUcs4(&c, 1))) {
                        missing += QString::fromUcs4(&c, 1);
                    }
                }
            }
        }
        return missing;
    }

    // The speed dial numbers of the PDF's text, and its page count.
    static std::pair<std::set<QString>, int> PrintedNumbers(const QString& pdf)
    {
        QProcess process;
        process.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(process.waitForFinished(60000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        std::set<QString> numbers;
        const QRegularExpression number("SD-\\d{3}");
        for (auto it = number.globalMatch(text); it.hasNext();) {
            numbers.insert(it.next().captured());
        }
        return {numbers, static_cast<int>(text.count('\f'))};
    }

    CFakePrinters printers;
    QTemporaryDir folder;
    bool m_selectionShown = false;
};

TEST_F(PrintCommand, SelectionDialogEnablesOkForAChosenListAndStoresIt)
{
    CSelectPriItemDlg dialog(context, messenger);
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    auto* speed = dialog.findChild<QCheckBox*>("speedDialCheck");
    auto* edit = dialog.findChild<QLineEdit*>("speedDialNumbersEdit");
    ASSERT_TRUE(ok && speed && edit);
    EXPECT_FALSE(ok->isEnabled()) << "no list checked";
    EXPECT_FALSE(edit->isEnabled());

    QTest::mouseClick(speed, Qt::LeftButton);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    QTest::mouseClick(dialog.findChild<QRadioButton*>("speedDialSelectRadio"), Qt::LeftButton);
    QTest::keyClicks(edit, "1-3,7");
    QTest::mouseClick(speed, Qt::LeftButton);
    EXPECT_FALSE(ok->isEnabled()) << "all three cleared again";
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter does not take a selection without a list";

    QTest::mouseClick(speed, Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(context.store.GetItemNumber(kPrintItemPage, "PRINT_SPEED_DIAL"), 1);
    EXPECT_EQ(context.store.GetItemNumber(kPrintItemPage, "PRINT_SPEED_DIAL_LIST_MODE"), 1);
    EXPECT_EQ(context.store.GetItemText(kPrintItemPage, "PRINT_SPEED_DIAL_SELECT_NO"), u"1-3,7");
    EXPECT_EQ(context.store.GetItemNumber(kPrintItemPage, "PRINT_GROUP_DIAL"), 0);
}

// Each list's "Selected numbers" field is named by its own row, never by the range label of the
// list above it; its range is its description. The radio buttons are a group to a screen reader.
TEST_F(PrintCommand, EachSelectedNumbersFieldIsNamedByItsOwnRow)
{
    CSelectPriItemDlg dialog(context, messenger);
    dialog.show();
    auto* select = dialog.findChild<QRadioButton*>("speedDialSelectRadio");
    ASSERT_NE(select, nullptr);
    const QString selectText = select->text().remove('&');
    for (const char* list : {"speedDial", "groupDial", "addressBook"}) {
        const QString name = QString::fromLatin1(list);
        auto* edit = dialog.findChild<QLineEdit*>(name + "NumbersEdit");
        auto* range = dialog.findChild<QLabel*>(name + "RangeLabel");
        ASSERT_TRUE(edit && range) << list;
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(edit);
        EXPECT_EQ(field->text(QAccessible::Name), selectText) << list;
        EXPECT_TRUE(field->text(QAccessible::Description).contains(range->text().remove(':').trimmed())) << list;
        for (const char* radio : {"AllRadio", "SelectRadio"}) {
            auto* button = dialog.findChild<QRadioButton*>(name + radio);
            ASSERT_NE(button, nullptr) << list << radio;
            EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::RadioButton) << list << radio;
        }
    }
}

TEST_F(PrintCommand, PrintsTheChosenNumbersToAPdf)
{
    struct CCase
    {
        const char16_t* numbers;
        std::size_t expected;
    };
    for (const CCase c : {CCase{u"1-3,7", 4}, CCase{u"300", 250}}) {
        ChooseSpeedDials(c.numbers);
        const QString pdf = folder.filePath("lists.pdf");
        CPrintDialogs::SetNextPdfName(pdf);
        AnswerSelection("okButton");
        window->PrintLists();
        EXPECT_TRUE(m_selectionShown);
        const auto [numbers, pages] = PrintedNumbers(pdf);
        EXPECT_EQ(numbers.size(), c.expected);
        if (c.expected == 4) {
            EXPECT_EQ(numbers, (std::set<QString>{"SD-001", "SD-002", "SD-003", "SD-007"}));
        } else {
            EXPECT_TRUE(numbers.count("SD-250") && numbers.count("SD-001"));
            EXPECT_GT(pages, 3);
        }
    }
    // Cancel in the selection dialog prints nothing.
    QFile::remove(folder.filePath("lists.pdf"));
    CPrintDialogs::SetNextPdfName(folder.filePath("lists.pdf"));
    AnswerSelection("cancelButton");
    window->PrintLists();
    EXPECT_FALSE(QFile::exists(folder.filePath("lists.pdf")));
}

// In Japanese and Russian the window prints the lists' titles and headings from the language's
// table and the names in the panel's code, and every character has a face that draws it.
TEST_F(PrintCommand, PrintsTheListsInJapaneseAndRussianWithTheirGlyphs)
{
    struct CCase
    {
        std::string_view language;
        std::int32_t panelLanguage;
        std::u16string_view name;
        std::vector<QString> expected;
    };
    const CCase cases[] = {
        {"ja", 11, u"ﾔﾏﾀﾞ ｼｮｳｼﾞ", {"短縮ダイヤルリスト", "宛先番号", "登録日", "ユーザー:", "ﾔﾏﾀﾞ ｼｮｳｼﾞ"}},
        {"ru", 6, u"Жизнь Шпиц", {"СПИСОК БЫСТРОГО НАБОРА", "НОМЕР АДРЕСАТА", "ПОЛЬЗОВАТЕЛЬ:", "Жизнь Шпиц"}},
    };
    const CDefaultCodePageAfterwards codePage;
    for (const CCase& c : cases) {
        SpeakLanguage(c.language, c.panelLanguage);
        PutSpeedDial(1, c.name);
        ChooseSpeedDials(u"1-2");
        const QString pdf = folder.filePath(QString::fromLatin1(c.language) + ".pdf");
        CPrintDialogs::SetNextPdfName(pdf);
        AnswerSelection("okButton");
        window->PrintLists();
        const QString text = PdfText(pdf);
        for (const QString& expected : c.expected) {
            EXPECT_TRUE(text.contains(expected)) << c.language << ": " << expected.toStdString() << " missing in\n"
                                                 << text.toStdString();
        }
        EXPECT_EQ(CharactersWithoutGlyphs(PrintSourceOf(context, u"Пользователь", PackDeviceDate())), QString())
            << c.language;
    }
}

// The layout places Japanese text by the widths of the face that draws it, which need not be the
// list's own face.
TEST_F(PrintCommand, MeasuresJapaneseWithTheFaceThatDrawsIt)
{
    QPdfWriter writer(QStringLiteral("/dev/null"));
    writer.setResolution(600);
    const CPrintFonts fonts(PageGeometry(DeviceMetrics(writer)), &writer);
    const QFont& small = fonts.Font(PrintFont::Small);
    const QStringList faces = small.families();
    const auto drawing = std::find_if(faces.begin(), faces.end(), [](const QString& face) {
        return QRawFont::fromFont(QFont(face)).supportsCharacter(U'宛');
    });
    ASSERT_NE(drawing, faces.end()) << faces.join(", ").toStdString();
    QFont alone(*drawing);
    alone.setPixelSize(small.pixelSize());
    const QString text = QStringLiteral("宛先番号");
    EXPECT_NEAR(fonts.TextWidth(PrintFont::Small, text.toStdU16String()),
                QFontMetricsF(alone, &writer).horizontalAdvance(text),
                1.0);
}

TEST_F(PrintCommand, DeviceQueueOnUsbStopsPrintingWhileConnected)
{
    printers.printers = {{"mf", "MERIDAN TOVELL lumatrace 8120MF PCL", "usb://MERIDAN/8120"}};
    ChooseSpeedDials(u"1");
    ASSERT_EQ(window->Connect(), kOk);
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    AnswerSelection("okButton");
    window->PrintLists();
    EXPECT_FALSE(m_selectionShown);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgPrintingStart);
    window->Disconnect();
    // Off line the queue is no obstacle.
    CPrintDialogs::SetNextPdfName(folder.filePath("lists.pdf"));
    AnswerSelection("okButton");
    window->PrintLists();
    EXPECT_TRUE(m_selectionShown);
    EXPECT_TRUE(QFile::exists(folder.filePath("lists.pdf")));
}

// Without a queued name the print dialog and then the preview open; the preview's Print only
// confirms the printer the dialog chose, so no second print dialog follows.
TEST_F(PrintCommand, PreviewPrintConfirmsThePrinterChosen)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("chosen.pdf"));
    std::vector<std::string> opened;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&opened] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            opened.push_back("print dialog");
            dialog->accept();
        } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
            opened.push_back("preview");
            for (QAction* action : preview->findChildren<QAction*>()) {
                if (action->text() == QPrintPreviewDialog::tr("Print")) {
                    action->trigger();
                    return;
                }
            }
            preview->reject();
        } else if (modal != nullptr) {
            static_cast<QDialog*>(modal)->reject();
        }
    });
    answer.start(10);
    int painted = 0;
    const PrintAnswer result = CPrintDialogs::ChooseAndPreview(nullptr, printer, [&painted](QPrinter*) { ++painted; });
    EXPECT_EQ(result, PrintAnswer::Print);
    EXPECT_EQ(opened, (std::vector<std::string>{"print dialog", "preview"}));
    EXPECT_GE(painted, 1) << "the preview shows the pages";
    EXPECT_EQ(printer.outputFileName(), folder.filePath("chosen.pdf"));
}

} // namespace
} // namespace qzb
