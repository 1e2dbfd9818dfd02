#include "MessageText.h"

#include "EngineLoader.h"
#include "MessageBox.h"
#include "Strings.h"
#include "resource.h"

#include <cwchar>
#include <vector>

namespace {
// Far beyond any message text; a larger size is an engine fault, not a text.
const int kMaxMessageUnits = 1 << 20;
} // namespace

void LoadMessageText(int id, std::wstring &text)
{
    if (!g_engine.Kel_GetStringSize || !g_engine.Kel_GetString) {
        text = LoadResString(static_cast<UINT>(id));
        return;
    }
    try {
        int size = 0; // an engine that writes nothing reports nothing
        g_engine.Kel_GetStringSize(id, &size);
        if (size < 0 || size > kMaxMessageUnits)
            return;
        // One zero unit more than reported, so an unterminated text still ends.
        std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1, L'\0');
        g_engine.Kel_GetString(id, size > 0 ? buffer.data() : nullptr);
        text.assign(buffer.data(), wcsnlen(buffer.data(), static_cast<size_t>(size)));
    } catch (...) {
        // A failed allocation: the text stays as it was.
    }
}

void ShowEngineError(int id, const std::wstring &detail)
{
    std::wstring first, second;
    LoadMessageText(id, first);
    LoadMessageText(IDS_CANNOT_CONTINUE, second);
    first += L" " KEL_ENGINE_FILE_NAME;
    if (!detail.empty())
        first += L"\n" + detail;
    AfxMessageBox(first + L"\n\n" + second, MB_OK);
}

std::wstring EngineLoadFailureText()
{
    const std::wstring path = FindEngineFile();
    if (path.empty())
        return std::wstring();
    std::wstring pattern;
    LoadMessageText(IDS_NOT_LOADABLE, pattern);
    const DWORD error = EngineLoadError();
    return FormatString(pattern, {path, SystemErrorText(error, KEL_ENGINE_FILE_NAME), std::to_wstring(error)});
}

std::wstring SettingsFileErrorText(const std::wstring &commandLine)
{
    std::wstring text;
    LoadMessageText(IDS_CANNOT_OPEN_SETTINGS, text);
    return text + L"\n" + commandLine;
}
