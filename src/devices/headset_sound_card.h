#pragma once
// The sound card of a headset, found from its HID command interface's path, again at every connect
// (the card's number changes when the headset is plugged in again):
//   "hidraw:/dev/hidrawN#..."   the ALSA card on the same USB device as the hidraw node (sysfs);
//   "emu:<target>#..."          the emulated headset's card: the 6-byte "mixer" area of the model
//                               of that target in the emulation (none without an emulation).
// Any other path has no card.

#include <functional>
#include <memory>
#include <string>

#include "audio/audio_conf_library.h"
#include "audio/mixer_card.h"

namespace zevik {

class CEmulation;

// path: asked at every opening. emulation may be null.
CAudioConfLibrary::CardOpener HeadsetSoundCardOpener(std::function<std::string()> path, CEmulation* emulation);

// The card for one path; null when there is none.
std::unique_ptr<IMixerCard> OpenHeadsetSoundCard(const std::string& path, CEmulation* emulation);

}  // namespace zevik
