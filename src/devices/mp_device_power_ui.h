#pragma once
// CMpDevicePowerUI ("MpDevicePower"): a device's power panel in "device_power_switch". It shows the
// battery level and charging state, whether the device runs on its receiver or by cable, and for the
// mousepad the phone lying on its charger, from the device's status record.

#include <cstdint>
#include <span>
#include <string_view>

#include "devices/device_status_sink.h"
#include "ui/vertical_layout_ui.h"

namespace zevik {

class CMpDevicePowerUI : public CVerticalLayoutUI, public IDeviceStatusSink {
public:
    static constexpr std::string_view kClassName = "MpDevicePower";
    static constexpr std::size_t kMaxStatusSize = 64;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetKindAndVariant(int kind, int variant);
    int GetKind() const { return m_kind; }
    int GetVariant() const { return m_variant; }
    // Shows or hides the battery part "device_power_Layout".
    void SetBatteryPanel(bool shown);

    // Shows a status record: byte 0 battery percent, byte 1 charging (0 idle, 1 charging, 2 full),
    // byte 3 receiver (1) or cable (0), byte 5 the mousepad's phone type. Bytes beyond the record's
    // end count as 0; a battery level above 100 is shown as 100.
    void UpdateStatus(std::span<const std::uint8_t> record);
    // IDeviceStatusSink: the device's polled status, shown as UpdateStatus does.
    void ShowDeviceStatus(std::span<const std::uint8_t> record) override { UpdateStatus(record); }

    // The panel was activated: notifies "selectchanged".
    bool Activate() override;

private:
    CControlUI* Child(std::string_view name);

    int m_kind = 0;
    int m_variant = 0;
};

}  // namespace zevik
