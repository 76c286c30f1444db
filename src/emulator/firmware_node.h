#pragma once
// CFirmwareNode: one virtual HID node of an emulated device, as the emulated backend sees it. Its
// description comes from the model's EmulatedNodeLayout; output reports of a node that answers the
// protocol go to the model, those of any other node are dropped (as a real device ignores them).

#include <memory>
#include <string>

#include "emulator/firmware_model.h"
#include "transport/hid/emulated_backend.h"

namespace zevik {

class CFirmwareNode final : public IEmulatedHidNode {
public:
    CFirmwareNode(std::string name, EmulatedNodeLayout layout, std::shared_ptr<CFirmwareModel> model);

    std::string Name() const override { return name_; }
    HidAttributes Attributes() const override;
    uint8_t InterfaceNumber() const override { return layout_.interfaceNumber; }
    std::vector<uint8_t> ReportDescriptor() const override { return layout_.descriptor; }
    std::vector<EmulatedCollection> Collections() const override { return layout_.collections; }
    void OnOutputReport(std::span<const uint8_t> report, IEmulatedInputSink& sink) override;

    const EmulatedNodeLayout& Layout() const { return layout_; }

private:
    const std::string name_;
    const EmulatedNodeLayout layout_;
    const std::shared_ptr<CFirmwareModel> model_;
};

}  // namespace zevik
