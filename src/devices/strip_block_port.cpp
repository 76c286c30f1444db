#include "devices/strip_block_port.h"

#include <array>

#include "transport/command_set.h"

namespace zevik {

int CStripBlockPort::Read(std::span<const int> modeList, int& slot) {
    if (!m_channel.IsOpen()) return kResultNoAnswer;
    std::array<std::uint8_t, 1> active{};
    int result = ReadMemory(m_channel, active, 0);
    if (result != kResultDone) return result;
    const auto address = StripSettingsBlock::ReadAddress(active[0]);
    if (!address) return kResultNoAnswer;
    std::array<std::uint8_t, StripSettingsBlock::kReadSize> bytes{};
    result = ReadMemory(m_channel, bytes, *address);
    if (result != kResultDone) return result;
    m_mirror = StripSettingsBlock::FromRead(bytes, modeList);
    m_mirror.Set(StripSettingsBlock::kSlot, active[0]);
    m_valid = true;
    slot = active[0];
    return kResultDone;
}

int CStripBlockPort::Write(int blockSlot, const LightInfoRecord& light, std::span<const int> modeList) {
    if (!m_channel.IsOpen()) return kResultNoAnswer;
    const auto address = StripSettingsBlock::WriteAddress(blockSlot);
    if (!address) return kResultNoAnswer;
    if (!m_valid) {
        int slot = 0;
        const int read = Read(modeList, slot);
        if (read != kResultDone) return read;
    }
    m_mirror.TakeLighting(light);
    const StripSettingsBlock::Wire wire = m_mirror.ToWire(modeList);

    int result = BeginConfig(m_channel);
    if (result == kResultDone) result = WriteMemory(m_channel, wire, *address);
    const int end = EndConfig(m_channel);  // the frame is closed whatever happened inside it
    if (result == kResultDone) result = end;
    return result;
}

}  // namespace zevik
