#include "PageLayout.h"

#include <algorithm>

namespace {
const int kMargin = 8;
const int kGap = 4;
const int kColumnGap = 14;
const int kGroupCaption = 18;
const int kGroupIndent = 10;
const int kGroupPadding = 6;
const int kButtonWidth = 120;
const int kHelpWidth = 80;
const int kHelpHeight = 24;

int HeightOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::HelpButton: return 24;
    case ControlKind::Edit:
    case ControlKind::ComboBox: return 22;
    case ControlKind::TextArea: return 64;
    case ControlKind::ListBox: return 72;
    case ControlKind::Tree:
    case ControlKind::ListView: return 96;
    case ControlKind::GroupBox: return kGroupCaption;
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::Radio: break;
    }
    return 20;
}

struct Row {
    std::size_t first, count;
    int height;
    bool group;
};

std::vector<Row> RowsOf(const PageEntry &page)
{
    std::vector<Row> rows;
    for (std::size_t i = 0; i < page.count; ++i) {
        const ControlEntry &control = page.controls[i];
        if (control.kind == ControlKind::HelpButton)
            continue;
        if (control.placement == Placement::SameRow && !rows.empty()) {
            rows.back().count = i - rows.back().first + 1;
            rows.back().height = std::max(rows.back().height, HeightOf(control.kind));
        } else {
            rows.push_back({i, 1, HeightOf(control.kind), control.kind == ControlKind::GroupBox});
        }
    }
    return rows;
}

// Puts the controls of one row side by side within [x, x + width).
void PlaceRow(const PageEntry &page, const Row &row, int x, int y, int width, std::vector<ControlRect> &rects)
{
    const ControlEntry *controls = page.controls + row.first;
    bool allButtons = std::all_of(controls, controls + row.count,
                                  [](const ControlEntry &c) { return c.kind == ControlKind::Button; });
    int gaps = kGap * static_cast<int>(row.count - 1);
    int share = (width - gaps) / static_cast<int>(row.count);
    if (allButtons)
        share = std::min(share, kButtonWidth);
    int labelWidth = share;
    if (!allButtons && row.count > 1 && controls[0].kind == ControlKind::Label) {
        // A caption on the left, what it names on the right.
        labelWidth = (width - gaps) * 2 / 5;
        share = (width - gaps - labelWidth) / static_cast<int>(row.count - 1);
    }
    for (std::size_t k = 0; k < row.count; ++k) {
        int w = k == 0 ? labelWidth : share;
        int h = HeightOf(controls[k].kind);
        rects[row.first + k] = {x, y + (row.height - h) / 2, w, h};
        x += w + kGap;
    }
}
} // namespace

std::vector<ControlRect> LayOutPage(const PageEntry &page, int width, int height)
{
    std::vector<ControlRect> rects(page.count, ControlRect{0, 0, 0, 0});
    for (std::size_t i = 0; i < page.count; ++i) {
        if (page.controls[i].kind == ControlKind::HelpButton)
            rects[i] = {width - kMargin - kHelpWidth, height - kMargin - kHelpHeight, kHelpWidth, kHelpHeight};
    }

    // First where each row goes down the columns; the columns' width follows
    // from how many there are.
    struct Slot {
        int column, y, groupHeight;
        bool grouped;
    };
    std::vector<Row> rows = RowsOf(page);
    std::vector<Slot> slots(rows.size());
    const int bottom = height - kMargin - kHelpHeight - kGap;
    const std::size_t none = rows.size();
    std::size_t openGroup = none;
    int column = 0, y = kMargin, lastBottom = y;
    auto closeGroup = [&] {
        if (openGroup == none)
            return;
        slots[openGroup].groupHeight = lastBottom + kGroupPadding - slots[openGroup].y;
        y = slots[openGroup].y + slots[openGroup].groupHeight + kGap;
        openGroup = none;
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int needed = rows[r].height + kGroupPadding;
        if (rows[r].group) {
            closeGroup();
            // A group that fits in a column of its own is not split.
            for (std::size_t k = r + 1; k < rows.size() && !rows[k].group; ++k)
                needed += rows[k].height + kGap;
            if (needed > bottom - kMargin)
                needed = rows[r].height + kGroupPadding;
        }
        if (y + needed > bottom && y > kMargin) {
            closeGroup();
            ++column;
            y = kMargin;
        }
        slots[r] = {column, y, 0, openGroup != none};
        lastBottom = y + rows[r].height;
        if (rows[r].group) {
            openGroup = r;
            y += kGroupCaption;
        } else {
            y += rows[r].height + kGap;
        }
    }
    closeGroup();

    int columns = column + 1;
    int columnWidth = (width - 2 * kMargin - (columns - 1) * kColumnGap) / columns;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int x = kMargin + slots[r].column * (columnWidth + kColumnGap);
        if (rows[r].group) {
            rects[rows[r].first] = {x, slots[r].y, columnWidth, slots[r].groupHeight};
            continue;
        }
        int indent = slots[r].grouped ? kGroupIndent : 0;
        PlaceRow(page, rows[r], x + indent, slots[r].y, columnWidth - 2 * indent, rects);
    }
    return rects;
}
