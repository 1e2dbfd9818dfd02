#include "Settings.h"

#include "FileIo.h"
#include "EngineContract.h"
#include "Texts.h"
#include "Utf8.h"

#include <vector>

namespace {
const char kFileHeader[] = "Solvetric Settings ";
const int kFileVersion = 1;

// Plain decimal digits only: no sign, no blanks.
std::optional<long long> ParseDigits(const std::wstring &text, long long largest)
{
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value > largest)
        return std::nullopt;
    return value;
}

std::optional<int> ParseInRange(const std::wstring &text, int smallest, int largest)
{
    std::optional<long long> value = ParseDigits(text, largest);
    if (!value || *value < smallest)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::vector<std::string> SplitLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// Applies one key=value line; false for an unknown key or a bad value.
bool ApplyLine(const std::wstring &key, const std::wstring &value, JobSettings &settings)
{
    if (key == L"printer") {
        const wchar_t *printer = FindPrinter(value);
        if (printer)
            settings.printer = printer;
        return printer != nullptr;
    }
    if (key == L"bodypaper") {
        const Paper *paper = FindPaper(value);
        if (paper)
            settings.bodyPaper = paper->name;
        return paper != nullptr;
    }
    if (key == L"copies") {
        std::optional<int> copies = ParseCopies(value);
        settings.copies = copies.value_or(settings.copies);
        return copies.has_value();
    }
    if (key == L"collate") {
        std::optional<bool> collate = ParseYesNo(value);
        settings.collate = collate.value_or(settings.collate);
        return collate.has_value();
    }
    if (key == L"printrange") {
        std::optional<PrintRange> range = ParsePrintRange(value);
        settings.range = range.value_or(settings.range);
        return range.has_value();
    }
    return false;
}
} // namespace

bool PrintRange::operator==(const PrintRange &other) const
{
    return all == other.all && (all || (from == other.from && to == other.to));
}

bool JobSettings::operator==(const JobSettings &other) const
{
    return printer == other.printer && copies == other.copies && collate == other.collate &&
           bodyPaper == other.bodyPaper && range == other.range;
}

JobSettings DefaultSettings()
{
    JobSettings settings;
    settings.printer = PrinterAt(0);
    settings.bodyPaper = PaperAt(0).name;
    return settings;
}

int PagesToPrint(const PrintRange &range) { return range.all ? kDocumentPages : range.to - range.from + 1; }

std::optional<int> ParseCopies(const std::wstring &text) { return ParseInRange(text, 1, 9999); }

std::optional<int> ParsePageNumber(const std::wstring &text) { return ParseInRange(text, 1, 99999); }

std::optional<bool> ParseYesNo(const std::wstring &text)
{
    if (SameName(text, L"Yes"))
        return true;
    if (SameName(text, L"No"))
        return false;
    return std::nullopt;
}

std::optional<PrintRange> ParsePrintRange(const std::wstring &text)
{
    if (SameName(text, L"All"))
        return PrintRange{};
    std::size_t dash = text.find(L'-');
    if (dash == std::wstring::npos)
        return std::nullopt;
    std::optional<int> from = ParsePageNumber(text.substr(0, dash));
    std::optional<int> to = ParsePageNumber(text.substr(dash + 1));
    if (!from || !to || *from > *to)
        return std::nullopt;
    return PrintRange{false, *from, *to};
}

std::wstring PrintRangeText(const PrintRange &range)
{
    return range.all ? L"All" : std::to_wstring(range.from) + L"-" + std::to_wstring(range.to);
}

std::string SettingsFileText(const JobSettings &settings)
{
    std::wstring text = L"printer=" + settings.printer + L"\r\n";
    text += L"copies=" + std::to_wstring(settings.copies) + L"\r\n";
    text += std::wstring(L"collate=") + (settings.collate ? L"Yes" : L"No") + L"\r\n";
    text += L"bodypaper=" + settings.bodyPaper + L"\r\n";
    text += L"printrange=" + PrintRangeText(settings.range) + L"\r\n";
    return kFileHeader + std::to_string(kFileVersion) + "\r\n" + EncodeUtf8(text);
}

int ParseSettingsFile(const std::string &bytes, JobSettings &settings)
{
    std::string content = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    std::vector<std::string> lines = SplitLines(content);
    const std::string &header = lines.front();
    const std::size_t headerLength = sizeof(kFileHeader) - 1;
    if (header.compare(0, headerLength, kFileHeader) != 0)
        return KEL_NOT_SETTINGS_FILE;
    std::optional<int> version =
        ParseInRange(std::wstring(header.begin() + headerLength, header.end()), 0, 1000000);
    if (!version)
        return KEL_NOT_SETTINGS_FILE;
    if (*version != kFileVersion)
        return KEL_UNSUPPORTED_VERSION;

    JobSettings read = DefaultSettings();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::wstring line;
        if (!FromUtf8(lines[i], line))
            return KEL_NOT_SETTINGS_FILE;
        if (line.empty())
            continue;
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || !ApplyLine(line.substr(0, equals), line.substr(equals + 1), read))
            return KEL_NOT_SETTINGS_FILE;
    }
    settings = read;
    return KEL_OK;
}

int ReadSettingsFile(const std::wstring &path, JobSettings &settings)
{
    std::string bytes;
    if (path.empty() || !ReadEngineFile(path, bytes))
        return KEL_CANNOT_OPEN_FILE;
    return ParseSettingsFile(bytes, settings);
}

int WriteSettingsFile(const std::wstring &path, const JobSettings &settings)
{
    return !path.empty() && WriteFileBytes(path, SettingsFileText(settings)) ? KEL_OK : KEL_CANNOT_WRITE_FILE;
}
