#include "transport/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include "transport/hid_fake_backend.h"

namespace zevik {
namespace {

using testing::LoadHexDescriptor;

HidReportDescriptor ParseFile(const std::string& name) {
    HidReportDescriptor descriptor;
    std::string error;
    const auto bytes = LoadHexDescriptor(name);
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(descriptor.Parse(bytes, &error)) << name << ": " << error;
    return descriptor;
}

struct ExpectedCollection {
    uint16_t usagePage;
    uint16_t usage;
    std::vector<uint8_t> reportIds;
    uint16_t input;
    uint16_t output;
    uint16_t feature;
};

struct DescriptorCase {
    std::string file;
    std::vector<ExpectedCollection> collections;
};

class RealDeviceDescriptorTest : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(RealDeviceDescriptorTest, CollectionsReportIdsAndReportLengthsAreThoseWindowsReports) {
    const auto& expected = GetParam();
    const auto descriptor = ParseFile(expected.file);
    const auto& collections = descriptor.Collections();
    ASSERT_EQ(collections.size(), expected.collections.size());
    for (size_t i = 0; i < collections.size(); ++i) {
        SCOPED_TRACE("collection " + std::to_string(i + 1));
        const auto& want = expected.collections[i];
        EXPECT_EQ(collections[i].usagePage, want.usagePage);
        EXPECT_EQ(collections[i].usage, want.usage);
        EXPECT_EQ(collections[i].reportIds, want.reportIds);
        EXPECT_EQ(collections[i].ReportLength(HidReportType::Input), want.input);
        EXPECT_EQ(collections[i].ReportLength(HidReportType::Output), want.output);
        EXPECT_EQ(collections[i].ReportLength(HidReportType::Feature), want.feature);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RealDevices, RealDeviceDescriptorTest,
    ::testing::Values(DescriptorCase{"boot_mouse.hex", {{0x01, 0x02, {0}, 4, 0, 0}}},
                      DescriptorCase{"boot_keyboard.hex", {{0x01, 0x06, {0}, 9, 2, 0}}},
                      DescriptorCase{"consumer_control.hex", {{0x0C, 0x01, {3}, 3, 0, 0}}},
                      DescriptorCase{"vendor_report_ids.hex", {{0xFF00, 0x01, {0x10, 0x11}, 20, 20, 0}}},
                      DescriptorCase{"multi_collection_node.hex",
                                     {{0x01, 0x02, {1}, 7, 0, 0},
                                      {0x01, 0x06, {2}, 8, 0, 0},
                                      {0x0C, 0x01, {3}, 3, 0, 0},
                                      {0xFF1C, 0x92, {4}, 64, 64, 64}}}),
    [](const ::testing::TestParamInfo<DescriptorCase>& param) {
        std::string name = param.param.file.substr(0, param.param.file.find('.'));
        for (auto& c : name) c = (c == '_') ? 'X' : c;
        return name;
    });

TEST(HidReportDescriptorTest, BootKeyboardCapabilities) {
    const auto descriptor = ParseFile("boot_keyboard.hex");
    const auto& keyboard = descriptor.Collections().at(0);

    const auto& buttons = keyboard.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 2u);
    // The modifier bits: a variable range.
    EXPECT_EQ(buttons[0].usagePage, 0x07);
    EXPECT_TRUE(buttons[0].isRange);
    EXPECT_FALSE(buttons[0].isArray);
    EXPECT_EQ(buttons[0].usageMin, 0xE0);
    EXPECT_EQ(buttons[0].usageMax, 0xE7);
    EXPECT_EQ(buttons[0].bitPosition, 0u);
    EXPECT_EQ(buttons[0].reportCount, 8);
    // The six key selectors after the reserved byte.
    EXPECT_TRUE(buttons[1].isArray);
    EXPECT_EQ(buttons[1].usageMin, 0x00);
    EXPECT_EQ(buttons[1].usageMax, 0x65);
    EXPECT_EQ(buttons[1].bitPosition, 16u);
    EXPECT_EQ(buttons[1].bitSize, 8);
    EXPECT_EQ(buttons[1].reportCount, 6);
    EXPECT_TRUE(keyboard.ValueCaps(HidReportType::Input).empty());

    const auto& leds = keyboard.ButtonCaps(HidReportType::Output);
    ASSERT_EQ(leds.size(), 1u);
    EXPECT_EQ(leds[0].usagePage, 0x08);
    EXPECT_EQ(leds[0].usageMin, 1);
    EXPECT_EQ(leds[0].usageMax, 5);

