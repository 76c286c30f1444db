// COrbantixKeyboardDevice: the picture of the keyboard on its page and the outputs of its key frame.
// The option's frame timer (UI thread) shows the frame on the key buttons and, in the streamed modes,
// hands it to the frame stream, which sends it to the keyboard on its own thread. While the window
// cannot be seen the timer rests and the lighting thread hands the streamed frames over itself, so
// the UI thread does not wake for them in the tray.

#include "devices/device_option_ui.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_light_output.h"
#include "devices/keyboard_light_preview.h"
#include "ui/message_loop.h"

namespace zevik {

namespace {

// The function pages on which the picture shows the lighting (the start page and the page shared by
// the lighting and key tabs); the others show the keys dark.
bool PageShowsLighting(int page) {
    return page == 1 || page == 2;
}

}  // namespace

CKeyboardLightOutput& COrbantixKeyboardDevice::LightOutput() {
    return *lightOutput_;
}

void COrbantixKeyboardDevice::BindKeyPicture() {
    CKeyboardKeyPicture& picture = lightOutput_->Picture();
    picture.Bind(this, GetKeyButtonCount(), GetLightButtonCount());
    if (picture.Area() == nullptr) return;  // a page without the picture keeps the base's binding
    SetKeyButtons(picture.KeyButtons());
    SetLightButtons(picture.LightButtons());
}

bool COrbantixKeyboardDevice::IsLightingUnseen() const {
    return IsPollingHold() || IsWindowUnseen();
}

bool COrbantixKeyboardDevice::LightStepsRest() const {
    // The streamed modes go on in the tray: only the preview rests.
    return IsLightingUnseen() && !KeyboardModeStreamsFrames(engine_.Mode());
}

bool COrbantixKeyboardDevice::StreamsLightFrames() const {
    return IsSoftwareLightControl() && !IsSameMode() && KeyboardModeStreamsFrames(engine_.Mode());
}

void COrbantixKeyboardDevice::NoteEngineFrame() {
    // The option's timer rests while the base frame stands still: a changed key frame wakes it.
    if (engine_.Frame().HasChanged()) Frame().MarkChanged();
}

void COrbantixKeyboardDevice::StreamUnseenFrame() {
    if (!IsLightingUnseen() || !StreamsLightFrames()) return;
    // The frame timer's period, as the loop rounds it: through the receiver the link carries fewer
    // frames than the steps make.
    const bool receiver = CommandChannel().ReceiverMode();
    const auto period = CMessageLoop::RoundTimerPeriod(CDeviceOptionUI::FramePeriodMs(receiver));
    const std::uint64_t periodMs = static_cast<std::uint64_t>(period.count()) / 1000;
    const std::uint64_t now = NowMs();
    if (lastUnseenFrameMs_ != 0 && now >= lastUnseenFrameMs_ && now - lastUnseenFrameMs_ < periodMs) return;
    lastUnseenFrameMs_ = now;
    lightOutput_->StreamUnseen(engine_.Frame());
}

void COrbantixKeyboardDevice::SendLightFrame() {
    const bool changed = Frame().TakeChanged() | engine_.Frame().TakeChanged();
    if (!IsSoftwareLightControl()) return;
    const bool streamed = !IsSameMode() && KeyboardModeStreamsFrames(engine_.Mode());
    using Preview = CKeyboardLightOutput::Preview;
    Preview preview = Preview::Resting;
    if (!(IsPollingHold() || IsWindowUnseen())) {
        preview = PageShowsLighting(GetFunctionPage()) ? Preview::Lit : Preview::Dark;
    }
    if (!IsSameMode()) {
        lightOutput_->Show(engine_.Frame(), preview, streamed, changed);
        return;
    }
    // Synchronised lighting writes the base frame: the picture follows it.
    KeyLightFrame shared;
    for (int k = 0; k < shared.Size() && k < Frame().Size(); ++k) shared.Set(k, Frame().Get(k));
    lightOutput_->Show(shared, preview, false, changed);
}

}  // namespace zevik
