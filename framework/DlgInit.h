// Dialog initialisation data: a resource (type 240, named like its dialog
// template) whose records fill list and combo boxes when the dialog starts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DlgInitRecord {
    int controlId;
    UINT message;     // CB_ADDSTRING or LB_ADDSTRING
    std::wstring text;
};

// Parses the records; stops at the end marker or where the data runs out.
std::vector<DlgInitRecord> ParseDlgInit(const BYTE *data, size_t size);

// Applies the dialog's initialisation data, if it has any.
void ExecuteDlgInit(HWND dialog, HINSTANCE instance, UINT templateId);
