#pragma once
// What follows a lighting change made from outside the device's page (synchronised lighting, game
// events): the record becomes the device's lighting, is saved with its profile, taken into the
// lighting state, and sent in the settings block (slot 0, profile slot value 0), in this order.

#include "settings/light_info_record.h"

namespace zevik {

class COrbantixUSBDevice;

// The settings block write's result (1 written; see WriteSettingsBlock).
int CommitLightRecord(COrbantixUSBDevice& device, const LightInfoRecord& record);

}  // namespace zevik
