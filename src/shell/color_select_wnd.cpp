#include "shell/color_select_wnd.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/trace.h"
#include "shell/dialog_answers.h"
#include "ui/color_palette_ui.h"
#include "ui/control_ui.h"
#include "ui/edit_ui.h"
#include "ui/notify_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

// WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW.
constexpr UINT kPickerStyle = 0x90000000;
constexpr UINT kPickerExStyle = 0x00000080;

constexpr std::string_view kPresetPrefix = "color_option_";
constexpr std::string_view kCollectPrefix = "collect_color_option_";
constexpr std::array<std::string_view, 3> kEdits = {"color_edit_r", "color_edit_g", "color_edit_b"};
constexpr std::string_view kSevenColourImage = "common/base1.png";
constexpr UiColor kOpaque = 0xFF000000;

// A slot number 0 to 19 written in decimal, nothing else.
std::optional<int> SlotNumber(std::string_view digits) {
    int n = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (n < 0 || n >= CColorSelectWnd::kOptionCount) return std::nullopt;
    return n;
}

// The number after prefix in text ("color_option_3", "preset=3"), when it names one of the options.
std::optional<int> NumberAfter(std::string_view text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return std::nullopt;
    return SlotNumber(text.substr(prefix.size()));
}

std::string Indexed(std::string_view prefix, int n) {
    return std::string(prefix) + std::to_string(n);
}

// A whole decimal number, clamped to a colour component; absent for anything else.
std::optional<int> Component(std::string_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) return text.front() == '-' ? 0 : 255;
    if (error != std::errc()) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(value, 0, 255));
}

}  // namespace

CColorSelectWnd::CColorSelectWnd(UiColor initial, std::filesystem::path userFile,
                                 std::filesystem::path defaultFile)
    : m_userFile(std::move(userFile)), m_defaultFile(std::move(defaultFile)), m_colour(initial) {}

void CColorSelectWnd::InitWindow() {
    CSecondaryWnd::InitWindow();
    m_palette = dynamic_cast<CColorPaletteUI*>(m_pm.FindControl("Pallet"));
    m_choices.Load(m_userFile, m_defaultFile);

    // Options missing from the file keep the skin's colours.
    for (int n = 0; n < kOptionCount; ++n) {
        CControlUI* preset = m_pm.FindControl(Indexed(kPresetPrefix, n));
        if (preset != nullptr) {
            if (const auto colour = m_choices.Preset(n)) preset->SetBkColor(*colour);
        }
        CControlUI* collected = m_pm.FindControl(Indexed(kCollectPrefix, n));
        if (collected != nullptr) {
            const CColourChoices::Collected slot = m_choices.CollectedSlot(n);
            if (slot.colour) collected->SetBkColor(*slot.colour);
            collected->SetUserData(slot.userData);
        }
    }
    m_presetIndex = m_choices.PresetSelection().value_or(m_presetIndex);
    m_collectIndex = m_choices.CollectedSelection().value_or(m_collectIndex);
    // Shown as selected only: the initial colour stays until the user picks.
    if (auto* preset = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kPresetPrefix, m_presetIndex))))
        preset->Selected(true, false);
    if (auto* slot = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kCollectPrefix, m_collectIndex))))
        slot->Selected(true, false);
    if (auto* seven = dynamic_cast<COptionUI*>(m_pm.FindControl("7color")))
        m_sevenColour = seven->IsSelected();
    ShowColour(true);
}

void CColorSelectWnd::SetSevenColour(bool on) {
    m_sevenColour = on;
    if (auto* seven = dynamic_cast<COptionUI*>(m_pm.FindControl("7color"))) seven->Selected(on, false);
    if (CControlUI* layout = m_pm.FindControl("7color_layout")) layout->SetVisible(on);
    ShowColour(false);
}

UiColor CColorSelectWnd::ShownColour() const {
    const CControlUI* shown = m_pm.FindControl("color_show_btn");
    return shown != nullptr ? shown->GetBkColor() : m_colour;
}

void CColorSelectWnd::FillEdits() {
    const std::array<int, 3> components = {static_cast<int>(m_colour >> 16 & 0xFF),
                                           static_cast<int>(m_colour >> 8 & 0xFF),
                                           static_cast<int>(m_colour & 0xFF)};
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        if (CControlUI* edit = m_pm.FindControl(kEdits[i])) edit->SetText(std::to_string(components[i]));
    }
}

void CColorSelectWnd::ShowColour(bool palette) {
    if (CControlUI* shown = m_pm.FindControl("color_show_btn")) {
        shown->SetBkColor(m_colour);
        shown->SetBkImage(m_sevenColour ? kSevenColourImage : std::string_view());
    }
    FillEdits();
    if (palette && m_palette != nullptr) m_palette->SetSelectColor(m_colour);
}

void CColorSelectWnd::SelectPreset(int n) {
    auto* option = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kPresetPrefix, n)));
    if (option == nullptr) return;
    option->Selected(true, false);
    m_presetIndex = n;
    std::array<UiColor, kOptionCount> colours{};
    for (int i = 0; i < kOptionCount; ++i) {
        const CControlUI* preset = m_pm.FindControl(Indexed(kPresetPrefix, i));
        colours[static_cast<std::size_t>(i)] = preset != nullptr ? preset->GetBkColor() : 0;
    }
    if (const JsonWriteResult written = m_choices.StorePresets(colours, n); !written)
        Trace("colour choices: " + written.message);
    m_colour = option->GetBkColor();
    ShowColour(true);
}

