#include "Texts.h"

#include "EngineContract.h"

#include <windows.h>

#include <iterator>

namespace {
const Paper kPapers[] = {
    {L"Letter Plain", L"8.5 x 11 in", L"White", L"75 g/m2", L"Plain"},
    {L"Letter Bond", L"8.5 x 11 in", L"White", L"90 g/m2", L"Bond"},
    {L"Letter Blue", L"8.5 x 11 in", L"Blue", L"75 g/m2", L"Coloured"},
    {L"Letter Yellow", L"8.5 x 11 in", L"Yellow", L"75 g/m2", L"Coloured"},
    {L"Letter Punched", L"8.5 x 11 in", L"White", L"75 g/m2", L"Pre-punched"},
    {L"Legal Plain", L"8.5 x 14 in", L"White", L"75 g/m2", L"Plain"},
    {L"Ledger Plain", L"11 x 17 in", L"White", L"90 g/m2", L"Plain"},
    {L"A4 Plain", L"210 x 297 mm", L"White", L"80 g/m2", L"Plain"},
    {L"A4 Recycled", L"210 x 297 mm", L"Grey", L"80 g/m2", L"Recycled"},
    {L"A4 Green", L"210 x 297 mm", L"Green", L"80 g/m2", L"Coloured"},
    {L"A4 Pink", L"210 x 297 mm", L"Pink", L"80 g/m2", L"Coloured"},
    {L"A4 Tab", L"225 x 297 mm", L"White", L"160 g/m2", L"Tab stock"},
    {L"A4 Gloss", L"210 x 297 mm", L"White", L"130 g/m2", L"Coated"},
    {L"A3 Plain", L"297 x 420 mm", L"White", L"80 g/m2", L"Plain"},
    {L"A5 Plain", L"148 x 210 mm", L"White", L"80 g/m2", L"Plain"},
    {L"Cover Ivory", L"210 x 297 mm", L"Ivory", L"250 g/m2", L"Cover stock"},
    {L"Cover Black", L"210 x 297 mm", L"Black", L"250 g/m2", L"Cover stock"},
    {L"Transparency", L"210 x 297 mm", L"Clear", L"120 g/m2", L"Film"},
    {L"Label Sheet", L"210 x 297 mm", L"White", L"100 g/m2", L"Labels"},
    {L"Envelope DL", L"110 x 220 mm", L"White", L"90 g/m2", L"Envelope"},
};

const wchar_t *const kPrinters[] = {L"Solvetric Press 1", L"Solvetric Press 2", L"Solvetric Colour 600",
                                    L"Proof Printer"};

const wchar_t *const kHelpTopics[] = {L"Introduction",   L"Printers",            L"Files",
                                      L"Job Setup",      L"Custom Options",      L"Paper Substitutions",
                                      L"Color Mapping",  L"Printing"};

struct EngineText {
    int id;
    const wchar_t *text;
};
// Worded apart from the host's own table, so that a reader can tell whose text it sees.
const EngineText kStrings[] = {
    {IDS_CLOSE_DOCUMENT, L"Closing these settings ends the program.\nGo on?"},
    {IDS_CANNOT_CONTINUE, L"The program cannot go on."},
    {IDS_INTERNAL_ERROR, L"An internal fault was found in"},
    {IDS_FILE_MISSING, L"A file the program needs is missing:"},
    {IDS_WRONG_VERSION, L"This file has the wrong version:"},
    {IDS_HOST_CONFIRM_EXIT, L"Really exit the print program?"},
    {IDS_CANNOT_OPEN_SETTINGS, L"These settings cannot be opened: "},
};

template <class T, std::size_t N>
const wchar_t *FindIn(const T (&names)[N], const std::wstring &name)
{
    for (const wchar_t *candidate : names) {
        if (SameName(candidate, name))
            return candidate;
    }
    return nullptr;
}
} // namespace

bool SameName(const std::wstring &a, const std::wstring &b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

std::size_t PaperCount() { return std::size(kPapers); }

const Paper &PaperAt(std::size_t index) { return kPapers[index]; }

const Paper *FindPaper(const std::wstring &name)
{
    for (const Paper &paper : kPapers) {
        if (SameName(paper.name, name))
            return &paper;
    }
    return nullptr;
}

std::size_t PrinterCount() { return std::size(kPrinters); }

const wchar_t *PrinterAt(std::size_t index) { return kPrinters[index]; }

const wchar_t *FindPrinter(const std::wstring &name) { return FindIn(kPrinters, name); }

const wchar_t *FindHelpTopic(const std::wstring &name) { return FindIn(kHelpTopics, name); }

std::wstring VersionText() { return L"Solvetric sample print engine\nVersion 1.0.0, 26 entry points"; }

std::wstring CatalogText()
{
    std::wstring text;
    for (const Paper &paper : kPapers) {
        text += paper.name;
        text += L" - ";
        text += std::wstring(paper.size) + L", " + paper.colour + L", " + paper.weight + L", " + paper.type;
        text += L'\n';
    }
    return text;
}

const wchar_t *EngineString(int id)
{
    for (const EngineText &entry : kStrings) {
        if (entry.id == id)
            return entry.text;
    }
    return nullptr;
}
