// Message tables without macros: entry types, the lookup, and the CMessageTables mix-in that
// connects a class's tables to its base window.
//
//   class CSettingsDlg : public CDialogImpl<CSettingsDlg> {
//   public:
//       static constexpr CCommandEntry<CSettingsDlg> s_commands[] = {{IDOK, &CSettingsDlg::OnOK}};
//   ...
//
// The tables are public static constexpr members named s_messages, s_commands,
// s_commandRanges and s_notifies; any of them may be left out. The handlers may be private.
#pragma once

#include <windows.h>

#include <concepts>
#include <type_traits>

// Sent to a per-monitor aware window when its DPI changes; older SDK headers lack it.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// A handler that takes the message's raw wParam and lParam, or (m_pfnCracked, made by the typed
// entries below) a decoder that calls a handler taking what they mean.
template <class T>
struct CMessageEntry {
    UINT m_uMsg;
    LRESULT (T::*m_pfn)(WPARAM wParam, LPARAM lParam);
    LRESULT (*m_pfnCracked)(T& wnd, WPARAM wParam, LPARAM lParam) = nullptr;
};

namespace message_map_detail {

template <class TMember>
struct MemberClass;
template <class T, class TResult, class... TArgs>
struct MemberClass<TResult (T::*)(TArgs...)> {
    using type = T;
};

}  // namespace message_map_detail

// The class whose member function `Handler` is.
template <auto Handler>
using HandlerClass = typename message_map_detail::MemberClass<decltype(Handler)>::type;

// Typed entries: {WM_TIMER, &CMyWnd::OnTimer} becomes TimerEntry<&CMyWnd::OnTimer>(), and the
// handler says what it takes. Each answers the message with 0.

// void OnTimer(UINT_PTR nIdEvent)
template <auto Handler>
constexpr CMessageEntry<HandlerClass<Handler>> TimerEntry() {
    using T = HandlerClass<Handler>;
    return {WM_TIMER, nullptr, [](T& wnd, WPARAM wParam, LPARAM) -> LRESULT {
                (wnd.*Handler)(static_cast<UINT_PTR>(wParam));
                return 0;
            }};
}

// A message whose WPARAM is a number and whose LPARAM packs a width and a height:
// void Handler(UINT n, SIZE size).
template <UINT nMessage, auto Handler>
constexpr CMessageEntry<HandlerClass<Handler>> NumberAndSizeEntry() {
    using T = HandlerClass<Handler>;
    return {nMessage, nullptr, [](T& wnd, WPARAM wParam, LPARAM lParam) -> LRESULT {
                (wnd.*Handler)(static_cast<UINT>(wParam), SIZE{LOWORD(lParam), HIWORD(lParam)});
                return 0;
            }};
}

// void OnSize(UINT nType, SIZE size): the new client size.
template <auto Handler>
constexpr CMessageEntry<HandlerClass<Handler>> SizeEntry() {
    return NumberAndSizeEntry<WM_SIZE, Handler>();
}

// void OnDisplayChange(UINT nBitsPerPixel, SIZE size): the primary screen's new size.
template <auto Handler>
constexpr CMessageEntry<HandlerClass<Handler>> DisplayChangeEntry() {
    return NumberAndSizeEntry<WM_DISPLAYCHANGE, Handler>();
}

