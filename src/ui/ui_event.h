#pragma once
// Input and timer events delivered to one control (CControlUI::Event). The renderer turns user input
// into these; the paint manager delivers control timers as UIEVENT_TIMER with the id in wParam.

#include "ui/ui_types.h"

namespace zevik {

class CControlUI;

enum UiEventType : int {
    UIEVENT_UNKNOWN = 0,
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_DBLCLICK,
    UIEVENT_RBUTTONDOWN,
    UIEVENT_RBUTTONUP,
    UIEVENT_CONTEXTMENU,
    UIEVENT_SCROLLWHEEL,
    UIEVENT_SETFOCUS,
    UIEVENT_KILLFOCUS,
    UIEVENT_KEYDOWN,
    UIEVENT_CHAR,
    UIEVENT_TIMER,
};

struct TEventUI {
    int Type = UIEVENT_UNKNOWN;
    CControlUI* pSender = nullptr;
    std::uint64_t dwTimestamp = 0;  // loop time in milliseconds
    UiPoint ptMouse;                // window client coordinates
    char32_t chKey = 0;
    UINT wKeyState = 0;
    WPARAM wParam = 0;  // timer id for UIEVENT_TIMER, key code for UIEVENT_KEYDOWN
    LPARAM lParam = 0;  // UIEVENT_KEYDOWN: the key's Linux input code when the renderer knows it, else 0
};

}  // namespace zevik
