#include "pages/page_layout.h"

#include "pages/page.h"

#include <algorithm>
#include <map>

namespace qzb {

namespace {

bool SameRun(const CControlDef& first, const CControlDef& next)
{
    return next.kind == first.kind &&
           (first.kind == ControlKind::Check || (first.kind == ControlKind::Radio && next.group == first.group));
}

bool IsNarrowEdit(const CControlDef& control)
{
    return control.kind == ControlKind::Edit && control.inputKind != InputKind::SeveralLines &&
           CPage::EditLimit(control) <= kNarrowEditLimit;
}

struct CGridPlace
{
    std::int32_t row = 0;
    std::int32_t column = 0;
};

class CLayouter
{
public:
    CLayouter(std::span<const CControlDef> controls, std::uint32_t modelBit)
        : m_controls(controls)
        , m_places(controls.size())
        , m_placed(controls.size())
    {
        std::int32_t row = 0;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            row = controls[i].row >= 0 ? controls[i].row : (i == 0 ? 0 : row + 1);
            m_places[i] = {row, controls[i].column};
            m_placed[i] = !controls[i].hideExcluded || (controls[i].modelMask & modelBit) != 0;
        }
    }

    CPageLayout Run()
    {
        for (std::size_t first = 0; first < m_controls.size();) {
            std::size_t end = first + 1;
            const bool switches =
                m_controls[first].kind == ControlKind::Check || m_controls[first].kind == ControlKind::Radio;
            while (switches && end < m_controls.size() && SameRun(m_controls[first], m_controls[end])) {
                ++end;
            }
            if (switches && IsGrid(first, end)) {
                CloseUp(first, end);
            }
            first = end;
        }
        CPageLayout layout;
        layout.cells.resize(m_controls.size());
        const std::map<std::int32_t, std::int32_t> rows = CompactRows();
        std::map<std::int32_t, std::int32_t> lastColumnOfRow;
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            if (m_placed[i]) {
                const std::int32_t row = rows.at(m_places[i].row);
                layout.cells[i] = {row, m_places[i].column};
                lastColumnOfRow[row] = std::max(lastColumnOfRow[row], m_places[i].column);
                layout.lastColumn = std::max(layout.lastColumn, m_places[i].column);
            }
        }
        layout.rowCount = static_cast<std::int32_t>(rows.size());
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            CControlCell& cell = layout.cells[i];
            const CControlDef& control = m_controls[i];
            if (cell.row < 0) {
                continue;
            }
            const bool atRowEnd = lastColumnOfRow[cell.row] == cell.column;
            if (control.kind == ControlKind::Label && control.heading) {
                // Up to the column heading beside it (the configuration's tray table), or across.
                cell.columnSpan = NextColumnOnRow(layout, i) - cell.column;
            } else if (control.kind == ControlKind::Edit && CPage::EditLimit(control) > kNarrowEditLimit && atRowEnd) {
                cell.columnSpan = layout.lastColumn - cell.column + 1;
            }
        }
        MarkPacked(layout);
        return layout;
    }

private:
    // A run over several rows, with nothing but a label before it on those rows, that the running
    // model leaves a cell of empty.
    bool IsGrid(std::size_t first, std::size_t end) const
    {
        if (m_places[first].row == m_places[end - 1].row) {
            return false;
        }
        if (std::all_of(m_placed.begin() + first, m_placed.begin() + end, [](bool placed) { return placed; })) {
            return false;
        }
        std::int32_t leftmost = m_places[first].column;
        for (std::size_t i = first; i < end; ++i) {
            leftmost = std::min(leftmost, m_places[i].column);
        }
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            const bool inRun = i >= first && i < end;
            if (!inRun && m_placed[i] && m_places[i].row >= m_places[first].row &&
                m_places[i].row <= m_places[end - 1].row && m_places[i].column >= leftmost) {
                return false;
            }
        }
        return true;
    }

    // The shown controls take the run's cells in table order, so the empty cells end up at its end.
    void CloseUp(std::size_t first, std::size_t end)
    {
        std::vector<CGridPlace> slots(m_places.begin() + first, m_places.begin() + end);
        std::size_t next = 0;
        for (std::size_t i = first; i < end; ++i) {
            if (m_placed[i]) {
                m_places[i] = slots[next++];
            }
        }
    }

    std::map<std::int32_t, std::int32_t> CompactRows() const
    {
        std::map<std::int32_t, std::int32_t> rows;
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            if (m_placed[i]) {
                rows.emplace(m_places[i].row, 0);
            }
        }
        std::int32_t next = 0;
        for (auto& [tableRow, row] : rows) {
            row = next++;
        }
        return rows;
    }

    // A radio group, or the few-digit fields of one caption (hour and minute, the parts of a date),
    // whose shown controls share one row with nothing after them on it.
    void MarkPacked(CPageLayout& layout) const
    {
        for (std::size_t first = 0; first < m_controls.size();) {
            std::size_t end = first + 1;
            const bool radios = m_controls[first].kind == ControlKind::Radio;
            if (!radios && !IsNarrowEdit(m_controls[first])) {
                first = end;
                continue;
            }
            while (end < m_controls.size() &&
                   (radios ? SameRun(m_controls[first], m_controls[end]) : IsNarrowEdit(m_controls[end]))) {
                ++end;
            }
            std::vector<std::size_t> shown;
            for (std::size_t i = first; i < end; ++i) {
                if (layout.cells[i].row >= 0) {
                    shown.push_back(i);
                }
            }
            const bool oneRow = shown.size() >= 2 && std::all_of(shown.begin(), shown.end(), [&](std::size_t i) {
                                    return layout.cells[i].row == layout.cells[shown.front()].row;
                                });
            if (oneRow && NothingAfter(layout, shown)) {
                const CControlCell lead = layout.cells[shown.front()];
                for (const std::size_t i : shown) {
                    layout.cells[i] = {lead.row, lead.column, layout.lastColumn - lead.column + 1, true};
                }
            }
            first = end;
        }
    }

    std::int32_t NextColumnOnRow(const CPageLayout& layout, std::size_t index) const
    {
        const CControlCell& cell = layout.cells[index];
        std::int32_t next = layout.lastColumn + 1;
        for (const CControlCell& other : layout.cells) {
            if (other.row == cell.row && other.column > cell.column) {
                next = std::min(next, other.column);
            }
        }
        return next;
    }

    bool NothingAfter(const CPageLayout& layout, const std::vector<std::size_t>& group) const
    {
        const CControlCell& lead = layout.cells[group.front()];
        for (std::size_t i = 0; i < layout.cells.size(); ++i) {
            const CControlCell& cell = layout.cells[i];
            if (cell.row == lead.row && cell.column > lead.column &&
                std::find(group.begin(), group.end(), i) == group.end()) {
                return false;
            }
        }
        return true;
    }

    std::span<const CControlDef> m_controls;
    std::vector<CGridPlace> m_places;
    std::vector<bool> m_placed;
};

} // namespace

CPageLayout LayOutPage(std::span<const CControlDef> controls, std::uint32_t modelBit)
{
    return CLayouter(controls, modelBit).Run();
}

} // namespace qzb
