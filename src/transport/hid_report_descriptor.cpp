#include "transport/hid_report_descriptor.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace zevik {
namespace {

// Item types and tags of the short item prefix (HID 1.11, 6.2.2).
enum : uint8_t { kTypeMain = 0, kTypeGlobal = 1, kTypeLocal = 2 };
enum : uint8_t {
    kMainInput = 0x8,
    kMainOutput = 0x9,
    kMainCollection = 0xA,
    kMainFeature = 0xB,
    kMainEndCollection = 0xC,
};
enum : uint8_t {
    kGlobalUsagePage = 0x0,
    kGlobalLogicalMin = 0x1,
    kGlobalLogicalMax = 0x2,
    kGlobalPhysicalMin = 0x3,
    kGlobalPhysicalMax = 0x4,
    kGlobalUnitExponent = 0x5,
    kGlobalUnit = 0x6,
    kGlobalReportSize = 0x7,
    kGlobalReportId = 0x8,
    kGlobalReportCount = 0x9,
    kGlobalPush = 0xA,
    kGlobalPop = 0xB,
};
enum : uint8_t { kLocalUsage = 0x0, kLocalUsageMin = 0x1, kLocalUsageMax = 0x2 };
constexpr uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t unitExponent = 0;
    uint32_t unit = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

struct LocalState {
    std::vector<HidUsageSpan> usages;
    std::optional<uint32_t> usageMin;  // extended form (page << 16 | usage) once resolved
    bool overflowed = false;
};

uint32_t Unsigned(std::span<const uint8_t> data) {
    uint32_t value = 0;
    for (size_t i = 0; i < data.size(); ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
    return value;
}

int32_t Signed(std::span<const uint8_t> data) {
    const uint32_t value = Unsigned(data);
    switch (data.size()) {
        case 1:
            return static_cast<int8_t>(static_cast<uint8_t>(value));
        case 2:
            return static_cast<int16_t>(static_cast<uint16_t>(value));
        case 4:
            return static_cast<int32_t>(value);
        default:
            return 0;
    }
}

// A usage in extended form: 4-byte usages carry their page, shorter ones take the current page.
uint32_t ExtendedUsage(std::span<const uint8_t> data, uint16_t usagePage) {
    const uint32_t value = Unsigned(data);
    if (data.size() == 4) return value;
    return (static_cast<uint32_t>(usagePage) << 16) | (value & 0xFFFFu);
}

class Parser {
public:
    bool Run(std::span<const uint8_t> descriptor, std::vector<HidTopCollection>& out, std::string& error);

private:
    bool Item(uint8_t type, uint8_t tag, std::span<const uint8_t> data, std::string& error);
    bool MainItem(uint8_t tag, std::span<const uint8_t> data, std::string& error);
    bool AddField(HidReportType type, uint16_t flags, std::string& error);
    void AddLocalUsage(uint32_t min, uint32_t max, bool isRange);
    void Finish(std::vector<HidTopCollection>& out);

    GlobalState global_;
    std::vector<GlobalState> globalStack_;
    LocalState local_;
    std::vector<uint16_t> linkStack_;  // link collection indices of the open collections
    std::vector<HidTopCollection> collections_;
    // Bits laid out so far per report type and report id, across the whole descriptor.
    std::array<std::map<uint8_t, uint32_t>, kHidReportTypeCount> reportBits_;
    size_t mainItems_ = 0;
};

bool Parser::Run(std::span<const uint8_t> descriptor, std::vector<HidTopCollection>& out,
                 std::string& error) {
    size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry no meaning the parser uses; skip their data.
            if (pos + 3 > descriptor.size()) {
                error = "truncated long item";
                return false;
            }
            const size_t length = descriptor[pos + 1];
            if (pos + 3 + length > descriptor.size()) {
                error = "truncated long item";
                return false;
            }
            pos += 3 + length;
            continue;
        }
        const size_t size = (prefix & 0x03u) == 3 ? 4 : (prefix & 0x03u);
        if (pos + 1 + size > descriptor.size()) {
            error = "truncated item";
            return false;
        }
        const auto data = descriptor.subspan(pos + 1, size);
        if (!Item(static_cast<uint8_t>((prefix >> 2) & 0x03u), static_cast<uint8_t>(prefix >> 4), data,
                  error))
            return false;
        pos += 1 + size;
    }
    if (!linkStack_.empty()) {
        error = "collection not closed";
        return false;
    }
    if (collections_.empty()) {
        error = "no top-level collection";
        return false;
    }
    Finish(out);
    return true;
}

