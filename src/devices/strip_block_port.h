#pragma once
// CStripBlockPort: reads and writes the lighting settings block of an LED-strip device (mousepad,
// headset) over its command channel and keeps the mirror of the block last read on this connection.
//
// A write is only ever built over bytes read from the device on this connection: when the mirror
// is missing, Write reads the block first and sends nothing when that read fails. The slot byte and
// bytes 9 to 20 then come from the device, the lighting bytes from the lighting state handed in.
// A failed read leaves the mirror as it was. Not synchronised: UI thread only.

#include <span>

#include "devices/strip_settings_block.h"
#include "settings/light_info_record.h"
#include "transport/command_channel.h"

namespace zevik {

class CStripBlockPort {
public:
    explicit CStripBlockPort(CCommandChannel& channel) : m_channel(channel) {}

    // A new connection: the mirror no longer describes the device.
    void Forget() { m_valid = false; }

    // 0x05 reads the active slot p, then the 34 bytes at p x 33; the first 24 become the mirror.
    // 1 done (slot then holds p); 0 channel closed or p without an address; else the failed read's
    // result. The mirror changes only when both reads were done.
    int Read(std::span<const int> modeList, int& slot);

    // The lighting into the mirror (bytes 1 to 8), kept for the next write.
    void TakeLighting(const LightInfoRecord& light) { m_mirror.TakeLighting(light); }

    // Reads the block first when the mirror is missing (nothing sent after a failed read), puts the
    // lighting into it and sends 0x01, 0x06 with the 21 bytes at blockSlot x 64, and 0x02 (also after
    // a failure inside). 1 done; 0 channel closed or no address; else the first failure.
    int Write(int blockSlot, const LightInfoRecord& light, std::span<const int> modeList);

    const StripSettingsBlock& Mirror() const { return m_mirror; }
    bool HasMirror() const { return m_valid; }

private:
    CCommandChannel& m_channel;
    StripSettingsBlock m_mirror;
    bool m_valid = false;
};

}  // namespace zevik