    EXPECT_EQ(HidMaxUsageListLength(keyboard, HidReportType::Input, 0x07), 14u);
    EXPECT_EQ(HidMaxUsageListLength(keyboard, HidReportType::Input, 0), 14u);
    EXPECT_EQ(HidMaxUsageListLength(keyboard, HidReportType::Output, 0x08), 5u);
    EXPECT_EQ(HidMaxUsageListLength(keyboard, HidReportType::Feature, 0), 0u);
}

TEST(HidReportDescriptorTest, BootMouseValueCapabilitiesSitInThePointerCollection) {
    const auto descriptor = ParseFile("boot_mouse.hex");
    const auto& mouse = descriptor.Collections().at(0);
    ASSERT_EQ(mouse.linkCollections.size(), 2u);
    EXPECT_EQ(mouse.linkCollections[1].usage, 0x01);        // Pointer
    EXPECT_EQ(mouse.linkCollections[1].collectionType, 0);  // Physical

    const auto& values = mouse.ValueCaps(HidReportType::Input);
    ASSERT_EQ(values.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(values[i].usagePage, 0x01);
        EXPECT_EQ(values[i].usageMin, 0x30 + i);
        EXPECT_FALSE(values[i].isRange);
        EXPECT_FALSE(values[i].isAbsolute);
        EXPECT_EQ(values[i].bitPosition, 8 + 8 * i);
        EXPECT_EQ(values[i].bitSize, 8);
        EXPECT_EQ(values[i].reportCount, 1);
        EXPECT_EQ(values[i].logicalMin, -127);
        EXPECT_EQ(values[i].logicalMax, 127);
        EXPECT_EQ(values[i].linkCollection, 1);
        EXPECT_EQ(values[i].linkUsage, 0x01);
        EXPECT_EQ(values[i].linkUsagePage, 0x01);
    }
    const auto& buttons = mouse.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].usagePage, 0x09);
    EXPECT_EQ(buttons[0].usageMax, 3);
}

TEST(HidUsageExtractionTest, KeyboardUsagesFromModifiersAndTheKeyArray) {
    const auto descriptor = ParseFile("boot_keyboard.hex");
    const auto& keyboard = descriptor.Collections().at(0);
    // Left shift and right alt; keys 'a' (0x04) and 'z' (0x1D); empty slots are 0.
    const std::vector<uint8_t> report = {0x00, 0x42, 0x00, 0x04, 0x1D, 0x00, 0x00, 0x00, 0x00};
    std::vector<uint16_t> usages(14, 0xFFFF);
    uint32_t count = 14;
    EXPECT_EQ(HidGetUsages(keyboard, HidReportType::Input, 0x07, 0, usages, count, report),
              hid_status::kSuccess);
    ASSERT_EQ(count, 4u);
    EXPECT_EQ(std::vector<uint16_t>(usages.begin(), usages.begin() + 4),
              (std::vector<uint16_t>{0xE1, 0xE6, 0x04, 0x1D}));

    // Too little room: what fits, and the status says so.
    count = 2;
    EXPECT_EQ(HidGetUsages(keyboard, HidReportType::Input, 0x07, 0, usages, count, report),
              hid_status::kBufferTooSmall);
    EXPECT_EQ(count, 2u);

    // A selector beyond the logical maximum stands for nothing.
    const std::vector<uint8_t> outOfRange = {0x00, 0x00, 0x00, 0x66, 0xFF, 0x00, 0x00, 0x00, 0x00};
    count = 14;
    EXPECT_EQ(HidGetUsages(keyboard, HidReportType::Input, 0x07, 0, usages, count, outOfRange),
              hid_status::kSuccess);
    EXPECT_EQ(count, 0u);
}

TEST(HidUsageExtractionTest, StatusCodesForRequestsThatCannotBeServed) {
    const auto node = ParseFile("multi_collection_node.hex");
    const auto& mouse = node.Collections().at(0);
    const std::vector<uint8_t> report = {0x01, 0x01, 0, 0, 0, 0, 0};
    std::vector<uint16_t> usages(8);
    uint32_t value = 0;
    int32_t scaled = 0;

    struct Case {
        const char* what;
        int32_t status;
        int32_t expected;
    };
    uint32_t count = 8;
    const std::vector<uint8_t> shortReport(report.begin(), report.end() - 1);
    const std::vector<uint8_t> otherId = {0x02, 0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {"buttons", HidGetUsages(mouse, HidReportType::Input, 0x09, 0, usages, count, report),
         hid_status::kSuccess},
        {"page absent", HidGetUsages(mouse, HidReportType::Input, 0x07, 0, usages, count, report),
         hid_status::kUsageNotFound},
        {"wrong length", HidGetUsages(mouse, HidReportType::Input, 0x09, 0, usages, count, shortReport),
         hid_status::kInvalidReportLength},
        {"no output report", HidGetUsages(mouse, HidReportType::Output, 0x09, 0, usages, count, report),
         hid_status::kInvalidReportType},
        {"other report id", HidGetUsageValue(mouse, HidReportType::Input, 0x01, 0, 0x30, value, otherId),
         hid_status::kIncompatibleReportId},
        {"usage absent", HidGetUsageValue(mouse, HidReportType::Input, 0x01, 0, 0x32, value, report),
         hid_status::kUsageNotFound},
        {"other link collection", HidGetUsageValue(mouse, HidReportType::Input, 0x01, 7, 0x30, value, report),
         hid_status::kUsageNotFound},
        {"value in its link collection",
         HidGetUsageValue(mouse, HidReportType::Input, 0x01, 1, 0x30, value, report), hid_status::kSuccess},
        {"scaled X", HidGetScaledUsageValue(mouse, HidReportType::Input, 0x01, 0, 0x30, scaled, report),
         hid_status::kSuccess},
    };
    for (const auto& c : cases) EXPECT_EQ(c.status, c.expected) << c.what;
}

