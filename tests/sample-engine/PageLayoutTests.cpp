#include "PageLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {
bool Overlap(const ControlRect &a, const ControlRect &b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::string Describe(const PageEntry &page, std::size_t i)
{
    return std::string(page.title, page.title + std::wcslen(page.title)) + " control " +
           std::to_string(page.controls[i].id);
}
} // namespace

// The page area of the main window at its default size, with and without the
// strip of UI elements above the tabs.
TEST(PageLayout, EveryPageFitsWithoutOverlaps)
{
    for (auto size : {std::make_pair(812, 496), std::make_pair(812, 526)}) {
        for (std::size_t p = 0; p < PageCount(); ++p) {
            const PageEntry &page = PageAt(p);
            std::vector<ControlRect> rects = LayOutPage(page, size.first, size.second);
            ASSERT_EQ(page.count, rects.size());
            for (std::size_t i = 0; i < page.count; ++i) {
                const ControlRect &r = rects[i];
                EXPECT_TRUE(r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0 && r.x + r.width <= size.first &&
                            r.y + r.height <= size.second)
                    << Describe(page, i) << " lies within the page";
                for (std::size_t k = 0; k < i; ++k) {
                    bool frames = page.controls[i].kind == ControlKind::GroupBox ||
                                  page.controls[k].kind == ControlKind::GroupBox;
                    if (!frames) {
                        EXPECT_FALSE(Overlap(r, rects[k])) << Describe(page, i) << " and " << Describe(page, k);
                    }
                }
            }
        }
    }
}

TEST(PageLayout, GroupBoxesEncloseTheRowsThatFollowThem)
{
    const PageEntry &page = PageAt(static_cast<std::size_t>(PageIndexOf(435)));
    std::vector<ControlRect> rects = LayOutPage(page, 812, 496);
    std::size_t frame = 0;
    ASSERT_EQ(ControlKind::GroupBox, page.controls[frame].kind);
    for (std::size_t i = frame + 1; i < page.count && page.controls[i].kind != ControlKind::GroupBox; ++i) {
        const ControlRect &inner = rects[i], &outer = rects[frame];
        if (inner.x >= outer.x + outer.width)
            break; // went on in the next column
        EXPECT_TRUE(inner.x > outer.x && inner.y > outer.y && inner.x + inner.width < outer.x + outer.width &&
                    inner.y + inner.height < outer.y + outer.height)
            << Describe(page, i);
    }
}
