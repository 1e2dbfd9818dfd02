// The engine's pages as the harness names them: toggle id, caption and the
// engine's page code, in page order.
#pragma once

#include "resource.h"

struct HarnessPage {
    int toggleId;
    const wchar_t *caption;
    int code;
};

// The captions letter for letter: the GUI element dialog lists them, and
// testers pick pages by them.
inline constexpr HarnessPage kHarnessPages[] = {
    {IDC_PAGE_PRINTERS, L"Printers", KEL_PAGE_PRINTERS},
    {IDC_PAGE_FILES, L"Files", KEL_PAGE_FILES},
    {IDC_PAGE_JOB_SETUP_1, L"Job Setup 1", KEL_PAGE_JOB_SETUP_1},
    {IDC_PAGE_JOB_SETUP_2, L"Job Setup 2", KEL_PAGE_JOB_SETUP_2},
    {IDC_PAGE_CUSTOM_OPTIONS, L"Custom Options", KEL_PAGE_CUSTOM_OPTIONS},
    {IDC_PAGE_PAPER_SUBSTITUTIONS, L"Paper Substitutions", KEL_PAGE_PAPER_SUBSTITUTIONS},
    {IDC_PAGE_COLOR_MAPPING, L"Color Mapping", KEL_PAGE_COLOR_MAPPING},
};

// The page code of a toggle; 0 for an id that is none.
inline int PageCodeOfToggle(int toggleId)
{
    for (const HarnessPage &page : kHarnessPages) {
        if (page.toggleId == toggleId)
            return page.code;
    }
    return 0;
}