// One input report of value fields with chosen logical and physical ranges, to exercise scaling.
std::vector<uint8_t> ValueDescriptor(std::vector<uint8_t> ranges, uint8_t reportSize, uint8_t flags) {
    std::vector<uint8_t> d = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30};
    d.insert(d.end(), ranges.begin(), ranges.end());
    const std::vector<uint8_t> tail = {0x75, reportSize, 0x95, 0x01, 0x81, flags, 0xC0};
    d.insert(d.end(), tail.begin(), tail.end());
    return d;
}

TEST(HidUsageExtractionTest, ScaledValuesMapTheLogicalOntoThePhysicalRange) {
    struct Case {
        const char* what;
        std::vector<uint8_t> ranges;
        uint8_t reportSize;
        uint8_t flags;
        std::vector<uint8_t> data;  // after the report id
        int32_t status;
        int32_t scaled;
    };
    const Case cases[] = {
        // Logical 0..255 onto physical 0..1000.
        {"scaled up",
         {0x15, 0x00, 0x26, 0xFF, 0x00, 0x35, 0x00, 0x46, 0xE8, 0x03},
         8,
         0x02,
         {0x80},
         hid_status::kSuccess,
         501},
        // Logical maximum written in one byte as 0xFF with minimum 0: read as 255, not -1.
        {"short maximum", {0x15, 0x00, 0x25, 0xFF}, 8, 0x02, {0xFF}, hid_status::kSuccess, 255},
        // Signed 12-bit field, no physical range: the logical value itself.
        {"signed", {0x16, 0x01, 0xF8, 0x26, 0xFF, 0x07}, 12, 0x02, {0x01, 0x08}, hid_status::kSuccess, -2047},
        // Outside the logical range, with a null state and without.
        {"null state", {0x15, 0x01, 0x25, 0x08}, 8, 0x42, {0x00}, hid_status::kNull, 0},
        {"out of range", {0x15, 0x01, 0x25, 0x08}, 8, 0x02, {0x09}, hid_status::kValueOutOfRange, 0},
        {"empty logical range", {0x15, 0x05, 0x25, 0x05}, 8, 0x02, {0x05}, hid_status::kBadLogPhyValues, 0},
        // The extremes of 32-bit ranges do not overflow.
        {"wide ranges",
         {0x17, 0x00, 0x00, 0x00, 0x80, 0x27, 0xFF, 0xFF, 0xFF, 0x7F,
          0x37, 0x00, 0x00, 0x00, 0x80, 0x47, 0xFF, 0xFF, 0xFF, 0x7F},
         32,
         0x02,
         {0xFF, 0xFF, 0xFF, 0x7F},
         hid_status::kSuccess,
         0x7FFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HidReportDescriptor descriptor;
        ASSERT_TRUE(descriptor.Parse(ValueDescriptor(c.ranges, c.reportSize, c.flags)));
        const auto& collection = descriptor.Collections().at(0);
        std::vector<uint8_t> report = {0x00};
        report.insert(report.end(), c.data.begin(), c.data.end());
        ASSERT_EQ(report.size(), collection.ReportLength(HidReportType::Input));
        int32_t scaled = 12345;
        EXPECT_EQ(HidGetScaledUsageValue(collection, HidReportType::Input, 0x01, 0, 0x30, scaled, report),
                  c.status);
        if (c.status == hid_status::kSuccess) {
            EXPECT_EQ(scaled, c.scaled);
        }
    }
}

TEST(HidReportDescriptorTest, UsagesAreSharedOutOverTheFieldsOfAMainItem) {
    // Three 8-bit values with two usages (X, then Y for the rest), a 4-byte usage naming its own page,
    // and five 1-bit buttons with a range of only three usages.
    const std::vector<uint8_t> d = {
        0x05, 0x01, 0x09, 0x05, 0xA1, 0x01,                                      //
        0x09, 0x30, 0x09, 0x31, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02,              //
        0x0B, 0x02, 0x00, 0x0C, 0x00, 0x75, 0x10, 0x95, 0x01, 0x81, 0x02,        // Consumer 0x0002
        0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x75, 0x01, 0x95, 0x05, 0x81, 0x02,  //
        0x75, 0x03, 0x95, 0x01, 0x81, 0x03,                                      // padding
        0xC0,
    };
    HidReportDescriptor descriptor;
    ASSERT_TRUE(descriptor.Parse(d));
    const auto& c = descriptor.Collections().at(0);
    EXPECT_EQ(c.ReportLength(HidReportType::Input), 1 + 3 + 2 + 1);
    const auto& values = c.ValueCaps(HidReportType::Input);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].usageMin, 0x30);
    EXPECT_EQ(values[0].reportCount, 1);
    EXPECT_EQ(values[1].usageMin, 0x31);
    EXPECT_EQ(values[1].bitPosition, 8u);
    EXPECT_EQ(values[1].reportCount, 2);  // Y takes the field left over: a value array
    EXPECT_EQ(values[2].usagePage, 0x0C);
    EXPECT_EQ(values[2].usageMin, 0x02);
    EXPECT_EQ(values[2].bitPosition, 24u);
    const auto& buttons = c.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 1u);  // padding gives no capability
    EXPECT_EQ(buttons[0].reportCount, 3);
    EXPECT_EQ(buttons[0].bitPosition, 40u);

    const std::vector<uint8_t> report = {0x00, 1, 2, 3, 0x34, 0x12, 0xFF};
    uint32_t value = 0;
    EXPECT_EQ(HidGetUsageValue(c, HidReportType::Input, 0x0C, 0, 0x02, value, report), hid_status::kSuccess);
    EXPECT_EQ(value, 0x1234u);
    std::vector<uint16_t> usages(8);
    uint32_t count = 8;
    EXPECT_EQ(HidGetUsages(c, HidReportType::Input, 0x09, 0, usages, count, report), hid_status::kSuccess);
    EXPECT_EQ(count, 3u);  // bits without a usage are not buttons
}

