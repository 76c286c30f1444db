#include "shell/worktool_record.h"

#include <algorithm>

namespace zevik {

namespace {

constexpr std::uint32_t kHeader[] = {2, 3, 0, 2};
constexpr std::size_t kValueBytes = 4;
constexpr std::size_t kHeaderValues = std::size(kHeader) + 1;  // and the row count
constexpr std::size_t kRowValues = 3;
constexpr std::size_t kMaxRows = (kWorkToolRecordBytes / kValueBytes - kHeaderValues) / kRowValues;

void Put(WorkToolRecord& record, std::size_t index, std::uint32_t value) {
    for (std::size_t b = 0; b < kValueBytes; ++b)
        record[index * kValueBytes + b] = static_cast<std::uint8_t>(value >> (8 * b));
}

}  // namespace

WorkToolRecord BuildWorkToolRecord(std::span<const UpdateEntry> rows) {
    WorkToolRecord record{};
    const std::size_t count = std::min(rows.size(), kMaxRows);
    std::size_t at = 0;
    for (std::uint32_t value : kHeader) Put(record, at++, value);
    Put(record, at++, static_cast<std::uint32_t>(count));
    for (const UpdateEntry& row : rows.first(count)) {
        Put(record, at++, row.hexVersion);
        Put(record, at++, row.kind);
        Put(record, at++, row.currentVersion);
    }
    return record;
}

}  // namespace zevik
