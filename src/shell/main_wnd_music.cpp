// CMainWnd: music lighting. The music window and its settings file, what the capture program is
// told, and our own capture of the desktop's sound for the keyboard's music mode.

#include <array>

#include "audio_lighting/audio_capture.h"
#include "audio_lighting/pulse_monitor_source.h"
#include "devices/keyboard_device.h"
#include "platform/trace.h"
#include "settings/json_access.h"
#include "shell/main_wnd.h"
#include "shell/music_wnd.h"
#include "shell/own_record_mailbox.h"
#include "transport/command_channel.h"
#include "ui/message_loop.h"
#include "ui/paint_manager_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

// The capture program's record of the chosen group: three 32-bit values, then zeros.
constexpr std::uint32_t kMusicColourRecord = 10;
constexpr std::size_t kMusicColourBytes = 40;
// Commands to the capture program: a channel slider's value (red, green, blue).
constexpr int kChannelCommand = 6;
// The keyboard's lighting mode that follows the sound.
constexpr int kMusicMode = 29;
// The keyboard's lighting mode that shows the capture program's colour.
constexpr int kColourInputMode = 30;
// An outside capture program's records take precedence for this long.
constexpr std::chrono::seconds kOutsidePrecedence{1};
constexpr const char* kAudioCaptureKey = "audioCapture";

constexpr std::array<const char*, 3> kChannelSliders = {"R_light_slider", "G_light_slider", "B_light_slider"};
constexpr std::array<const char*, 3> kChannelLabels = {"R_light_label", "G_light_label", "B_light_label"};
constexpr std::array<char, 3> kChannelLetters = {'R', 'G', 'B'};

}  // namespace

CMusicSettings& CMainWnd::MusicSettings() {
    if (!m_musicSettings) {
        const CProfileLocations locations = ProfileLocationsOf(m_context);
        m_musicSettings = std::make_unique<CMusicSettings>(
            locations.DataRoot() / CMusicSettings::kFileName,
            locations.ProgramFolder() / "DefaultData" / CMusicSettings::kFileName);
    }
    return *m_musicSettings;
}

void CMainWnd::LoadMusicSettings() {
    std::error_code ec;
    std::filesystem::create_directories(DataRoot(), ec);
    SendMusicColour(MusicSettings().Load());
}

void CMainWnd::ResetMusicSettings() { MusicSettings().Reset(); }

bool CMainWnd::OpenMusicWindow() {
    if (m_musicOpen) return false;  // one copy
    m_musicOpen = true;
    const std::optional<MusicStyleRecord> changed =
        ShowMusicWindow(GetHWND(), m_pm.GetDPIObj().GetDPI(), MusicSettings().Get());
    m_musicOpen = false;
    if (!changed) return false;
    SendMusicColour(*changed);
    MusicSettings().Set(*changed);
    const JsonWriteResult saved = MusicSettings().Save();
    if (!saved) Trace("music settings: " + saved.message);
    return saved.ok;
}

void CMainWnd::SendMusicColour(const MusicStyleRecord& record) {
    std::array<std::uint8_t, kMusicColourBytes> block{};
    std::array<std::uint32_t, 3> values = {record.Chosen()[0], record.Chosen()[1], record.Chosen()[2]};
    if (values[1] == 0) values[1] = 1;  // as the capture program has always been sent it
    for (std::size_t c = 0; c < values.size(); ++c) {
        for (std::size_t k = 0; k < 4; ++k) block[c * 4 + k] = static_cast<std::uint8_t>(values[c] >> (8 * k));
    }
    if (m_outside->SendRecordToAudioCapture(kMusicColourRecord, block)) Trace("2222222222");
}

void CMainWnd::AddMusicRoutes() {
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "music_setting_btn", [this](TNotifyUI&, int) { OpenMusicWindow(); });
    for (int channel = 0; channel < 3; ++channel) {
        m_router.Add(DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, kChannelSliders[channel],
                     [this, channel](TNotifyUI& msg, int) { OnChannelSlider(msg.pSender, channel); });
    }
}

