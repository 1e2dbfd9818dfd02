// Static message maps: small tables from (message, notification code, control
// id range) to typed member handlers, searched from the most derived class up.
#pragma once

#include <windows.h>

#include <type_traits>

class CCmdTarget;

using MessageThunk = LRESULT (*)(CCmdTarget *target, UINT message, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT code;    // WM_COMMAND only: the notification code, or kChainedMember
    UINT firstId; // WM_COMMAND only: the control or command id range
    UINT lastId;
    MessageThunk thunk;
};

// The code of an entry that hands commands on to a member's own map; no
// notification code is this wide.
constexpr UINT kChainedMember = 0xFFFFFFFF;

struct MessageMap {
    const MessageMap *(*base)();
    const MessageMapEntry *entries; // ends with an entry whose thunk is null
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler mapped to this command, if any; else offers it to the
    // chained members in map order. A command from an accelerator runs the
    // handler of the same menu command, with code 0.
    bool OnCmdMsg(UINT code, UINT id, HWND control);

protected:
    CCmdTarget() = default;
    const MessageMapEntry *FindEntry(UINT message, UINT code, UINT id) const;

    static const MessageMap *GetThisMessageMap();
    virtual const MessageMap *GetMessageMap() const { return GetThisMessageMap(); }
};

namespace message_map {
template <class F>
struct member_of;
template <class T, class R, class... A>
struct member_of<R (T::*)(A...)> {
    using type = T;
};

template <class T, class M>
struct member_of<M T::*> {
    using type = T;
};

template <auto F>
using class_of = typename member_of<decltype(F)>::type;

// Command handlers take (notification code, id, control window), as the
// command message carries them.
template <auto F>
LRESULT Command(CCmdTarget *target, UINT, WPARAM wParam, LPARAM lParam)
{
    (static_cast<class_of<F> *>(target)->*F)(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
}

template <auto F>
LRESULT NoArguments(CCmdTarget *target, UINT, WPARAM, LPARAM)
{
    (static_cast<class_of<F> *>(target)->*F)();
    return 0;
}

template <auto F>
LRESULT ReturnsHandle(CCmdTarget *target, UINT, WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>((static_cast<class_of<F> *>(target)->*F)());
}

// Colour handlers take (device context, control, CTLCOLOR_ kind).
template <auto F>
LRESULT CtlColor(CCmdTarget *target, UINT message, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<LRESULT>((static_cast<class_of<F> *>(target)->*F)(
        reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message - WM_CTLCOLORMSGBOX));
}

// Timer handlers take the timer's id.
template <auto F>
LRESULT Timer(CCmdTarget *target, UINT, WPARAM wParam, LPARAM)
{
    (static_cast<class_of<F> *>(target)->*F)(static_cast<UINT_PTR>(wParam));
    return 0;
}

// Size handlers take (SIZE_ kind, client width, client height).
template <auto F>
LRESULT Size(CCmdTarget *target, UINT, WPARAM wParam, LPARAM lParam)
{
    (static_cast<class_of<F> *>(target)->*F)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                                             static_cast<short>(HIWORD(lParam)));
    return 0;
}

// Size limit handlers fill in the limits the system offers.
template <auto F>
LRESULT MinMaxInfo(CCmdTarget *target, UINT, WPARAM, LPARAM lParam)
{
    (static_cast<class_of<F> *>(target)->*F)(reinterpret_cast<MINMAXINFO *>(lParam));
    return 0;
}

// A member that routes commands through a map of its own: 1 when it ran one.
template <auto M>
LRESULT ChainedMember(CCmdTarget *target, UINT, WPARAM wParam, LPARAM lParam)
{
    CCmdTarget &member = static_cast<class_of<M> *>(target)->*M;
    return member.OnCmdMsg(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)) ? 1 : 0;
}

} // namespace message_map

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const MessageMap *GetThisMessageMap();              \
    const MessageMap *GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                 \
    const MessageMap *theClass::GetThisMessageMap()            \
    {                                                          \
        using ThisClass = theClass;                            \
        using TheBaseClass = baseClass;                        \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                    \
    {0, 0, 0, 0, nullptr}};                                                  \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                         \
    }

// A menu command, an accelerator's command or a button click.
#define ON_COMMAND(id, handler) {WM_COMMAND, 0, (id), (id), &message_map::Command<&ThisClass::handler>},
// Commands this class does not map go on to the member's map, as ATL's
// CHAIN_MSG_MAP_MEMBER hands messages on.
#define CHAIN_COMMANDS_MEMBER(member) \
    {WM_COMMAND, kChainedMember, 0, 0xFFFF, &message_map::ChainedMember<&ThisClass::member>},
#define ON_COMMAND_RANGE(firstId, lastId, handler) \
    {WM_COMMAND, 0, (firstId), (lastId), &message_map::Command<&ThisClass::handler>},
// A control's notification with its own code (CBN_SELCHANGE, EN_SETFOCUS, ...).
#define ON_CONTROL(code, id, handler) {WM_COMMAND, (code), (id), (id), &message_map::Command<&ThisClass::handler>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &message_map::NoArguments<&ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, &message_map::ReturnsHandle<&ThisClass::OnQueryDragIcon>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &message_map::Timer<&ThisClass::OnTimer>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &message_map::Size<&ThisClass::OnSize>},
#define ON_WM_GETMINMAXINFO() {WM_GETMINMAXINFO, 0, 0, 0, &message_map::MinMaxInfo<&ThisClass::OnGetMinMaxInfo>},
#define ON_WM_CTLCOLOR()                                                                   \
    {WM_CTLCOLORMSGBOX, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},          \
        {WM_CTLCOLOREDIT, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},        \
        {WM_CTLCOLORLISTBOX, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},     \
        {WM_CTLCOLORBTN, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},         \
        {WM_CTLCOLORDLG, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},         \
        {WM_CTLCOLORSCROLLBAR, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},   \
        {WM_CTLCOLORSTATIC, 0, 0, 0, &message_map::CtlColor<&ThisClass::OnCtlColor>},
