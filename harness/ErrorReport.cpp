#include "ErrorReport.h"

#include "Strings.h"
#include "resource.h"

namespace {
const wchar_t *TableText(int code)
{
    switch (code) {
    case 0: return L"";
    case 1: return L"General Error.";
    case 2: return L"Exception Thrown.";
    case 4: return L"Invalid Parameter.";
    case 5: return L"Init was not called.";
    case 6: return L"Init was called twice.";
    case 7: return L"Init main must be called first.";
    case 8: return L"Init was not called.";
    case 9: return L"Create was called twice.";
    case 10: return L"Create failed.";
    case 11: return L"Dialog Inialization failed.";
    case 12: return L"Memory Error.";
    case 13: return L"Ini File Not Found or damaged.";
    case 14: return L"Initialization of document failed.";
    case 15: return L"Duplicate or NULL paper names exist.";
    case 16: return L"Error in file save: cannot be open for write (disk full, etc.)";
    case 17: return L"Cannot Open File.";
    case 18: return L"Get Window called before Create.";
    case 19: return L"Invalid printer";
    case 20: return L"Invalid tab or data";
    case 21: return L"Unable to print while editing exceptions";
    case 22: return L"Unable to exit while printing";
    case 23: return L"User canceled action";
    case 24: return L"File is not a KEL settings file.";
    case 25: return L"File is not supported by this version of KEL";
    case 26: return L"Dll failed to load.";
    case 27: return L"One or more dll functions failed to load.";
    case 28: return L"Print without file selecting was called";
    case 29: return L"Unable to open printer";
    case 30: return L"VZT file create failed during printing";
    case 31: return L"Error during sending data to printer\t";
    case 32: return L"Unable to open/read from TIFF file";
    case 33: return L" Unable to convert Tiff to G4 stripped ";
    case 34: return L"Only bilevel TIFF images are allowed";
    case 35: return L"PDF supports only 150,200,300,406,600 resolutions";
    case 36: return L"PDF doesn't support tiled TIFF files";
    case 37: return L"Not enough disk space for temporary files";
    case 38: return L"Error in reading data from file or char*.";
    case 39: return L"Syntax error (missing or unexpected character).";
    case 40: return L"Unknown name of tag.";
    case 41: return L"Illegal tag data value.";
    case 42: return L"Illegal tag order.";
    case 43: return L"Unknown XML error.";
    default: return L"Undefined Error Code!"; // 3 has no text of its own either
    }
}

bool IsXmlCode(int code) { return code >= 38 && code <= 43; }
} // namespace

std::wstring EngineErrorText(int code, int position)
{
    std::wstring text = TableText(code);
    if (IsXmlCode(code))
        text += L"\nPosition: " + std::to_wstring(position) + L".";
    return text;
}

void ReportEngineError(int code, int position)
{
    std::wstring text = EngineErrorText(code, position);
    if (text.empty())
        return;
    HarnessMessageBox(LoadResString(IDS_ERROR_FROM_ENGINE) + L"\n\n" + LoadResString(IDS_DESCRIPTION) + L"\n" + text,
                      MB_ICONERROR);
}

int HarnessMessageBox(const std::wstring &text, UINT type)
{
    return ::MessageBoxW(nullptr, text.c_str(), LoadResString(IDS_BOX_CAPTION).c_str(), type);
}

int HarnessMessageBox(UINT stringId, UINT type) { return HarnessMessageBox(LoadResString(stringId), type); }
