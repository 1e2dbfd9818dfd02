// Where the controls of a page go: rows that flow down columns, group boxes
// around the rows that follow them, the help button in the bottom right corner.
#pragma once

#include "PageTable.h"

#include <vector>

struct ControlRect {
    int x, y, width, height;
};

// One rectangle per control of the page, in the page's order, for a page of
// the given client size.
std::vector<ControlRect> LayOutPage(const PageEntry &page, int width, int height);
