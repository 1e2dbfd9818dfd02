#include "DlgInit.h"

#include <cstring>

namespace {
const WORD kResourceType = 240;
// The records carry the 16-bit message numbers of list filling.
const WORD kComboAddString16 = 0x0403;
const WORD kListAddString16 = 0x0401;

template <class T>
T Read(const BYTE *data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}
} // namespace

std::vector<DlgInitRecord> ParseDlgInit(const BYTE *data, size_t size)
{
    std::vector<DlgInitRecord> records;
    size_t at = 0;
    while (at + sizeof(WORD) <= size) {
        WORD id = Read<WORD>(data + at);
        if (id == 0)
            break;
        if (at + 2 * sizeof(WORD) + sizeof(DWORD) > size)
            break;
        WORD message = Read<WORD>(data + at + 2);
        DWORD length = Read<DWORD>(data + at + 4);
        at += 8;
        if (length > size - at)
            break;
        const char *text = reinterpret_cast<const char *>(data + at);
        size_t textLength = strnlen(text, length);
        at += length;

        UINT translated = message == kComboAddString16 ? CB_ADDSTRING : message == kListAddString16 ? LB_ADDSTRING : 0;
        if (!translated)
            continue;
        int wideLength = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(textLength), nullptr, 0);
        std::wstring wide(static_cast<size_t>(wideLength), L'\0');
        if (wideLength > 0)
            ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(textLength), &wide[0], wideLength);
        records.push_back({id, translated, wide});
    }
    return records;
}

void ExecuteDlgInit(HWND dialog, HINSTANCE instance, UINT templateId)
{
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(kResourceType));
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const BYTE *data = loaded ? static_cast<const BYTE *>(::LockResource(loaded)) : nullptr;
    if (!data)
        return;
    for (const DlgInitRecord &record : ParseDlgInit(data, ::SizeofResource(instance, found)))
        ::SendDlgItemMessageW(dialog, record.controlId, record.message, 0,
                              reinterpret_cast<LPARAM>(record.text.c_str()));
}
