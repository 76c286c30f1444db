#include "ui/edit_ui.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"

namespace zevik {

namespace {

// Keeps at most maxChars UTF-8 code points.
std::string TruncateUtf8(std::string_view text, int maxChars) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool lead = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (lead && ++count > maxChars) return std::string(text.substr(0, i));
    }
    return std::string(text);
}

}  // namespace

std::string_view CEditUI::GetClass() const { return "EditUI"; }

void* CEditUI::GetInterface(std::string_view name) {
    if (name == "Edit") return this;
    return CLabelUI::GetInterface(name);
}

void CEditUI::SetNumberOnly(bool numberOnly) { m_bNumberOnly = numberOnly; }

void CEditUI::SetMaxChar(int maxChar) {
    if (maxChar > 0) m_nMaxChar = maxChar;
}

void CEditUI::SetNumberLimits(int min, int max) {
    if (min > max) std::swap(min, max);
    m_bHasLimits = true;
    m_nMinNumber = min;
    m_nMaxNumber = max;
}

void CEditUI::SetReadOnly(bool readOnly) {
    if (readOnly == m_bReadOnly) return;
    m_bReadOnly = readOnly;
    NotifyChange(UiChange::State);
}

std::string CEditUI::FilterInput(std::string_view text) const {
    std::string out;
    if (m_bNumberOnly) {
        bool minusAllowed = !m_bHasLimits || m_nMinNumber < 0;
        for (char c : text) {
            if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
                out.push_back(c);
            } else if (c == '-' && minusAllowed && out.empty()) {
                out.push_back(c);
            }
        }
    } else {
        out = text;
    }
    return TruncateUtf8(out, m_nMaxChar);
}

void CEditUI::UserSetText(std::string_view text) {
    if (m_bReadOnly || !IsEnabled()) return;
    std::string filtered = FilterInput(text);
    if (filtered == GetTextKey()) return;
    SetText(filtered);
    SendNotify(DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::UserReturn() {
    if (IsEnabled()) SendNotify(DUI_MSGTYPE_RETURN);
}

void CEditUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN && event.lParam != 0) SendNotify(DUI_MSGTYPE_KEYDOWN, event.wParam, event.lParam);
    if (event.Type == UIEVENT_KEYDOWN && event.wParam == kReturnKey) {
        if (!WantsReturnAsText()) UserReturn();
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS && m_bNumberOnly && m_bHasLimits && !GetTextKey().empty()) {
        const std::string& text = GetTextKey();
        long long value = 0;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        int clamped = 0;
        if (ec == std::errc() && ptr == text.data() + text.size()) {
            clamped = static_cast<int>(std::clamp<long long>(value, std::min(m_nMinNumber, m_nMaxNumber),
                                                             std::max(m_nMinNumber, m_nMaxNumber)));
        } else {
            // "-" alone, or more digits than a number holds.
            clamped = (text.front() == '-' || ec != std::errc::result_out_of_range) ? m_nMinNumber : m_nMaxNumber;
        }
        std::string fixed = std::to_string(clamped);
        if (fixed != text) SetText(fixed);
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "numberonly") {
        if (auto b = ParseBool(value)) SetNumberOnly(*b);
    } else if (name == "maxchar") {
        if (auto v = ParseInt(value)) SetMaxChar(*v);
    } else if (name == "minnumber" || name == "minnum") {
        if (auto v = ParseInt(value)) {
            m_bHasLimits = true;
            m_nMinNumber = *v;
        }
    } else if (name == "maxnumber" || name == "maxnum") {
        if (auto v = ParseInt(value)) {
            m_bHasLimits = true;
            m_nMaxNumber = *v;
        }
    } else if (name == "readonly") {
        if (auto b = ParseBool(value)) SetReadOnly(*b);
    } else if (name == "password") {
        if (auto b = ParseBool(value)) m_bPassword = *b;
    }
    CLabelUI::SetAttribute(name, value);
}

}  // namespace zevik