TEST(HidReportDescriptorTest, MalformedDescriptorsAreRefusedAndLeaveNothingBehind) {
    const std::vector<uint8_t> open = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01};
    auto with = [&](std::vector<uint8_t> tail) {
        std::vector<uint8_t> d = open;
        d.insert(d.end(), tail.begin(), tail.end());
        return d;
    };
    std::vector<uint8_t> deep;
    for (int i = 0; i < 40; ++i) deep.insert(deep.end(), {0xA1, 0x00});
    for (int i = 0; i < 40; ++i) deep.push_back(0xC0);
    std::vector<uint8_t> pushes;
    for (int i = 0; i < 20; ++i) pushes.push_back(0xA4);

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"no collection", {0x05, 0x01, 0x09, 0x02}},
        {"truncated short item", with({0x26, 0xFF})},
        {"truncated long item", with({0xFE, 0x10, 0x00, 0x01})},
        {"collection left open", open},
        {"end collection without collection", {0xC0}},
        {"nested too deep", deep},
        {"pop without push", with({0xB4, 0xC0})},
        {"push stack overflow", with(pushes)},
        {"report id 0", with({0x85, 0x00, 0xC0})},
        {"report id above 255", with({0x86, 0x00, 0x01, 0xC0})},
        {"report too long", with({0x75, 0x08, 0x96, 0x01, 0x80, 0x81, 0x02, 0xC0})},
        {"report size beyond 16 bits", with({0x77, 0x00, 0x00, 0x01, 0x00, 0x95, 0x01, 0x81, 0x02, 0xC0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HidReportDescriptor descriptor;
        ASSERT_TRUE(descriptor.Parse(LoadHexDescriptor("boot_mouse.hex")));
        std::string error;
        EXPECT_FALSE(descriptor.Parse(c.bytes, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(descriptor.Collections().empty());
    }
}

TEST(HidReportDescriptorTest, LongItemsAreSkipped) {
    auto bytes = LoadHexDescriptor("boot_mouse.hex");
    const std::vector<uint8_t> longItem = {0xFE, 0x03, 0xF0, 0xA1, 0x01, 0xC0};  // its data looks like items
    bytes.insert(bytes.begin() + 4, longItem.begin(), longItem.end());
    HidReportDescriptor descriptor;
    ASSERT_TRUE(descriptor.Parse(bytes));
    ASSERT_EQ(descriptor.Collections().size(), 1u);
    EXPECT_EQ(descriptor.Collections()[0].ReportLength(HidReportType::Input), 4);
}

}  // namespace
}  // namespace zevik
