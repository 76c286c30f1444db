#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "settings/macro_deletion.h"
#include "settings/macro_key_renumbering.h"
#include "settings/profile_store.h"
#include "settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

constexpr int kFactory[] = {0x100100, 0x100200, 0x100400, 0x100800};

int Macro(int type, int index) { return type * 65536 + index * 256 + 1; }

TEST(MacroKeyRenumbering, DeletedMacroFallsBackLaterOnesMoveDown) {
    struct Case {
        AssignmentCode before;
        AssignmentCode after;
    };
    const AssignmentCode factory{0x10, 0x01, 0x00};
    const Case cases[] = {
        {{0x70, 1, 3}, factory},       // bound to the deleted macro
        {{0x71, 1, 0}, factory},
        {{0x70, 2, 3}, {0x70, 1, 3}},  // later macros follow it down
        {{0x71, 9, 2}, {0x71, 8, 2}},
        {{0x70, 0, 3}, {0x70, 0, 3}},  // earlier ones stay
        {{0x20, 2, 4}, {0x20, 2, 4}},  // not a macro: p1 is something else
    };
    for (const Case& c : cases) {
        std::vector<KeyAssignRecord> keys = {{0, c.before, 0, factory}};
        EXPECT_EQ(RenumberKeysForDeletedMacro(keys, 1), !(c.before == c.after));
        EXPECT_EQ(keys[0].assignment, c.after) << int(c.before.type) << "/" << int(c.before.p1);
    }
}

// Three mouse profiles, each binding key 0 to macro 0, key 1 to macro 1 and key 2 to macro 2, and a
// list of three macros with their files. The first profile is the current one.
class MacroDeletionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Json::Value keys(Json::arrayValue);
        for (int code : kFactory) {
            Json::Value k;
            k["Assignment"] = code;
            k["DefaultAssignment"] = code;
            keys.append(k);
        }
        Json::Value factory;
        factory["Device"][0]["KeyList"] = keys;
        test::WriteJson(temp / "factory.Json", factory);
        CProfileStore profiles(kind(), temp / "factory.Json", 2);
        ASSERT_TRUE(profiles.InitProfiles().ok());
        ASSERT_TRUE(profiles.AddProfile().ok());
        ASSERT_TRUE(profiles.AddProfile().ok());
        for (const ProfileEntry& e : profiles.ListedProfiles()) {
            const fs::path file = profiles.ProfileFilePathOf(e.uuid);
            Json::Value document = test::ReadJson(file);
            Json::Value& list = document["Device"][0]["KeyList"];
            list[0]["Assignment"] = Macro(0x70, 0);
            list[1]["Assignment"] = Macro(0x71, 1);
            list[2]["Assignment"] = Macro(0x70, 2);
            test::WriteJson(file, document);
            files.push_back(file);
        }
        ASSERT_EQ(files.size(), 3u);
        test::WriteText(kind() / "macro.config", R"({"MacroInfo":[{"MacroName":"a","Guid":"ga"},
            {"MacroName":"b","Guid":"gb"},{"MacroName":"c","Guid":"gc"}]})");
        for (const char* g : {"ga", "gb", "gc"}) test::WriteText(kind() / (std::string(g) + ".mac"), R"({"Events":[]})");
    }
    fs::path kind() const { return temp.path() / "mouse"; }
    MacroDeletionPlace Place() const { return {kind(), temp.path() / "factory.Json", 0, files[0]}; }
    std::map<fs::path, std::string> Snapshot() const {
        std::map<fs::path, std::string> out;
        for (const auto& e : fs::directory_iterator(kind())) out[e.path()] = test::ReadText(e.path());
        return out;
    }
    std::vector<int> Assignments(const fs::path& file) const {
        std::vector<int> out;
        const Json::Value doc = test::ReadJson(file);
        for (const Json::Value& k : doc["Device"][0]["KeyList"]) out.push_back(k["Assignment"].asInt());
        return out;
    }

    test::TempFolder temp;
    std::vector<fs::path> files;
};

