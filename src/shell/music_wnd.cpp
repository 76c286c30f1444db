#include "shell/music_wnd.h"

#include <array>
#include <charconv>

#include "platform/trace.h"
#include "shell/dialog_answers.h"
#include "ui/control_ui.h"
#include "ui/edit_ui.h"
#include "ui/notify_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

// WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW.
constexpr UINT kMusicStyle = 0x90000000;
constexpr UINT kMusicExStyle = 0x00000080;

constexpr std::string_view kTabPrefix = "audio_select_tab";
constexpr std::string_view kNamePrefix = "audio_edit_name";
constexpr std::array<std::string_view, 3> kSliders = {"audio_r_slider", "audio_g_slider", "audio_b_slider"};
constexpr std::string_view kControlMissing = "GetAudioLightInfo control is NULL";

std::string Indexed(std::string_view prefix, int group) { return std::string(prefix) + std::to_string(group + 1); }

// The group (0-3) of a control named prefix + 1..4.
std::optional<int> GroupOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() != prefix.size() + 1) return std::nullopt;
    const char digit = name.back();
    if (digit < '1' || digit > '4') return std::nullopt;
    return digit - '1';
}

std::optional<int> WholeNumber(std::string_view text, int min, int max) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

}  // namespace

std::string_view CMusicWnd::DefaultName(int group) {
    static constexpr std::array<std::string_view, MusicStyleRecord::kGroupCount> kNames = {"第一组", "第二组",
                                                                                            "第三组", "第四组"};
    return kNames[static_cast<std::size_t>(group) % kNames.size()];
}

void CMusicWnd::Fail() { Trace(kControlMissing); }

void CMusicWnd::OnWindowInit() {
    for (std::string_view name : kSliders) {
        auto* slider = dynamic_cast<CSliderUI*>(m_pm.FindControl(name));
        if (slider == nullptr) return Fail();
        slider->SetMinValue(0);
        slider->SetMaxValue(MusicStyleRecord::kMaxValue);
    }
    // A chosen group beyond the four (a hand-edited file) opens on the first.
    if (m_record.style >= MusicStyleRecord::kGroupCount) m_record.style = 0;
    auto* tab = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kTabPrefix, m_record.style)));
    if (tab == nullptr) return Fail();
    if (tab->IsSelected()) {
        ShowGroup(m_record.style);
    } else {
        tab->Selected(true, true);  // its "selectchanged" shows the group
    }
    for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
        if (CControlUI* edit = m_pm.FindControl(Indexed(kNamePrefix, g))) edit->SetText(m_record.names[g]);
    }
}

int CMusicWnd::CurrentGroup() const {
    for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
        const auto* tab = dynamic_cast<const COptionUI*>(m_pm.FindControl(Indexed(kTabPrefix, g)));
        if (tab != nullptr && tab->IsSelected()) return g;
    }
    return 0;
}

void CMusicWnd::ShowGroup(int group) {
    for (std::size_t c = 0; c < kSliders.size(); ++c) {
        auto* slider = dynamic_cast<CSliderUI*>(m_pm.FindControl(kSliders[c]));
        if (slider == nullptr) return Fail();
        slider->SetValue(m_record.groups[group][c]);
    }
}

void CMusicWnd::TakeName(int group) {
    CControlUI* edit = m_pm.FindControl(Indexed(kNamePrefix, group));
    if (edit == nullptr) return Fail();
    std::string name = edit->GetText();
    if (name.empty()) {
        name = DefaultName(group);
        edit->SetText(name);
    }
    m_record.names[group] = name;
}

void CMusicWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        OnWindowInit();
        return;
    }
    if (msg.pSender == nullptr) {
        CSecondaryWnd::Notify(msg);
        return;
    }
    const std::string& name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_KILLFOCUS) {
        if (const auto group = GroupOf(name, kNamePrefix)) TakeName(*group);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK && (name == "okbtn" || name == "closebtn")) {
        Close(name == "okbtn" ? 1 : 0);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        if (const auto group = GroupOf(name, kTabPrefix)) {
            if (!static_cast<COptionUI*>(msg.pSender)->IsSelected()) return;
            m_record.style = static_cast<std::uint8_t>(*group);
            ShowGroup(*group);
            return;
        }
    }
    if (msg.sType == DUI_MSGTYPE_VALUECHANGED) {
        for (std::size_t c = 0; c < kSliders.size(); ++c) {
            if (name != kSliders[c]) continue;
            const int value = static_cast<CSliderUI*>(msg.pSender)->GetValue();
            m_record.groups[CurrentGroup()][c] = static_cast<std::uint8_t>(value);
            return;
        }
    }
    CSecondaryWnd::Notify(msg);
}

