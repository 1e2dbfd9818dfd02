// The controls on the engine's pages that the GUI element dialog offers, one
// list per page in page order. Each list ends with a row of reserved 0, no
// label and id 0.
#pragma once

struct GuiElementEntry {
    int reserved;      // 0 in every row
    const char *label; // 8-bit ASCII: the kind of control, " - ", its caption or role
    int controlId;
};

extern const GuiElementEntry *const kGuiElementLists[7];