void CColorSelectWnd::SelectCollected(int n) {
    auto* option = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kCollectPrefix, n)));
    if (option == nullptr) return;
    option->Selected(true, false);
    m_collectIndex = n;
    if (option->GetUserData() != "1") return;  // an empty slot only takes the next colour
    m_colour = option->GetBkColor();
    ShowColour(true);
}

void CColorSelectWnd::TakeColour(UiColor colour) {
    m_colour = colour;
    ShowColour(true);
    auto* slot = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kCollectPrefix, m_collectIndex)));
    if (slot == nullptr) return;
    slot->SetBkColor(colour);
    slot->SetUserData("1");
    slot->Selected(true, false);
    if (const JsonWriteResult written = m_choices.StoreCollected(m_collectIndex, colour); !written)
        Trace("colour choices: " + written.message);
}

void CColorSelectWnd::OnEditTyped() {
    std::array<int, 3> components{};
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        const CControlUI* edit = m_pm.FindControl(kEdits[i]);
        const std::optional<int> value = edit != nullptr ? Component(edit->GetText()) : std::nullopt;
        if (!value) return;  // a field being typed or holding no number: nothing changes yet
        components[i] = *value;
    }
    TakeColour(kOpaque | static_cast<UiColor>(components[0]) << 16 |
               static_cast<UiColor>(components[1]) << 8 | static_cast<UiColor>(components[2]));
}

void CColorSelectWnd::Notify(TNotifyUI& msg) {
    if (msg.pSender == nullptr) {
        CSecondaryWnd::Notify(msg);
        return;
    }
    const std::string& name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "okbtn") {
            m_colour = ShownColour();
            Close(m_palette != nullptr ? 1 : 2);
            return;
        }
        if (name == "closebtn" || name == "laterbtn") {
            Close(0);
            return;
        }
        if (const auto n = NumberAfter(name, kPresetPrefix)) {
            SelectPreset(*n);
            return;
        }
        if (const auto n = NumberAfter(name, kCollectPrefix)) {
            SelectCollected(*n);
            return;
        }
    } else if (msg.sType == DUI_MSGTYPE_COLORCHANGED && msg.pSender == m_palette) {
        TakeColour(m_palette->GetSelectColor());
        return;
    } else if (std::find(kEdits.begin(), kEdits.end(), name) != kEdits.end()) {
        if (msg.sType == DUI_MSGTYPE_TEXTCHANGED) {
            OnEditTyped();
        } else if (msg.sType == DUI_MSGTYPE_KILLFOCUS) {
            FillEdits();  // what was left unfinished shows the colour again
        }
        return;
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && name == "7color") {
        m_sevenColour = static_cast<COptionUI*>(msg.pSender)->IsSelected();
        ShowColour(false);
        return;
    }
    CSecondaryWnd::Notify(msg);
}

void CColorSelectWnd::ApplyAnswer(const std::string& answer) {
    const auto confirm = [this] {
        if (!Click("okbtn")) Close(0);
    };
    if (answer == "yes") {
        confirm();
        return;
    }
    if (answer.starts_with("color=")) {
        const std::optional<UiColor> rgb = CColourChoices::ParseColour(std::string_view(answer).substr(6));
        if (rgb) {
            const std::array<int, 3> components = {static_cast<int>(*rgb >> 16 & 0xFF),
                                                   static_cast<int>(*rgb >> 8 & 0xFF),
                                                   static_cast<int>(*rgb & 0xFF)};
            for (std::size_t i = 0; i < kEdits.size(); ++i) {
                if (auto* edit = dynamic_cast<CEditUI*>(m_pm.FindControl(kEdits[i])))
                    edit->UserSetText(std::to_string(components[i]));
            }
            confirm();
            return;
        }
    }
    // Selected as by the user, also when it already is, so that the option's colour is taken.
    if (const auto n = NumberAfter(answer, "preset=")) {
        SelectPreset(*n);
        confirm();
        return;
    }
    if (const auto n = NumberAfter(answer, "collect=")) {
        SelectCollected(*n);
        confirm();
        return;
    }
    if (!Click("closebtn")) Close(0);  // "no", and an option the window does not offer
}

std::optional<UiColor> ShowColorSelectWindow(HWND parent, int dpi, UiColor initial,
                                             const std::filesystem::path& userFile,
                                             const std::filesystem::path& defaultFile) {
    CColorSelectWnd wnd(initial, userFile, defaultFile);
    if (wnd.Create(parent, CColorSelectWnd::kTitle, kPickerStyle, kPickerExStyle, 0, 0,
                   CColorSelectWnd::kWidth, CColorSelectWnd::kHeight) == 0) {
        Trace("colour picker: the skin did not load: " + wnd.GetSkinError());
        return std::nullopt;
    }
    wnd.SetWindowDpi(dpi);
    wnd.SetSevenColour(false);
    wnd.CenterWindow();
    const UINT result = wnd.RunModal();
    const UiColor chosen = wnd.GetColour();
    if (DialogsRunHeadless()) {
        CDialogAnswers::Instance().Report(
            CColorSelectWnd::kTitle, CColourChoices::FormatColour(initial),
            result == 1 ? "1 " + CColourChoices::FormatColour(chosen) : std::to_string(result));
    }
    if (result != 1) return std::nullopt;
    return chosen;
}

}  // namespace zevik