void CMusicWnd::ApplyAnswer(const std::string& answer) {
    const auto confirm = [this] {
        if (!Click("okbtn")) Close(0);
    };
    if (answer == "yes") return confirm();
    if (const auto change = ParseMusicGroupAnswer(answer)) {
        if (auto* tab = dynamic_cast<COptionUI*>(m_pm.FindControl(Indexed(kTabPrefix, change->group - 1))))
            tab->Selected(true, true);
        for (std::size_t c = 0; c < kSliders.size(); ++c) {
            // Forced: a slider already at the value is still taken, as a release there would be.
            if (auto* slider = dynamic_cast<CSliderUI*>(m_pm.FindControl(kSliders[c])))
                slider->UserSetValue(change->values[c], true);
        }
        return confirm();
    }
    if (const auto change = ParseMusicNameAnswer(answer)) {
        if (auto* edit = dynamic_cast<CEditUI*>(m_pm.FindControl(Indexed(kNamePrefix, change->group - 1)))) {
            edit->UserSetText(change->name);
            m_pm.SendNotify(edit, DUI_MSGTYPE_KILLFOCUS);
        }
        return confirm();
    }
    if (!Click("closebtn")) Close(0);
}

std::optional<MusicGroupAnswer> ParseMusicGroupAnswer(std::string_view answer) {
    constexpr std::string_view kPrefix = "group=";
    if (!answer.starts_with(kPrefix)) return std::nullopt;
    answer.remove_prefix(kPrefix.size());
    const std::size_t colon = answer.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    MusicGroupAnswer change;
    const auto group = WholeNumber(answer.substr(0, colon), 1, MusicStyleRecord::kGroupCount);
    if (!group) return std::nullopt;
    change.group = *group;
    std::string_view rest = answer.substr(colon + 1);
    for (std::size_t c = 0; c < 3; ++c) {
        const std::size_t comma = c < 2 ? rest.find(',') : rest.size();
        if (comma == std::string_view::npos) return std::nullopt;
        const auto value = WholeNumber(rest.substr(0, comma), 0, MusicStyleRecord::kMaxValue);
        if (!value) return std::nullopt;
        change.values[c] = *value;
        rest = c < 2 ? rest.substr(comma + 1) : std::string_view();
    }
    return change;
}

std::optional<MusicNameAnswer> ParseMusicNameAnswer(std::string_view answer) {
    constexpr std::string_view kPrefix = "name=";
    if (!answer.starts_with(kPrefix)) return std::nullopt;
    answer.remove_prefix(kPrefix.size());
    const std::size_t colon = answer.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto group = WholeNumber(answer.substr(0, colon), 1, MusicStyleRecord::kGroupCount);
    if (!group) return std::nullopt;
    return MusicNameAnswer{*group, std::string(answer.substr(colon + 1))};
}

std::optional<MusicStyleRecord> ShowMusicWindow(HWND parent, int dpi, const MusicStyleRecord& record,
                                                HWND* openWindow) {
    CMusicWnd wnd(record);
    if (wnd.Create(parent, CMusicWnd::kTitle, kMusicStyle, kMusicExStyle, 0, 0, CMusicWnd::kWidth,
                   CMusicWnd::kHeight) == 0) {
        Trace("music window: the skin did not load: " + wnd.GetSkinError());
        return std::nullopt;
    }
    if (openWindow != nullptr) *openWindow = wnd.GetHWND();
    wnd.SetWindowDpi(dpi);
    wnd.CenterWindow();
    const UINT result = wnd.RunModal();
    if (openWindow != nullptr) *openWindow = 0;
    if (DialogsRunHeadless()) CDialogAnswers::Instance().Report(CMusicWnd::kClassName, "", std::to_string(result));
    if (result != 1) return std::nullopt;
    return wnd.Record();
}

}  // namespace zevik
