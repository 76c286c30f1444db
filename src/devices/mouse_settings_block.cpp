#include "devices/mouse_settings_block.h"

#include <algorithm>
#include <cstring>

namespace zevik {

namespace {

// "DormancyTime" 1..6 in seconds; the device keeps the value in bytes 70 and 71.
constexpr std::array<uint16_t, 7> kDormancySeconds = {0, 180, 240, 300, 600, 900, 1200};
// "KeyDelay" 0..4 as the device codes it.
constexpr std::array<uint8_t, 5> kKeyDelayCodes = {1, 3, 5, 7, 9};

uint8_t Low(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

}  // namespace

bool CMouseSettingsBlock::Assign(std::span<const uint8_t> bytes) {
    if (bytes.size() != kSize) return false;
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
    return true;
}

uint16_t CMouseSettingsBlock::SlotAddress(int slot) {
    const int bounded = ((slot % kSlotCount) + kSlotCount) % kSlotCount;
    return static_cast<uint16_t>(bounded * kSlotStride);
}

std::optional<uint16_t> CMouseSettingsBlock::DormancySeconds(int dormancy) {
    if (dormancy < 1 || dormancy >= static_cast<int>(kDormancySeconds.size())) return std::nullopt;
    return kDormancySeconds[static_cast<size_t>(dormancy)];
}

std::optional<uint16_t> CMouseSettingsBlock::DormancyFromByte(uint8_t low) {
    if (low == 0) return 0;
    for (size_t i = 1; i < kDormancySeconds.size(); ++i) {
        if (Low(kDormancySeconds[i]) == low) return static_cast<uint16_t>(i);
    }
    return std::nullopt;
}

std::optional<uint8_t> CMouseSettingsBlock::KeyDelayCode(int keyDelay) {
    if (keyDelay < 0 || keyDelay >= static_cast<int>(kKeyDelayCodes.size())) return std::nullopt;
    return kKeyDelayCodes[static_cast<size_t>(keyDelay)];
}

uint16_t CMouseSettingsBlock::KeyDelayFromCode(uint8_t code) {
    for (size_t i = 0; i < kKeyDelayCodes.size(); ++i) {
        if (kKeyDelayCodes[i] == code) return static_cast<uint16_t>(i);
    }
    return 0;
}

std::optional<uint8_t> CMouseSettingsBlock::ModeCode(int selectItem, std::span<const int> modeList) {
    const int item = (selectItem < 0 || selectItem >= kModeItems) ? 0 : selectItem;
    if (static_cast<size_t>(item) >= modeList.size()) return std::nullopt;
    const int code = modeList[static_cast<size_t>(item)];
    if (code < 0 || code > 0xFF) return std::nullopt;
    return static_cast<uint8_t>(code);
}

std::optional<uint8_t> CMouseSettingsBlock::ModeItem(uint8_t code, std::span<const int> modeList) {
    // Positions beyond 255 cannot be stored in "SelectItem"; the list is never that long in practice.
    const size_t count = std::min<size_t>(modeList.size(), 256);
    for (size_t i = 0; i < count; ++i) {
        if (modeList[i] == code) return static_cast<uint8_t>(i);
    }
    return std::nullopt;
}

void CMouseSettingsBlock::Fill(const MouseBlockSettings& s, std::span<const int> modeList,
                               uint8_t slotValue) {
    bytes_[kSlot] = slotValue;

    if (const auto code = ModeCode(s.light.selectItem, modeList)) bytes_[kLightMode] = *code;
    bytes_[kBrightness] = s.light.light;
    // The speed level is stored inverted; a level above 4 has no code and leaves the byte.
    if (s.light.speed <= 4) bytes_[kSpeedInverted] = static_cast<uint8_t>(4 - s.light.speed);
    bytes_[kDirection] = s.light.fx;
    bytes_[kMultiColour] = s.light.multiColor;
    bytes_[kRed] = s.light.red;
    bytes_[kGreen] = s.light.green;
    bytes_[kBlue] = s.light.blue;
    bytes_[kZero] = 0;

    const MouseSystemRecord& sys = s.system;
    bytes_[kLinearCalibration] = Low(sys.LinearCalibration());
    bytes_[kReportRate] = Low(sys.ReportRate());
    bytes_[kActiveStage] = static_cast<uint8_t>(s.activeStage);
    bytes_[kLiftOff] = Low(sys.SilentAltitudeItem());

    const size_t stages = std::min(s.stages.size(), kStageCount);
    for (size_t i = 0; i < stages; ++i) {
        std::memcpy(bytes_.data() + kStages + i * kStageSize, &s.stages[i], kStageSize);
    }

    bytes_[kSleepLow] = Low(sys.SleepTime());
    bytes_[kSleepHigh] = Low(sys.SleepTimeH());
    if (const auto seconds = DormancySeconds(sys.DormancyTime())) {
        bytes_[kDormancyLow] = Low(*seconds);
        bytes_[kDormancyHigh] = static_cast<uint8_t>(*seconds >> 8);
    }
    if (const auto code = KeyDelayCode(sys.KeyDelay())) bytes_[kKeyDelay] = *code;
    bytes_[kMotionSync] = Low(sys.MotionSync());
    bytes_[kDeepSleep] = Low(sys.DeepSleepOff());
}

void CMouseSettingsBlock::Read(MouseBlockSettings& s, std::span<const int> modeList) const {
    if (const auto item = ModeItem(bytes_[kLightMode], modeList)) s.light.selectItem = *item;
    s.light.light = bytes_[kBrightness];
    if (bytes_[kSpeedInverted] <= 4) s.light.speed = static_cast<uint8_t>(4 - bytes_[kSpeedInverted]);
    s.light.multiColor = bytes_[kMultiColour];
    s.light.red = bytes_[kRed];
    s.light.green = bytes_[kGreen];
    s.light.blue = bytes_[kBlue];

    MouseSystemRecord& sys = s.system;
    sys.SetReportRate(bytes_[kReportRate]);
    sys.SetSilentAltitudeItem(bytes_[kLiftOff]);
    sys.SetLinearCalibration(bytes_[kLinearCalibration]);
    sys.SetMotionSync(bytes_[kMotionSync]);
    sys.SetDeepSleepOff(bytes_[kDeepSleep]);
    sys.SetSleepTime(bytes_[kSleepLow]);
    sys.SetSleepTimeH(bytes_[kSleepHigh]);
    sys.SetKeyDelay(KeyDelayFromCode(bytes_[kKeyDelay]));
    if (const auto dormancy = DormancyFromByte(bytes_[kDormancyLow])) sys.SetDormancyTime(*dormancy);
    s.activeStage = bytes_[kActiveStage];
}

}  // namespace zevik
