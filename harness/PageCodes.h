// The engine's pages as the harness names them: toggle id, caption and the
// engine's page code, in page order. Job Setup 2 is 519; the codes are not
// consecutive.
#pragma once

#include "resource.h"

struct HarnessPage {
    int toggleId;
    const wchar_t *caption;
    int code;
};

inline constexpr HarnessPage kHarnessPages[] = {
    {IDC_PAGE_PRINTERS, L"Printers", 433},
    {IDC_PAGE_FILES, L"Files", 434},
    {IDC_PAGE_JOB_SETUP_1, L"Job Setup 1", 435},
    {IDC_PAGE_JOB_SETUP_2, L"Job Setup 2", 519},
    {IDC_PAGE_CUSTOM_OPTIONS, L"Custom Options", 436},
    {IDC_PAGE_PAPER_SUBSTITUTIONS, L"Paper Substitutions", 437},
    {IDC_PAGE_COLOR_MAPPING, L"Color Mapping", 438},
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
