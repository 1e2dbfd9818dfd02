// The XML settings language: an optional declaration, then one
// Printer_Settings element holding at most one of each setting element, e.g.
//   <Printer_Settings><Copies>2</Copies><Help>Introduction</Help></Printer_Settings>
#pragma once

#include "Settings.h"

#include <optional>
#include <string>

struct XmlSettings {
    std::optional<std::wstring> printer;
    std::optional<int> copies;
    std::optional<bool> collate;
    std::optional<std::wstring> bodyPaper;
    std::optional<PrintRange> range;
    std::optional<std::wstring> help; // a topic to show; no setting
    std::optional<int> tab;           // a page code to select; no setting

    // Whether any job setting is given (help and tab are not settings).
    bool HasSettings() const;
    void ApplyTo(JobSettings &settings) const;
};

struct XmlOutcome {
    int code = 0;     // KEL_OK or one of the XML codes 38 to 43
    int position = 0; // the UTF-16 offset of the fault, 0 on success
    XmlSettings values;
};

XmlOutcome ParseXmlSettings(const wchar_t *text);