bool Parser::Item(uint8_t type, uint8_t tag, std::span<const uint8_t> data, std::string& error) {
    switch (type) {
        case kTypeMain:
            return MainItem(tag, data, error);
        case kTypeGlobal:
            switch (tag) {
                case kGlobalUsagePage:
                    global_.usagePage = static_cast<uint16_t>(Unsigned(data));
                    break;
                case kGlobalLogicalMin:
                    global_.logicalMin = Signed(data);
                    break;
                case kGlobalLogicalMax:
                    global_.logicalMax = Signed(data);
                    break;
                case kGlobalPhysicalMin:
                    global_.physicalMin = Signed(data);
                    break;
                case kGlobalPhysicalMax:
                    global_.physicalMax = Signed(data);
                    break;
                case kGlobalUnitExponent:
                    global_.unitExponent = Unsigned(data);
                    break;
                case kGlobalUnit:
                    global_.unit = Unsigned(data);
                    break;
                case kGlobalReportSize:
                    global_.reportSize = Unsigned(data);
                    break;
                case kGlobalReportCount:
                    global_.reportCount = Unsigned(data);
                    break;
                case kGlobalReportId: {
                    const uint32_t id = Unsigned(data);
                    if (id == 0 || id > 0xFF) {
                        error = "report id out of range";
                        return false;
                    }
                    global_.reportId = static_cast<uint8_t>(id);
                    break;
                }
                case kGlobalPush:
                    if (globalStack_.size() >= HidReportDescriptor::kMaxGlobalStack) {
                        error = "global stack too deep";
                        return false;
                    }
                    globalStack_.push_back(global_);
                    break;
                case kGlobalPop:
                    if (globalStack_.empty()) {
                        error = "pop without push";
                        return false;
                    }
                    global_ = globalStack_.back();
                    globalStack_.pop_back();
                    break;
                default:
                    break;
            }
            return true;
        case kTypeLocal:
            switch (tag) {
                case kLocalUsage: {
                    const uint32_t usage = ExtendedUsage(data, global_.usagePage);
                    AddLocalUsage(usage, usage, false);
                    break;
                }
                case kLocalUsageMin:
                    local_.usageMin = ExtendedUsage(data, global_.usagePage);
                    break;
                case kLocalUsageMax:
                    if (local_.usageMin) {
                        AddLocalUsage(*local_.usageMin, ExtendedUsage(data, global_.usagePage), true);
                        local_.usageMin.reset();
                    }
                    break;
                default:
                    break;  // designators, strings and delimiters carry nothing we use
            }
            return true;
        default:
            return true;  // reserved item type
    }
}

void Parser::AddLocalUsage(uint32_t min, uint32_t max, bool isRange) {
    if (local_.usages.size() >= HidReportDescriptor::kMaxLocalUsages) {
        local_.overflowed = true;
        return;
    }
    // A range is within one page; one whose ends disagree or run backwards is dropped.
    if ((min >> 16) != (max >> 16) || (min & 0xFFFFu) > (max & 0xFFFFu)) return;
    local_.usages.push_back(HidUsageSpan{static_cast<uint16_t>(min >> 16),
                                         static_cast<uint16_t>(min & 0xFFFFu),
                                         static_cast<uint16_t>(max & 0xFFFFu), isRange});
}

