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
    UINT mapped = code == 1 && !control ? 0 : code;
    if (const MessageMapEntry *entry = FindEntry(WM_COMMAND, mapped, id)) {
        entry->thunk(this, WM_COMMAND, MAKEWPARAM(id, mapped), reinterpret_cast<LPARAM>(control));
        return true;
    }
    // The members see the command as it came, to tell an accelerator's for themselves.
    const WPARAM command = MAKEWPARAM(id, code);
    for (const MessageMap *map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry *entry = map->entries; entry->thunk; ++entry) {
            if (entry->message == WM_COMMAND && entry->code == kChainedMember &&
                entry->thunk(this, WM_COMMAND, command, reinterpret_cast<LPARAM>(control)) != 0)
                return true;
        }
    }
    return false;
}
