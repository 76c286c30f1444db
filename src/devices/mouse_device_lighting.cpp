// COrbantixMouseDevice: the lighting thread's mode table and the mouse's own steps. Everything here
// runs on the lighting thread, under the base's lighting lock.

#include <algorithm>

#include "devices/lighting_tables.h"
#include "devices/mouse_device.h"

namespace zevik {

namespace {

// The mode code of the record: its mode-list position mapped through the list; a position the list
// does not have is taken as the code itself.
int ModeOf(const LightInfoRecord& light, const std::vector<int>& modeList) {
    if (light.selectItem < modeList.size() && modeList[light.selectItem] >= 0)
        return modeList[light.selectItem];
    return light.selectItem;
}

}  // namespace

int COrbantixMouseDevice::CurrentMode() const {
    std::lock_guard lock(LightingLock());
    return ModeOf(GetLighting(), modes_.codes);
}

int COrbantixMouseDevice::LightStepPeriod() const {
    std::lock_guard lock(LightingLock());
    const int mode = ModeOf(GetLighting(), modes_.codes);
    // A sequence step runs at its own speed, not at the record's.
    const LightEffectRecord* step = sequence_.Current();
    if (MouseStepForMode(mode) == MouseLightStep::Sequence && step != nullptr)
        return MouseStepPeriod(mode, step->ledSpeed);
    return MouseStepPeriod(mode, GetLighting().speed);
}

void COrbantixMouseDevice::RunLightStep() {
    std::lock_guard lock(LightingLock());
    switch (MouseStepForMode(CurrentMode())) {
        case MouseLightStep::Wave:
            StepClass1();
            break;
        case MouseLightStep::Spectrum:
            StepSpectrum();
            break;
        case MouseLightStep::Breathe:
            StepBreathe();
            break;
        case MouseLightStep::Steady:
            StepSteady();
            break;
        case MouseLightStep::Blink:
            StepBlink();
            break;
        case MouseLightStep::Flow:
            StepClass2();
            break;
        case MouseLightStep::Reactive:
            StepClass3();
            break;
        case MouseLightStep::BreatheFourColours:
            StepBreatheFourColours();
            break;
        case MouseLightStep::BlinkFourColours:
            StepBlinkFourColours();
            break;
        case MouseLightStep::Sequence:
            RunSequenceStep();
            break;
        case MouseLightStep::Off:
            StepOff();
            break;
    }
}

void COrbantixMouseDevice::SendLightFrame() {
    if (IsLightingUnseen()) {
        return;  // nothing to show it on
    }
    COrbantixUSBDevice::SendLightFrame();
}

void COrbantixMouseDevice::StepClass1() {
    std::lock_guard lock(LightingLock());
    MouseStepWave(GetLighting(), Animation(), Frame());
}

void COrbantixMouseDevice::StepClass2() {
    std::lock_guard lock(LightingLock());
    const LightInfoRecord light = GetLighting();
    MouseStepFlow(light, Animation(), Levels(), CurrentMode(), Frame());
}

void COrbantixMouseDevice::StepClass3() {
    std::lock_guard lock(LightingLock());
    MouseStepReactive(GetLighting(), leds_, Frame());
}

// The profile's lighting sequence over the mouse's LEDs (the player's rules: see LightSequencePlayer).
void COrbantixMouseDevice::RunSequenceStep() {
    sequence_.Play(GetLighting().fx, Animation(), Frame(), kMouseLedCount, NowMs());
}

}  // namespace zevik
