#include "emulator/control_interface.h"

#include "emulator/hid_descriptor_builder.h"
#include "transport/vendor_report.h"

namespace zevik {

namespace {

using B = CHidDescriptorBuilder;

constexpr std::uint16_t kVendorPage = 0xFF1C;
constexpr std::uint16_t kVendorUsage = 0x92;
constexpr std::uint16_t kConsumerPage = 0x0C;
constexpr std::uint16_t kGenericDesktop = 0x01;
constexpr std::uint16_t kHighestNotificationUsage = 0x1FFF;

}  // namespace

// Interface 1: keyboard keys, system control, consumer control (notifications) and the vendor
// collection of the command protocol, each with its report id.
std::vector<std::uint8_t> ControlInterfaceDescriptor() {
    B b;
    b.UsagePage(kGenericDesktop).Usage(0x06).Collection(B::kApplication).ReportId(1);
    b.UsagePage(0x07).UsageMinimum(0xE0).UsageMaximum(0xE7).LogicalMinimum(0).LogicalMaximum(1);
    b.ReportSize(1).ReportCount(8).Input(B::kDataVariableAbsolute);
    b.UsageMinimum(0x00).UsageMaximum(0xFF).LogicalMaximum(0xFF).ReportSize(8).ReportCount(6);
    b.Input(B::kDataArrayAbsolute);
    b.EndCollection();

    b.UsagePage(kGenericDesktop).Usage(0x80).Collection(B::kApplication).ReportId(2);
    b.UsageMinimum(0x81).UsageMaximum(0x83).LogicalMinimum(1).LogicalMaximum(3).ReportSize(8).ReportCount(1);
    b.Input(B::kDataArrayAbsolute);
    b.EndCollection();

    b.UsagePage(kConsumerPage)
        .Usage(0x01)
        .Collection(B::kApplication)
        .ReportId(kControlEventReportId);
    b.UsageMinimum(0).UsageMaximum(kHighestNotificationUsage).LogicalMinimum(0);
    b.LogicalMaximum(kHighestNotificationUsage).ReportSize(16).ReportCount(1).Input(B::kDataArrayAbsolute);
    b.EndCollection();

    constexpr uint32_t kDataBytes = vendor::kReportSize - 1;  // the report id is the 64th byte
    b.UsagePage(kVendorPage).Usage(kVendorUsage).Collection(B::kApplication).ReportId(vendor::kReportId);
    b.Usage(0x01).LogicalMinimum(0).LogicalMaximum(0xFF).ReportSize(8).ReportCount(kDataBytes);
    b.Input(B::kDataVariableAbsolute);
    b.Usage(0x02).ReportCount(kDataBytes).Output(B::kDataVariableAbsolute);
    b.EndCollection();
    return b.Bytes();
}

std::vector<EmulatedCollection> ControlInterfaceCollections() {
    return {{kGenericDesktop, 0x06, {1}},
            {kGenericDesktop, 0x80, {2}},
            {kConsumerPage, 0x01, {kControlEventReportId}},
            {kVendorPage, kVendorUsage, {vendor::kReportId}}};
}

EmulatedNodeLayout ControlInterfaceLayout(EmulatedPort port, std::uint16_t vendorId, std::uint16_t productId) {
    EmulatedNodeLayout control;
    control.port = port;
    control.vendorId = vendorId;
    control.productId = productId;
    control.interfaceNumber = 1;
    control.descriptor = ControlInterfaceDescriptor();
    control.collections = ControlInterfaceCollections();
    control.answersProtocol = true;
    control.carriesNotifications = true;
    return control;
}

}  // namespace zevik
