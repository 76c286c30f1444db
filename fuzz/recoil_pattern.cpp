// Fuzz target: any bytes as a recoil pattern document. Every bullet reads without crashing and within
// its fields' ranges once written back; writing a bullet keeps the document an object with "Events"
// long enough for it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "devices/recoil_bullet.h"
#include "settings/json_file_util.h"

using namespace zevik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Json::Value doc;
    CJsonFileUtil::ParseJson(std::string_view(reinterpret_cast<const char*>(data), size), doc);
    for (int b = 0; b < kRecoilBullets; ++b) {
        RecoilBullet bullet = ReadRecoilBullet(doc, b);
        WriteRecoilBullet(doc, b, bullet);
        const RecoilBullet back = ReadRecoilBullet(doc, b);
        if (back.x < 0 || back.x > kRecoilMoveMax || back.y < 0 || back.y > kRecoilMoveMax || back.delay < 0 ||
            back.delay > kRecoilDelayMax) {
            std::abort();
        }
    }
    if (!doc.isObject() || !doc["Events"].isArray() || doc["Events"].size() < kRecoilBullets * kRecoilEventsPerBullet)
        std::abort();
    return 0;
}
