#include "update/update_entry.h"

namespace zevik {

UpdateTable MakeUpdateTable() {
    // The maker's product data: vendor text, model codes and names of the update service.
    return UpdateTable{{
        {1, kUpdateKindMouse, 0, "ZEVIK", "R300P", "ZEVIK R300 Prime", "R300 Prime", ""},
        {1, kUpdateKindReceiver, 0, "ZEVIK", "R300P-RX", "ZEVIK R300 Prime Receiver", "R300 Prime Receiver",
         ""},
        {1, kUpdateKindMousepad, 0, "ZEVIK", "MP1004", "ZEVIK Mousepad", "Mousepad", ""},
        {0, kUpdateKindSoftware, 0, "ZEVIK", kUpdateCodeSoftware, "ZEVIK-R300Prime", "Driver", ""},
    }};
}

void RefreshUpdateVersions(UpdateTable& table, const InstalledVersions& installed) {
    Row(table, UpdateRow::Mouse).currentVersion = installed.mouseFirmware;
    Row(table, UpdateRow::Mousepad).currentVersion = installed.mousepadFirmware;
    Row(table, UpdateRow::Receiver).currentVersion =
        installed.receiver
            ? static_cast<std::uint32_t>(installed.receiver->high) << 8 | installed.receiver->low
            : 0;
    UpdateEntry& software = Row(table, UpdateRow::Software);
    software.currentVersion = installed.software;
    if (!installed.softwareText.empty()) software.versionText = installed.softwareText;
}

}  // namespace zevik
