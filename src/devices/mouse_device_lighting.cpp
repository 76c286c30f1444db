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

// A sequence step as a lighting record the common steps understand.
LightInfoRecord RecordOfStep(const LightEffectRecord& step, std::uint8_t fx) {
    LightInfoRecord r;
    r.light = step.ledBrightness;
    r.speed = step.ledSpeed;
    r.fx = step.ledDirection != 0 ? 1 : fx;
    r.multiColor = step.ledMultiColor;
    r.red = step.red;
    r.green = step.green;
    r.blue = step.blue;
    return r;
}

}  // namespace

int COrbantixMouseDevice::CurrentMode() const {
    std::lock_guard lock(LightingLock());
    return ModeOf(GetLighting(), modeList_);
}

int COrbantixMouseDevice::LightStepPeriod() const {
    std::lock_guard lock(LightingLock());
    const int mode = ModeOf(GetLighting(), modeList_);
    // A sequence step runs at its own speed, not at the record's.
    if (MouseStepForMode(mode) == MouseLightStep::Sequence && !sequence_.empty())
        return MouseStepPeriod(mode, sequence_[sequenceCursor_ % sequence_.size()].ledSpeed);
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

// The profile's lighting sequence: the step at the cursor is shown until its "Time" (milliseconds of
// the clock, however many steps ran meanwhile) has passed since the cursor last moved, then the
// cursor moves on (back to the first step after the last). An empty sequence shows all LEDs off.
void COrbantixMouseDevice::RunSequenceStep() {
    if (sequence_.empty()) {
        StepOff();
        return;
    }
    const std::uint64_t now = NowMs();
    sequenceCursor_ %= sequence_.size();
    const LightEffectRecord& current = sequence_[sequenceCursor_];
    if (now - sequenceSince_ >= static_cast<std::uint64_t>(std::max(0, current.time))) {
        sequenceCursor_ = (sequenceCursor_ + 1) % sequence_.size();
        sequenceSince_ = now;
    }
    const LightEffectRecord& step = sequence_[sequenceCursor_];
    const LightInfoRecord record = RecordOfStep(step, GetLighting().fx);
    switch (step.ledRegMode) {
        case 0:
            zevik::StepBreathe(record, Animation(), Frame());
            break;
        case 1:
            zevik::StepSteady(record, Animation(), Frame());
            break;
        case 2:
            zevik::StepBlink(record, Animation(), Frame(), now);
            break;
        case 4:
            MouseStepTravellingWave(record, Animation(), Frame());
            break;
        case 5:
            zevik::StepSpectrum(record, Animation(), Frame());
            break;
        default:
            zevik::StepOff(record, Animation(), Frame());
            break;
    }
}

}  // namespace zevik
