#pragma once
// The emulator's "phone D N" action: lays a phone on an emulated mousepad's charger (0 none,
// 1 iPhone, 2 Samsung, 3 other).

#include <string>

namespace zevik {

class CEmulation;

// False with the reason for an unknown target, a device without a charger or N outside 0..3.
bool RunPhoneWord(CEmulation& emulation, const std::string& target, const std::string& phone, std::string& error);

}  // namespace zevik
