// COrbantixKeyboardDevice: the picture of the keyboard on its page and the outputs of its key frame.
// The option's frame timer (UI thread) shows the frame on the key buttons and, in the streamed modes,
// hands it to the frame stream, which sends it to the keyboard on its own thread.

#include "devices/keyboard_device.h"
#include "devices/keyboard_light_output.h"
#include "devices/keyboard_light_preview.h"

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
    // The streamed modes go on in the tray: only the preview rests.
    if (KeyboardModeStreamsFrames(engine_.Mode())) return false;
    return IsPollingHold() || IsWindowUnseen();
}

bool COrbantixKeyboardDevice::StreamsLightFrames() const {
    return IsSoftwareLightControl() && !IsSameMode() && KeyboardModeStreamsFrames(engine_.Mode());
}

void COrbantixKeyboardDevice::NoteEngineFrame() {
    // The option's timer rests while the base frame stands still: a changed key frame wakes it.
    if (engine_.Frame().HasChanged()) Frame().MarkChanged();
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
        lightOutput_->Show(engine_.Frame(), keyMaps_.led, preview, streamed, positionCount_, changed);
        return;
    }
    // Synchronised lighting writes the base frame: the picture follows it.
    KeyLightFrame shared;
    for (int k = 0; k < shared.Size() && k < Frame().Size(); ++k) shared.Set(k, Frame().Get(k));
    lightOutput_->Show(shared, keyMaps_.led, preview, false, positionCount_, changed);
}

}  // namespace zevik