bool Parser::MainItem(uint8_t tag, std::span<const uint8_t> data, std::string& error) {
    if (++mainItems_ > HidReportDescriptor::kMaxMainItems) {
        error = "too many main items";
        return false;
    }
    bool ok = true;
    switch (tag) {
        case kMainCollection: {
            if (linkStack_.size() >= HidReportDescriptor::kMaxCollectionDepth) {
                error = "collections nested too deep";
                return false;
            }
            HidLinkCollection link;
            if (!local_.usages.empty()) {
                link.usagePage = local_.usages.front().usagePage;
                link.usage = local_.usages.front().usageMin;
            }
            link.collectionType = static_cast<uint8_t>(Unsigned(data));
            if (linkStack_.empty()) {
                HidTopCollection top;
                top.usagePage = link.usagePage;
                top.usage = link.usage;
                top.linkCollections.push_back(link);
                collections_.push_back(std::move(top));
                linkStack_.push_back(0);
            } else {
                auto& links = collections_.back().linkCollections;
                if (links.size() >= HidReportDescriptor::kMaxLinkCollections) {
                    error = "too many collections";
                    return false;
                }
                link.parent = linkStack_.back();
                links.push_back(link);
                linkStack_.push_back(static_cast<uint16_t>(links.size() - 1));
            }
            break;
        }
        case kMainEndCollection:
            if (linkStack_.empty()) {
                error = "end collection without collection";
                return false;
            }
            linkStack_.pop_back();
            break;
        case kMainInput:
            ok = AddField(HidReportType::Input, static_cast<uint16_t>(Unsigned(data)), error);
            break;
        case kMainOutput:
            ok = AddField(HidReportType::Output, static_cast<uint16_t>(Unsigned(data)), error);
            break;
        case kMainFeature:
            ok = AddField(HidReportType::Feature, static_cast<uint16_t>(Unsigned(data)), error);
            break;
        default:
            break;
    }
    local_ = LocalState{};
    return ok;
}

bool Parser::AddField(HidReportType type, uint16_t flags, std::string& error) {
    const uint64_t bits = static_cast<uint64_t>(global_.reportSize) * global_.reportCount;
    uint32_t& laidOut = reportBits_[static_cast<size_t>(type)][global_.reportId];
    if (global_.reportSize > 0xFFFFu || global_.reportCount > 0xFFFFu ||
        laidOut + bits > static_cast<uint64_t>(HidReportDescriptor::kMaxReportBytes) * 8) {
        error = "report too long";
        return false;
    }
    const uint32_t position = laidOut;
    laidOut += static_cast<uint32_t>(bits);
    // A main item outside every collection belongs to no collection; it still takes its bits.
    if (linkStack_.empty() || bits == 0) return true;

    HidMainField field;
    field.type = type;
    field.reportId = global_.reportId;
    field.linkCollection = linkStack_.back();
    field.flags = flags;
    field.bitPosition = position;
    field.bitSize = static_cast<uint16_t>(global_.reportSize);
    field.reportCount = static_cast<uint16_t>(global_.reportCount);
    field.logicalMin = global_.logicalMin;
    field.logicalMax = global_.logicalMax;
    // A maximum written in too few bytes reads negative; with a non-negative minimum it is unsigned.
    if (field.logicalMin >= 0 && field.logicalMax < 0) {
        field.logicalMax = static_cast<int32_t>(static_cast<uint32_t>(field.logicalMax) &
                                                (field.logicalMax >= -128 ? 0xFFu : 0xFFFFu));
    }
    field.physicalMin = global_.physicalMin;
    field.physicalMax = global_.physicalMax;
    field.unit = global_.unit;
    field.unitExponent = global_.unitExponent;
    field.usages = std::move(local_.usages);
    collections_.back().fields.push_back(std::move(field));
    return true;
}

