#include "emulator/firmware_node.h"

#include <utility>

namespace zevik {

CFirmwareNode::CFirmwareNode(std::string name, EmulatedNodeSpec spec, std::shared_ptr<CFirmwareModel> model)
    : name_(std::move(name)), spec_(std::move(spec)), model_(std::move(model)) {}

HidAttributes CFirmwareNode::Attributes() const {
    return {spec_.vendorId, spec_.productId, model_->FirmwareVersion(spec_.port)};
}

void CFirmwareNode::OnOutputReport(std::span<const uint8_t> report, IEmulatedInputSink& sink) {
    if (spec_.answersProtocol) model_->HandleReport(spec_.port, report, sink);
}

}  // namespace zevik
