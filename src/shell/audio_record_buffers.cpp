#include "shell/audio_record_buffers.h"

#include <algorithm>

namespace zevik {

std::size_t CAudioRecordBuffers::Accept(std::uint32_t kind, std::span<const std::uint8_t> data) {
    if (data.empty()) return 0;
    std::span<std::uint8_t> target;
    if (kind == kSampleRecord)
        target = samples_;
    else if (kind == kBandRecord)
        target = bands_;
    else
        return 0;
    const std::size_t count = std::min(data.size(), target.size());
    std::copy_n(data.begin(), count, target.begin());
    return count;
}

std::int32_t CAudioRecordBuffers::ValueAt(std::span<const std::uint8_t> buffer, std::size_t i) {
    if (i >= buffer.size() / 4) return 0;
    const std::span<const std::uint8_t, 4> bytes = buffer.subspan(i * 4).first<4>();
    std::uint32_t v = 0;
    for (std::size_t k = 4; k-- > 0;) v = v << 8 | bytes[k];
    return static_cast<std::int32_t>(v);
}

}  // namespace zevik