void CMainWnd::OnChannelSlider(CControlUI* control, int channel) {
    auto* slider = dynamic_cast<CSliderUI*>(control);
    if (slider == nullptr) return;
    const int value = slider->GetValue();
    m_outside->SendToAudioCapture(kChannelCommand + channel, value);
    // The label beside the slider, on the page that shows it.
    COrbantixUSBDevice* device = GetCurrentDevice();
    CControlUI* label = device != nullptr ? m_pm.FindSubControlByName(device, kChannelLabels[channel])
                                          : FindControl(kChannelLabels[channel]);
    if (label != nullptr) label->SetText(std::string(1, kChannelLetters[channel]) + " " + std::to_string(value));
}

// ------------------------------------------------------------------------------------ own capture

bool CMainWnd::OwnCaptureWanted() {
    if (m_workersStopped || m_shutDown || !m_systemAwake) return false;
    bool wanted = false;
    for (COrbantixUSBDevice* device : m_devices[kFamilyKeyboard]) {
        auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(device);
        if (keyboard == nullptr) continue;
        const int mode = keyboard->CurrentModeCode();
        ShowMusicControls(*keyboard, mode);
        if (keyboard->CommandChannel().IsOpen() && mode == kMusicMode) wanted = true;
    }
    return wanted;
}

bool CMainWnd::AudioCaptureAllowed() const {
    // Only an explicit false turns it off; a missing or damaged file leaves it on.
    const Json::Value settings = CJsonFileUtil().ReadJsonFile(m_settingsFile);
    const Json::Value* allowed = json::Member(settings, kAudioCaptureKey);
    return !(allowed != nullptr && allowed->isBool() && !allowed->asBool());
}

void CMainWnd::ShowMusicControls(COrbantixUSBDevice& keyboard, int mode) {
    auto [shown, added] = m_musicControlsMode.try_emplace(&keyboard, mode);
    if (!added && shown->second == mode) return;
    shown->second = mode;
    if (CControlUI* layout = m_pm.FindSubControlByName(&keyboard, "music_layout"))
        layout->SetVisible(mode == kMusicMode || mode == kColourInputMode);
}

void CMainWnd::UpdateOwnCapture() {
    const bool wanted = OwnCaptureWanted();
    if (wanted == m_ownCaptureWanted) return;
    m_ownCaptureWanted = wanted;
    if (!wanted) {
        StopOwnCapture();
        return;
    }
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || !AudioCaptureAllowed()) return;
    m_ownRecords = std::make_shared<COwnRecordMailbox>(
        *loop, [this](std::span<const std::uint8_t> record) { OnOwnRecord(record); });
    m_ownCapture = std::make_unique<CAudioCapture>(
        m_audioSource ? m_audioSource : PulseMonitorSourceFactory(),
        [mailbox = m_ownRecords](std::span<const std::uint8_t> record) { mailbox->Put(record); },
        [](const std::string& reason) { Trace("music capture: " + reason); });
    m_ownCapture->Start();
}

void CMainWnd::StopOwnCapture() {
    if (m_ownRecords) m_ownRecords->Close();
    if (m_ownCapture) m_ownCapture->Stop();
    m_ownCapture.reset();
    m_ownRecords.reset();
}

bool CMainWnd::OwnCaptureRunning() const { return m_ownCapture != nullptr && m_ownCapture->IsCapturing(); }

void CMainWnd::OnOwnRecord(std::span<const std::uint8_t> record) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop != nullptr && m_lastOutsideRecord && loop->Now() - *m_lastOutsideRecord < kOutsidePrecedence) return;
    if (!m_systemAwake) return;
    HandleAudioRecord(CAudioRecordBuffers::kSampleRecord, record);
}

}  // namespace zevik
