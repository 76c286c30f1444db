#pragma once
// The card opener of a real headset: the ALSA card on the same USB device as the headset's hidraw
// node, looked up again every time the library lists its devices (the card number changes when the
// headset is plugged in again).

#include <filesystem>
#include <string>

#include "audio/audio_conf_library.h"

namespace zevik {

CAudioConfLibrary::CardOpener AlsaCardOpener(std::string hidrawNode,
                                             std::filesystem::path sysfsRoot = "/sys");

}  // namespace zevik
