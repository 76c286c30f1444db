#include "devices/recoil_bullet.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include "devices/mouse_event_image.h"

namespace zevik {
namespace {

TEST(RecoilBullet, TheWorkedExampleInTheFileAndInTheDeviceForm) {
    Json::Value pattern(Json::objectValue);
    WriteRecoilBullet(pattern, 0, {true, 3, false, 7, 90});
    const Json::Value& events = pattern["Events"];
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[2]["Action"].asString(), "down");
    EXPECT_EQ(events[3]["Action"].asString(), "up");
    EXPECT_TRUE(events[3]["Delay"].isInt()) << "delays are integers in a pattern file";
    const MouseEventList sent = EncodeMouseEvents(pattern);
    const std::vector<std::array<std::uint8_t, 4>> want = {
        {0x0A, 0x00, 0x81, 0x01}, {0x00, 0x00, 0x01, 0x01}, {0x05, 0x00, 0x84, 0x03},
        {0x5A, 0x00, 0x05, 0x07}, {0x00, 0x00, 0x84, 0x00}, {0x00, 0x00, 0x05, 0x00},
    };
    ASSERT_EQ(sent.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(std::vector<std::uint8_t>(sent[i].begin(), sent[i].end()),
                  std::vector<std::uint8_t>(want[i].begin(), want[i].end()))
            << i;
    }
    EXPECT_EQ(ReadRecoilBullet(pattern, 0), (RecoilBullet{true, 3, false, 7, 90}));
}

TEST(RecoilBullet, ABulletPastTheEndGrowsTheListWithNullsAndKeepsOtherMembers) {
    Json::Value pattern(Json::objectValue);
    pattern["Events"] = Json::Value(Json::arrayValue);
    pattern["Name"] = "AK";
    WriteRecoilBullet(pattern, 5, {false, 1, true, 2, 3});
    ASSERT_EQ(pattern["Events"].size(), 36u);
    EXPECT_TRUE(pattern["Events"][29].isNull());
    EXPECT_EQ(pattern["Name"].asString(), "AK");
    EXPECT_EQ(ReadRecoilBullet(pattern, 5), (RecoilBullet{false, 1, true, 2, 3}));
    EXPECT_EQ(ReadRecoilBullet(pattern, 4), RecoilBullet{}) << "null entries read as zeros";
}

TEST(RecoilBullet, ValuesAreHeldToTheirFieldsNotCut) {
    Json::Value pattern;
    WriteRecoilBullet(pattern, 29, {true, 300, true, -4, 70000});
    EXPECT_EQ(ReadRecoilBullet(pattern, 29), (RecoilBullet{true, 255, true, 0, 65535}));
    WriteRecoilBullet(pattern, 30, {});  // no bullet 31
    EXPECT_EQ(pattern["Events"].size(), 180u);
}

TEST(RecoilBullet, DamagedDocumentsReadAsZeros) {
    Json::Reader reader;
    for (const char* text : {"[]", "{\"Events\": 5}", "{\"Events\": [1,2,3,\"x\",{\"Button\":\"a\"}]}", "null",
                             "{\"Events\": [{}, {}, {\"Action\": 4, \"Button\": [1]}, {\"Delay\": \"9\"}]}"}) {
        Json::Value doc;
        reader.parse(text, doc);
        const RecoilBullet bullet = ReadRecoilBullet(doc, 0);
        EXPECT_EQ(bullet.x, 0) << text;
        EXPECT_FALSE(bullet.left) << text;
    }
    Json::Value down(Json::objectValue);
    WriteRecoilBullet(down, 0, {true, 1, true, 1, 1});
    down["Events"][2]["Action"] = "Down";
    EXPECT_TRUE(ReadRecoilBullet(down, 0).left) << "the page shows any case as left";
}

}  // namespace
}  // namespace zevik
