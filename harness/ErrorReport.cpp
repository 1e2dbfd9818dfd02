#include "ErrorReport.h"

#include "EngineContract.h"
#include "Strings.h"
#include "resource.h"

namespace {
// Letter for letter, typos ("Inialization") and odd spacing included: testers
// and their scripts match on these texts.
const wchar_t *TableText(int code)
{
    switch (code) {
    case KEL_OK: return L"";
    case KEL_GENERAL_ERROR: return L"General Error.";
    case KEL_EXCEPTION_THROWN: return L"Exception Thrown.";
    case KEL_INVALID_PARAMETER: return L"Invalid Parameter.";
    case KEL_INIT_NOT_CALLED: return L"Init was not called.";
    case KEL_INIT_CALLED_TWICE: return L"Init was called twice.";
    case KEL_INIT_MAIN_FIRST: return L"Init main must be called first.";
    case KEL_STATUS_INIT_NOT_CALLED: return L"Init was not called.";
    case KEL_CREATE_CALLED_TWICE: return L"Create was called twice.";
    case KEL_CREATE_FAILED: return L"Create failed.";
    case KEL_DIALOG_INIT_FAILED: return L"Dialog Inialization failed.";
    case KEL_MEMORY_ERROR: return L"Memory Error.";
    case KEL_INI_FILE_NOT_FOUND: return L"Ini File Not Found or damaged.";
    case KEL_DOCUMENT_INIT_FAILED: return L"Initialization of document failed.";
    case KEL_DUPLICATE_PAPER_NAMES: return L"Duplicate or NULL paper names exist.";
    case KEL_CANNOT_WRITE_FILE: return L"Error in file save: cannot be open for write (disk full, etc.)";
    case KEL_CANNOT_OPEN_FILE: return L"Cannot Open File.";
    case KEL_WINDOW_NOT_CREATED: return L"Get Window called before Create.";
    case KEL_INVALID_PRINTER: return L"Invalid printer";
    case KEL_INVALID_TAB_OR_DATA: return L"Invalid tab or data";
    case KEL_PRINT_WHILE_EDITING: return L"Unable to print while editing exceptions";
    case KEL_UNABLE_TO_EXIT_WHILE_PRINTING: return L"Unable to exit while printing";
    case KEL_USER_CANCELED: return L"User canceled action";
    case KEL_NOT_SETTINGS_FILE: return L"File is not a KEL settings file.";
    case KEL_UNSUPPORTED_VERSION: return L"File is not supported by this version of KEL";
    case KEL_DLL_NOT_LOADED: return L"Dll failed to load.";
    case KEL_DLL_FUNCTION_MISSING: return L"One or more dll functions failed to load.";
    case KEL_NO_FILE_SELECTED: return L"Print without file selecting was called";
    case KEL_CANNOT_OPEN_PRINTER: return L"Unable to open printer";
    case KEL_VZT_CREATE_FAILED: return L"VZT file create failed during printing";
    case KEL_SEND_TO_PRINTER_FAILED: return L"Error during sending data to printer\t";
    case KEL_CANNOT_READ_TIFF: return L"Unable to open/read from TIFF file";
    case KEL_TIFF_CONVERSION_FAILED: return L" Unable to convert Tiff to G4 stripped ";
    case KEL_TIFF_NOT_BILEVEL: return L"Only bilevel TIFF images are allowed";
    case KEL_PDF_RESOLUTION: return L"PDF supports only 150,200,300,406,600 resolutions";
    case KEL_PDF_TILED_TIFF: return L"PDF doesn't support tiled TIFF files";
    case KEL_NO_DISK_SPACE: return L"Not enough disk space for temporary files";
    case KEL_XML_READ_ERROR: return L"Error in reading data from file or char*.";
    case KEL_XML_SYNTAX_ERROR: return L"Syntax error (missing or unexpected character).";
    case KEL_XML_UNKNOWN_TAG: return L"Unknown name of tag.";
    case KEL_XML_ILLEGAL_VALUE: return L"Illegal tag data value.";
    case KEL_XML_ILLEGAL_ORDER: return L"Illegal tag order.";
    case KEL_XML_OTHER_ERROR: return L"Unknown XML error.";
    default: return L"Undefined Error Code!"; // 3 has no text of its own either
    }
}

bool IsXmlCode(int code) { return code >= KEL_XML_READ_ERROR && code <= KEL_XML_OTHER_ERROR; }
} // namespace

std::wstring EngineTableText(int code) { return TableText(code); }

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
