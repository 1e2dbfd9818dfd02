#include "CmdTarget.h"

const MessageMap *CCmdTarget::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMapEntry *CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const
{
    for (const MessageMap *map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry *entry = map->entries; entry->thunk; ++entry) {
            if (entry->message != message)
                continue;
            if (message != WM_COMMAND || (entry->code == code && id >= entry->firstId && id <= entry->lastId))
                return entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT code, UINT id, HWND control)
{
    // An accelerator's command (code 1, no control) is the menu command it stands for.
    if (code == 1 && !control)
        code = 0;
    const MessageMapEntry *entry = FindEntry(WM_COMMAND, code, id);
    if (!entry)
        return false;
    entry->thunk(this, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    return true;
}
