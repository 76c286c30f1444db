#include "emulator/firmware_node.h"

#include <utility>

namespace zevik {

CFirmwareNode::CFirmwareNode(std::string name, EmulatedNodeLayout layout, std::shared_ptr<CFirmwareModel> model)
    : name_(std::move(name)), layout_(std::move(layout)), model_(std::move(model)) {}

HidAttributes CFirmwareNode::Attributes() const {
    return {layout_.vendorId, layout_.productId, model_->FirmwareVersion(layout_.port)};
}

void CFirmwareNode::OnOutputReport(std::span<const uint8_t> report, IEmulatedInputSink& sink) {
    if (layout_.answersProtocol) model_->HandleReport(layout_.port, report, sink);
}

}  // namespace zevik
