#pragma once
// Interface 1 of the emulated mouse and keyboard: four top-level collections, 1 keyboard (report id
// 1), 2 system control (id 2), 3 consumer control (the event reports: one 16-bit usage) and 4 the
// vendor collection, usage page 0xFF1C usage 0x92 (id 4: the 64-byte command reports).

#include <cstdint>
#include <vector>

#include "emulator/firmware_model.h"
#include "transport/hid/emulated_backend.h"

namespace zevik {

inline constexpr std::uint8_t kControlEventReportId = 3;
inline constexpr std::uint8_t kControlEventCollection = 3;    // numbering from 1
inline constexpr std::uint8_t kControlCommandCollection = 4;

std::vector<std::uint8_t> ControlInterfaceDescriptor();
std::vector<EmulatedCollection> ControlInterfaceCollections();

// A port's node of interface 1: it answers the protocol and carries the model's notifications.
EmulatedNodeLayout ControlInterfaceLayout(EmulatedPort port, std::uint16_t vendorId, std::uint16_t productId);

}  // namespace zevik