HidCapability CapabilityOf(const HidTopCollection& top, const HidMainField& field, uint32_t fieldIndex) {
    HidCapability cap;
    cap.reportId = field.reportId;
    cap.bitField = field.flags;
    cap.linkCollection = field.linkCollection;
    if (field.linkCollection < top.linkCollections.size()) {
        cap.linkUsagePage = top.linkCollections[field.linkCollection].usagePage;
        cap.linkUsage = top.linkCollections[field.linkCollection].usage;
    }
    cap.isAbsolute = field.IsAbsolute();
    cap.hasNull = field.HasNull();
    cap.bitSize = field.bitSize;
    cap.logicalMin = field.logicalMin;
    cap.logicalMax = field.logicalMax;
    cap.physicalMin = field.physicalMin;
    cap.physicalMax = field.physicalMax;
    cap.unit = field.unit;
    cap.unitExponent = field.unitExponent;
    cap.fieldIndex = fieldIndex;
    return cap;
}

// Capabilities of one field: an array field gives one button capability per usage span, all over
// the same selectors; a variable field gives one per span, each covering as many of the field's
// report fields as it has usages (a value's last usage also takes the fields left over).
void AddCapabilities(HidTopCollection& top, uint32_t fieldIndex) {
    const HidMainField& field = top.fields[fieldIndex];
    if (field.IsConstant() || field.usages.empty()) return;
    auto& target = field.IsButton() ? top.buttonCaps[static_cast<size_t>(field.type)]
                                    : top.valueCaps[static_cast<size_t>(field.type)];
    uint32_t next = 0;  // index of the first report field not yet covered
    for (size_t i = 0; i < field.usages.size(); ++i) {
        const HidUsageSpan& span = field.usages[i];
        HidCapability cap = CapabilityOf(top, field, fieldIndex);
        cap.usagePage = span.usagePage;
        cap.isRange = span.isRange;
        cap.usageMin = span.usageMin;
        cap.usageMax = span.usageMax;
        if (field.IsArray()) {
            cap.isArray = true;
            cap.bitPosition = field.bitPosition;
            cap.reportCount = field.reportCount;
            target.push_back(cap);
            continue;
        }
        if (next >= field.reportCount) break;
        const uint32_t usages = static_cast<uint32_t>(span.usageMax - span.usageMin) + 1;
        uint32_t covered = std::min<uint32_t>(usages, field.reportCount - next);
        cap.usageMax = static_cast<uint16_t>(span.usageMin + covered - 1);
        cap.isRange = span.isRange && cap.usageMax != cap.usageMin;
        cap.bitPosition = field.bitPosition + next * field.bitSize;
        if (i + 1 == field.usages.size() && !field.IsButton() && !cap.isRange)
            covered = field.reportCount - next;
        cap.reportCount = static_cast<uint16_t>(covered);
        next += covered;
        target.push_back(cap);
    }
}

void Parser::Finish(std::vector<HidTopCollection>& out) {
    for (auto& top : collections_) {
        std::vector<uint8_t> ids;
        for (uint32_t i = 0; i < top.fields.size(); ++i) {
            ids.push_back(top.fields[i].reportId);
            AddCapabilities(top, i);
        }
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        top.reportIds = ids;
        for (size_t type = 0; type < kHidReportTypeCount; ++type) {
            uint32_t longest = 0;
            for (uint8_t id : ids) {
                const auto it = reportBits_[type].find(id);
                if (it == reportBits_[type].end()) continue;
                bool used = false;
                for (const auto& field : top.fields)
                    used = used || (field.reportId == id && static_cast<size_t>(field.type) == type);
                if (used) longest = std::max(longest, (it->second + 7) / 8 + 1);
            }
            top.reportLength[type] = static_cast<uint16_t>(std::min<uint32_t>(longest, 0xFFFFu));
        }
    }
    out = std::move(collections_);
}

}  // namespace

bool HidTopCollection::UsesReportId(uint8_t id) const {
    return std::binary_search(reportIds.begin(), reportIds.end(), id);
}

bool HidReportDescriptor::Parse(std::span<const uint8_t> descriptor, std::string* error) {
    collections_.clear();
    std::string reason;
    Parser parser;
    if (!parser.Run(descriptor, collections_, reason)) {
        collections_.clear();
        if (error) *error = reason;
        return false;
    }
    return true;
}

}  // namespace zevik