// void OnDpiChanged(UINT nDpi, const RECT& rcSuggested): the window's new DPI and the window
// rectangle the system suggests for it.
template <auto Handler>
constexpr CMessageEntry<HandlerClass<Handler>> DpiChangedEntry() {
    using T = HandlerClass<Handler>;
    return {WM_DPICHANGED, nullptr, [](T& wnd, WPARAM wParam, LPARAM lParam) -> LRESULT {
                if (lParam != 0) {
                    (wnd.*Handler)(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
                }
                return 0;
            }};
}

// A command from a menu, an accelerator or a control's BN_CLICKED (and STN_CLICKED).
template <class T>
struct CCommandEntry {
    UINT m_uId;
    void (T::*m_pfn)();
};

// Commands m_uFirstId to m_uLastId inclusive; the handler gets the id.
template <class T>
struct CCommandRangeEntry {
    UINT m_uFirstId;
    UINT m_uLastId;
    void (T::*m_pfn)(UINT uId);
};

// A WM_NOTIFY with this control id and notification code.
template <class T>
struct CNotifyEntry {
    UINT m_uId;
    UINT m_uCode;
    LRESULT (T::*m_pfn)(NMHDR* pHeader);
};

// WM_COMMAND is a command when it comes from a menu (code 0, no control), an accelerator
// (code 1, no control) or a click (code 0 from a control). Other control notifications, such as
// EN_CHANGE, reach only message entries for WM_COMMAND.
inline bool IsCommandMessage(WPARAM wParam, LPARAM lParam) {
    const WORD wCode = HIWORD(wParam);
    return wCode == 0 || (wCode == 1 && lParam == 0);
}

namespace message_map_detail {

// A table counts only when it is T's own: a table inherited from a base class is that class's
// business, looked up when the call reaches its own CMessageTables layer.
template <class T, template <class> class TEntry, class TTable>
inline constexpr bool kIsOwnTable = std::same_as<std::remove_cvref_t<TTable>, TEntry<T>>;

template <class T>
concept HasMessages = requires {
    T::s_messages[0];
}
&&kIsOwnTable<T, CMessageEntry, decltype(T::s_messages[0])>;
template <class T>
concept HasCommands = requires {
    T::s_commands[0];
}
&&kIsOwnTable<T, CCommandEntry, decltype(T::s_commands[0])>;
template <class T>
concept HasCommandRanges = requires {
    T::s_commandRanges[0];
}
&&kIsOwnTable<T, CCommandRangeEntry, decltype(T::s_commandRanges[0])>;
template <class T>
concept HasNotifies = requires {
    T::s_notifies[0];
}
&&kIsOwnTable<T, CNotifyEntry, decltype(T::s_notifies[0])>;

}  // namespace message_map_detail

// Looks the message up in T's tables: commands, then command ranges, then notifications, then
// message entries (so a WM_COMMAND entry sees only what no command entry took). True when a
// handler ran; its result is in lResult (0 for commands).
template <class T>
bool RouteToTables(T& wnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    using namespace message_map_detail;
    if (uMsg == WM_COMMAND && IsCommandMessage(wParam, lParam)) {
        const UINT uId = LOWORD(wParam);
        if constexpr (HasCommands<T>) {
            for (const auto& entry : T::s_commands) {
                if (entry.m_uId == uId) {
                    (wnd.*entry.m_pfn)();
                    lResult = 0;
                    return true;
                }
            }
        }
        if constexpr (HasCommandRanges<T>) {
            for (const auto& entry : T::s_commandRanges) {
                if (entry.m_uFirstId <= uId && uId <= entry.m_uLastId) {
                    (wnd.*entry.m_pfn)(uId);
                    lResult = 0;
                    return true;
                }
            }
        }
    }
    if constexpr (HasNotifies<T>) {
        if (uMsg == WM_NOTIFY && lParam != 0) {
            auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
            for (const auto& entry : T::s_notifies) {
                if (entry.m_uId == pHeader->idFrom && entry.m_uCode == pHeader->code) {
                    lResult = (wnd.*entry.m_pfn)(pHeader);
                    return true;
                }
            }
        }
    }
    if constexpr (HasMessages<T>) {
        for (const auto& entry : T::s_messages) {
            if (entry.m_uMsg == uMsg) {
                lResult = entry.m_pfnCracked != nullptr ? entry.m_pfnCracked(wnd, wParam, lParam)
                                                        : (wnd.*entry.m_pfn)(wParam, lParam);
                return true;
            }
        }
    }
    return false;
}

// Puts T's tables in front of TBase's own processing (CDialogEx: OnInitDialog, OnOK, OnCancel;
// a TBase that is itself a CMessageTables: its class's tables). Use the aliases CDialogImpl,
// CCustomWndImpl and CStaticImpl, or CMessageTables<CMyDlg, CParentDlg> below another class.
template <class T, class TBase>
class CMessageTables : public TBase {
public:
    using TBase::TBase;

protected:
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        using namespace message_map_detail;
        // Private tables are invisible here and would be skipped without a word.
        static_assert(HasMessages<T> || HasCommands<T> || HasCommandRanges<T> || HasNotifies<T>,
                      "declare the message tables public: s_messages, s_commands, "
                      "s_commandRanges or s_notifies");
        return RouteToTables(static_cast<T&>(*this), uMsg, wParam, lParam, lResult) ||
               TBase::OnMessage(uMsg, wParam, lParam, lResult);
    }
};
