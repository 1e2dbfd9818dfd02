// The seven pages of the main window and the controls on each, with the ids
// by which callers show and hide them.
#pragma once

#include <cstddef>

enum class ControlKind { Label, Button, HelpButton, Edit, TextArea, ListBox, ComboBox, CheckBox, Radio, GroupBox, Tree, ListView };

// What a list-like control is filled with.
enum class ControlItems { None, Printers, Papers, Colours, Languages, FileTypes, Modes, Directories, Files };

// A control either starts a new row or stands right of the one before it.
enum class Placement { NewRow, SameRow };

struct ControlEntry {
    ControlKind kind;
    int id;
    const wchar_t *caption; // the text of labels and buttons, the first text of edits
    ControlItems items;
    Placement placement;
};

struct PageEntry {
    int code;
    const wchar_t *title;
    const ControlEntry *controls;
    std::size_t count;
};

std::size_t PageCount();
const PageEntry &PageAt(std::size_t index);
// -1 for a code that names no page.
int PageIndexOf(int code);