// The current profile's file, with a device that takes or refuses what is sent.
class FakeDeviceKeys : public CProfileFileMacroKeys {
public:
    using CProfileFileMacroKeys::CProfileFileMacroKeys;
    std::string SendKeys(const std::vector<KeyAssignRecord>& keys) override {
        sent.push_back(keys);
        return refuse ? "the mouse did not answer" : "";
    }
    bool refuse = false;
    std::vector<std::vector<KeyAssignRecord>> sent;
};

TEST_F(MacroDeletionTest, DeclinedQuestionsChangeNothing) {
    struct Case {
        bool first;   // message_text_4
        bool second;  // message_text_2: the current profile uses the macro
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {false, true, {"message_text_4"}},
        {true, false, {"message_text_4", "message_text_2"}},
    };
    for (const Case& c : cases) {
        const auto before = Snapshot();
        FakeDeviceKeys device(files[0], temp.path() / "factory.Json", 0);
        std::vector<std::string> asked;
        const MacroDeletionResult r = DeleteMacroEverywhere(Place(), 1, device, [&](const std::string& key) {
            asked.push_back(key);
            return key == "message_text_4" ? c.first : c.second;
        });
        EXPECT_TRUE(r.declined);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(asked, c.asked);
        EXPECT_TRUE(device.sent.empty());
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(MacroDeletionTest, ConfirmedDeletionRenumbersEveryProfileAndDropsTheMacro) {
    FakeDeviceKeys device(files[0], temp.path() / "factory.Json", 0);
    const MacroDeletionResult r = DeleteMacroEverywhere(Place(), 1, device, [](const std::string&) { return true; });
    ASSERT_TRUE(r.ok()) << r.removal.message;
    EXPECT_EQ(r.otherProfilesChanged, 2);
    EXPECT_TRUE(r.currentChanged);
    const std::vector<int> want = {Macro(0x70, 0), kFactory[1], Macro(0x70, 1), kFactory[3]};
    for (const fs::path& f : files) EXPECT_EQ(Assignments(f), want) << f;
    ASSERT_EQ(device.sent.size(), 1u);
    EXPECT_EQ(device.sent[0][2].assignment, AssignmentCode::FromInt(Macro(0x70, 1)));
    const Json::Value list = test::ReadJson(kind() / "macro.config");
    ASSERT_EQ(list["MacroInfo"].size(), 2u);
    EXPECT_EQ(list["MacroInfo"][1]["Guid"].asString(), "gc");
    EXPECT_FALSE(fs::exists(kind() / "gb.mac"));
    EXPECT_TRUE(fs::exists(kind() / "gc.mac"));
    // The factory file is never the scratch document's target.
    EXPECT_EQ(test::ReadJson(temp / "factory.Json")["Device"][0]["KeyList"][1]["Assignment"].asInt(), kFactory[1]);
}

TEST_F(MacroDeletionTest, CurrentProfileIsSavedRenumberedWhenTheDeviceRefuses) {
    FakeDeviceKeys device(files[0], temp.path() / "factory.Json", 0);
    device.refuse = true;
    const MacroDeletionResult r = DeleteMacroEverywhere(Place(), 2, device, [](const std::string&) { return true; });
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.deviceFailure, "the mouse did not answer");
    EXPECT_TRUE(r.removal.ok());
    EXPECT_EQ(Assignments(files[0]), (std::vector<int>{Macro(0x70, 0), Macro(0x71, 1), kFactory[2], kFactory[3]}));
}

TEST_F(MacroDeletionTest, UnusedByTheCurrentProfileAsksOnlyOnce) {
    FakeDeviceKeys device(files[0], temp.path() / "factory.Json", 0);
    Json::Value document = test::ReadJson(files[0]);
    for (Json::Value& k : document["Device"][0]["KeyList"]) k["Assignment"] = k["DefaultAssignment"];
    test::WriteJson(files[0], document);
    std::vector<std::string> asked;
    const MacroDeletionResult r = DeleteMacroEverywhere(Place(), 0, device, [&](const std::string& key) {
        asked.push_back(key);
        return true;
    });
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(asked, (std::vector<std::string>{"message_text_4"}));
    EXPECT_TRUE(device.sent.empty());  // nothing of the current profile changed
    EXPECT_EQ(Assignments(files[1])[0], kFactory[0]);
}

}  // namespace
}  // namespace zevik
