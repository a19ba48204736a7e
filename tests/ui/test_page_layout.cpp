#include "ui/pages/page_view.h"

#include "app/app_context.h"
#include "app/language_choice.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "model/text_codec.h"
#include "pages/page_registry.h"
#include "tests/support/models.h"
#include "tests/ui/layout_checks.h"
#include "ui/main/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayoutItem>
#include <QRadioButton>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace qzb {
namespace {

// What one grid cell holds as the user sees it: the widgets shown there (a radio group drawn side
// by side counts as one cell).
struct CShownCell
{
    int column = 0;
    int span = 1;
    std::vector<QWidget*> widgets;
};

void CollectShown(QLayoutItem* item, std::vector<QWidget*>& shown)
{
    if (QWidget* widget = item->widget()) {
        if (!widget->isHidden()) {
            shown.push_back(widget);
        }
    } else if (QLayout* layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i) {
            CollectShown(layout->itemAt(i), shown);
        }
    }
}

std::map<int, std::vector<CShownCell>> ShownRows(QGridLayout& grid)
{
    std::map<int, std::vector<CShownCell>> rows;
    for (int i = 0; i < grid.count(); ++i) {
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        grid.getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        CShownCell cell{column, columnSpan, {}};
        CollectShown(grid.itemAt(i), cell.widgets);
        if (!cell.widgets.empty()) {
            rows[row].push_back(cell);
        }
    }
    for (auto& [row, cells] : rows) {
        std::sort(
            cells.begin(), cells.end(), [](const CShownCell& a, const CShownCell& b) { return a.column < b.column; });
    }
    return rows;
}

bool IsSwitch(const QWidget* widget)
{
    return qobject_cast<const QCheckBox*>(widget) != nullptr || qobject_cast<const QRadioButton*>(widget) != nullptr;
}

// A row of switches only: how many, and whether a label in column 0 comes before them; count -1
// for another row.
struct CSwitchRow
{
    int count = -1;
    bool labelled = false;
};

CSwitchRow SwitchRow(const std::vector<CShownCell>& cells)
{
    CSwitchRow row{0, false};
    for (const CShownCell& cell : cells) {
        if (cell.column == 0 && qobject_cast<QLabel*>(cell.widgets.front()) != nullptr) {
            row.labelled = true;
        } else if (cell.widgets.size() == 1 && IsSwitch(cell.widgets.front())) {
            ++row.count;
        } else {
            return {};
        }
    }
    return row;
}

// A model and the language of its texts.
using CModelLanguage = std::tuple<std::int32_t, std::string_view>;

class PageLayout : public ::testing::TestWithParam<CModelLanguage>
{
protected:
    void SetUp() override
    {
        // The texts pass through the code page of the language's desktop, as when qzb starts in it.
        SetProcessCodePage(LanguageCodePage(Language()));
        m_context.language = std::string(Language());
        CDataFolders folders;
        folders.commandLine = std::filesystem::path(QZB_TEST_DATA_DIR);
        CKeyedText problem;
        ASSERT_TRUE(LoadProfileStringTable(m_context, folders, problem)) << RenderTextUtf8(problem, nullptr);
        ASSERT_EQ(m_context.language, Language());
    }
    void TearDown() override { SetProcessCodePage(kDefaultCodePage); }

    static std::string_view Language() { return std::get<1>(GetParam()); }
    CPageEnv Env() { return {&m_context.store, &m_context.strings, m_context.modelBit, &m_context.device}; }

    CAppContext m_context{std::get<0>(GetParam())};
    CQtMessagePresenter m_presenter;
    CMessenger m_messenger{m_context.strings, m_presenter};
};

// Every page and setting dialog of the model, drawn at the size it opens with: no control covers
// another or is cut short, every field has a name a screen reader says, a row the model hides
// leaves no hole (a cell left empty inside a row, or a grid of switches with a short row before its
// last), and a label alone on its row is drawn as the heading of the rows after it.
TEST_P(PageLayout, EveryPageIsDrawnWithoutHolesOverlapsOrCutTexts)
{
    for (const CPageDef* def : PageDefsForModel(m_context.modelBit)) {
        const std::string page = std::string(def->name) + " (" + std::string(Language()) + ")";
        CPageView view(*def, Env(), m_messenger);
        view.Initialise();
        view.resize(view.ContentSize());
        view.show();
        QWidget* content = view.widget();
        content->layout()->activate();

        std::vector<QWidget*> shown;
        for (const CControlDef& control : view.Model().Controls()) {
            QWidget* widget = view.Widget(control.id);
            if (widget != nullptr && widget->isVisibleTo(content)) {
                shown.push_back(widget);
            }
        }
        ExpectControlsFit(*content, shown, page);

        auto* grid = qobject_cast<QGridLayout*>(content->layout());
        ASSERT_NE(grid, nullptr) << page;
        const auto rows = ShownRows(*grid);
        int usedColumns = 0;
        for (const auto& [row, cells] : rows) {
            usedColumns = std::max(usedColumns, cells.back().column + cells.back().span);
        }
        // A grid of switches: a row of them, and the unlabelled rows of them after it. Only its last
        // row may be short.
        std::vector<int> gridRows;
        auto checkGrid = [&] {
            for (std::size_t i = 1; i + 1 < gridRows.size(); ++i) {
                EXPECT_EQ(gridRows[i], gridRows[0]) << page << ": a short row inside a grid of switches";
            }
            gridRows.clear();
        };
        for (const auto& [row, cells] : rows) {
            const std::string where = page + " row " + std::to_string(row);
            for (std::size_t i = 1; i < cells.size(); ++i) {
                EXPECT_EQ(cells[i].column, cells[i - 1].column + cells[i - 1].span)
                    << where << ": empty cell before " << cells[i].widgets.front()->objectName().toStdString();
            }
            auto* label = qobject_cast<QLabel*>(cells.front().widgets.front());
            if (cells.size() == 1 && label != nullptr && cells.front().column == 0 && !label->text().isEmpty()) {
                EXPECT_TRUE(label->font().bold()) << where << ": " << label->text().toStdString();
                EXPECT_EQ(cells.front().span, usedColumns) << where << ": " << label->text().toStdString();
            }
            const CSwitchRow switches = SwitchRow(cells);
            if (switches.count <= 0 || switches.labelled) {
                checkGrid();
            }
            if (switches.count > 0) {
                gridRows.push_back(switches.count);
            }
        }
        checkGrid();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModelAndLanguage,
                         PageLayout,
                         ::testing::Combine(::testing::ValuesIn(kModels), ::testing::ValuesIn(UiLanguageCodes())),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) + "_" +
                                    std::string(std::get<1>(info.param));
                         });

} // namespace
} // namespace qzb
