#include "transport/device_catalogue.h"

#include <algorithm>
#include <cctype>

namespace zevik {
namespace {

// The hexadecimal number right after the first case-insensitive occurrence of key; 0 when the key
// is absent or no digit follows. Values beyond 16 bits keep their low 16 bits, as a 16-bit field does.
uint16_t HexAfter(std::string_view path, std::string_view key) {
    const auto it = std::search(path.begin(), path.end(), key.begin(), key.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    if (it == path.end()) return 0;
    uint32_t value = 0;
    for (auto digit = it + static_cast<std::ptrdiff_t>(key.size()); digit != path.end(); ++digit) {
        const int c = std::tolower(static_cast<unsigned char>(*digit));
        int nibble = -1;
        if (c >= '0' && c <= '9') nibble = c - '0';
        if (c >= 'a' && c <= 'f') nibble = c - 'a' + 10;
        if (nibble < 0) break;
        value = ((value << 4) | static_cast<uint32_t>(nibble)) & 0xFFFFFFFu;
    }
    return static_cast<uint16_t>(value & 0xFFFF);
}

}  // namespace

const CommandInterfaceRow* FindCommandInterface(std::string_view name) {
    for (const CommandInterfaceRow& row : kCommandInterfaces)
        if (row.name == name) return &row;
    return nullptr;
}

PathIds ParsePathIds(std::string_view path) {
    return {HexAfter(path, "vid_"), HexAfter(path, "pid_"), HexAfter(path, "&mi_"), HexAfter(path, "&col"),
            path.starts_with("emu:")};
}

bool PathMatches(const CommandInterfaceRow& row, std::string_view path) {
    const PathIds ids = ParsePathIds(path);
    return VendorMatches(row.vendorId, ids) && ids.productId == row.productId &&
           ids.interfaceNumber == row.interfaceNumber && ids.collectionNumber == row.collectionNumber;
}

}  // namespace zevik
