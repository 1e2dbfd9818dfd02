// The job settings the engine keeps, their values' text forms and the
// engine's settings file.
#pragma once

#include <optional>
#include <string>

struct PrintRange {
    bool all = true;
    int from = 1;
    int to = 1;

    bool operator==(const PrintRange &other) const;
};

struct JobSettings {
    std::wstring printer;
    int copies = 1;
    bool collate = true;
    std::wstring bodyPaper;
    PrintRange range;

    bool operator==(const JobSettings &other) const;
    bool operator!=(const JobSettings &other) const { return !(*this == other); }
};

JobSettings DefaultSettings();

// Pages of the sample document, printed when the range is "All".
const int kDocumentPages = 7;
int PagesToPrint(const PrintRange &range);

// The text forms, as the XML, the settings file and the page controls use
// them. Each parser takes the whole text and rejects anything else.
std::optional<int> ParseCopies(const std::wstring &text);      // 1 to 9999
std::optional<bool> ParseYesNo(const std::wstring &text);      // Yes or No, any case
std::optional<PrintRange> ParsePrintRange(const std::wstring &text); // All, or "from-to"
std::wstring PrintRangeText(const PrintRange &range);
std::optional<int> ParsePageNumber(const std::wstring &text);  // 1 to 99999

// The settings file: UTF-8, a first line naming the format and its version,
// then key=value lines.
std::string SettingsFileText(const JobSettings &settings);
// KEL_OK, KEL_NOT_SETTINGS_FILE or KEL_UNSUPPORTED_VERSION.
int ParseSettingsFile(const std::string &bytes, JobSettings &settings);
// KEL_OK or KEL_CANNOT_OPEN_FILE and the results of ParseSettingsFile.
int ReadSettingsFile(const std::wstring &path, JobSettings &settings);
// KEL_OK or KEL_CANNOT_WRITE_FILE.
int WriteSettingsFile(const std::wstring &path, const JobSettings &settings);
