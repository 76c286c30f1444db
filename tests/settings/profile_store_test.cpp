#include "settings/profile_store.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A kind folder with a small factory file; pageKind chooses the kind's rules (7 headset).
class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        factory_ = test::Parse(R"({"Device": [{"LightInfo": {"Red": 1},
            "CustomEQNameInfo": [], "CustomEQHzValueInfo": []}]})");
        test::WriteJson(dir_ / "factory.Json", factory_);
        store_ = CProfileStore(Folder(), dir_ / "factory.Json", 2);
    }
    fs::path Folder() const { return dir_ / "mouse"; }
    Json::Value List() const { return test::ReadJson(Folder() / "ProfileList.ini"); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : store_.Items()) names.push_back(e.name);
        return names;
    }
    Json::Value ProfileFile(int index) const { return test::ReadJson(store_.GetProfileFilePath(index)); }
    void Init(const std::vector<std::string>& names) {
        ASSERT_TRUE(store_.InitProfiles().ok());
        ASSERT_TRUE(store_.RenameProfile(names[0]).ok());
        for (std::size_t i = 1; i < names.size(); ++i) {
            ASSERT_TRUE(store_.AddProfile().ok());
            ASSERT_TRUE(store_.SelectProfile(static_cast<int>(i)).ok());
            ASSERT_TRUE(store_.RenameProfile(names[i]).ok());
        }
    }

    TempFolder dir_;
    Json::Value factory_;
    CProfileStore store_;
};

TEST_F(ProfileStoreTest, FirstStartCreatesProfile1FromTheFactoryFile) {
    ASSERT_TRUE(store_.InitProfiles().ok());
    const Json::Value list = List();
    ASSERT_EQ(list["profilelist"].size(), 1u);
    const Json::Value& entry = list["profilelist"][0];
    EXPECT_EQ(entry["profilename"], "Profile1");
    EXPECT_EQ(entry["profileislink"], 0);
    EXPECT_EQ(entry["profilelinkmame"], "");
    EXPECT_EQ(list["profileselect"], 0);
    const std::string uuid = entry["profileUUID"].asString();
    EXPECT_EQ(store_.GetSelectedUUID(), uuid);
    EXPECT_EQ(store_.GetSelectedIndex(), 0);
    Json::Value expected = factory_;
    expected["profilename"] = "Profile1";
    expected["profileUUID"] = uuid;
    EXPECT_EQ(test::ReadJson(Folder() / (uuid + ".Json")), expected);
    EXPECT_EQ(store_.GetProfileCount(), 1);
}

TEST_F(ProfileStoreTest, AddCopyAndImportNames) {
    Init({"Profile1", "profile2"});
    ASSERT_TRUE(store_.AddProfile().ok());
    EXPECT_EQ(Names().back(), "Profile3");
    EXPECT_EQ(List()["profileselect"], 2);  // recorded for the next start
    EXPECT_EQ(store_.GetRecordedSelection(), 2);
    EXPECT_EQ(store_.GetSelectedIndex(), 1);  // the bar's selection stays

    ASSERT_TRUE(store_.RenameProfile("Game").ok());
    ASSERT_TRUE(store_.CopyProfile().ok());
    ASSERT_TRUE(store_.CopyProfile().ok());
    EXPECT_EQ(Names()[3], "Game copy");
    EXPECT_EQ(Names()[4], "Game copy copy");
    EXPECT_EQ(ProfileFile(4)["profilename"], "Game copy copy");
    EXPECT_EQ(ProfileFile(4)["Device"], factory_["Device"]);

    Json::Value exported = factory_;
    exported["profilename"] = "Inside name";
    exported["profileUUID"] = "../../escape";
    test::WriteJson(dir_ / "Game.json", exported);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(store_.ImportProfile(dir_ / "Game.json").ok());
    const std::vector<std::string> names = Names();
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string> {"Game(1)", "Game(1)(2)", "Game(1)(2)(3)"}));
    // The new file is named by a fresh identifier only, never by what the imported file says.
    const Json::Value imported = ProfileFile(static_cast<int>(names.size()) - 1);
    EXPECT_EQ(imported["profileUUID"], store_.Items().back().uuid);
    EXPECT_EQ(store_.GetProfileFilePath(static_cast<int>(names.size()) - 1).parent_path(), Folder());
    EXPECT_FALSE(fs::exists(dir_.path().parent_path() / "escape.Json"));
}

TEST_F(ProfileStoreTest, ImportOfAFreshNameKeepsTheTitle) {
    Init({"Profile1"});
    Json::Value exported = factory_;
    exported["profilename"] = "x";
    exported["profileUUID"] = "y";
    test::WriteJson(dir_ / "Game.json", exported);
    ASSERT_TRUE(store_.ImportProfile(dir_ / "Game.json").ok());
    ASSERT_TRUE(store_.ImportProfile(dir_ / "Game.json").ok());
    EXPECT_EQ(Names(), (std::vector<std::string> {"Profile1", "Game", "Game(1)"}));
}

TEST_F(ProfileStoreTest, RenameResults) {
    Init({"Alpha", "Beta"});
    const struct {
        const char* name;
        int code;
        const char* key;
        const char* stored;
    } cases[] = {
        {"  ", 2, "message_text_25", "Beta"},
        {"", 2, "message_text_25", "Beta"},
        {"ALPHA", 0, "message_text_5", "Beta"},
        {"Beta", 1, "", "Beta"},
        {" Gamma ", 1, "", "Gamma"},
    };
    for (const auto& c : cases) {
        const ProfileResult r = store_.RenameProfile(c.name);
        EXPECT_EQ(r.code, c.code) << '"' << c.name << '"';
        EXPECT_EQ(r.messageKey, c.key) << '"' << c.name << '"';
        EXPECT_EQ(List()["profilelist"][1]["profilename"], c.stored) << '"' << c.name << '"';
        EXPECT_EQ(ProfileFile(1)["profilename"], c.stored) << '"' << c.name << '"';
    }
}

TEST_F(ProfileStoreTest, DeletingTheFirstOfThreeSelectsTheFormerSecond) {
    Init({"A", "B", "C"});
    ASSERT_TRUE(store_.SelectProfile(0).ok());
    const fs::path removed = store_.GetProfileFilePath(0);
    const std::string second = store_.Items()[1].uuid;
    const ProfileResult r = store_.DeleteProfile();
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.deviceMustReload);
    EXPECT_FALSE(fs::exists(removed));
    EXPECT_EQ(Names(), (std::vector<std::string> {"B", "C"}));
    EXPECT_EQ(store_.GetSelectedIndex(), 0);
    EXPECT_EQ(store_.GetSelectedUUID(), second);
    EXPECT_EQ(List()["profileselect"], 0);

    ASSERT_TRUE(store_.SelectProfile(1).ok());
    ASSERT_TRUE(store_.DeleteProfile().ok());
    EXPECT_EQ(store_.GetSelectedIndex(), 0);
    const ProfileResult last = store_.DeleteProfile();
    EXPECT_EQ(last.status, ProfileResult::Status::Refused);
    EXPECT_EQ(store_.GetProfileCount(), 1);
}

TEST_F(ProfileStoreTest, ResetRestoresFactoryValuesButKeepsNameAndIdentifier) {
    Init({"Mine"});
    Json::Value changed = ProfileFile(0);
    changed["Device"][0]["LightInfo"]["Red"] = 99;
    changed["Device"][0]["CustomEQNameInfo"].append(test::Parse(R"({"Name": "Bass"})"));
    test::WriteJson(store_.GetProfileFilePath(0), changed);
    ASSERT_TRUE(store_.ResetProfile().ok());
    Json::Value reset = ProfileFile(0);
    EXPECT_EQ(reset["Device"], factory_["Device"]);
    EXPECT_EQ(reset["profilename"], "Mine");
    EXPECT_EQ(reset["profileUUID"], store_.GetSelectedUUID());
}

TEST_F(ProfileStoreTest, HeadsetResetKeepsTheUserEqualisers) {
    store_.SetPageKind(7);
    Init({"Mine"});
    Json::Value changed = ProfileFile(0);
    changed["Device"][0]["LightInfo"]["Red"] = 99;
    changed["Device"][0]["CustomEQNameInfo"] = test::Parse(R"([{"Name": "Bass"}])");
    changed["Device"][0]["CustomEQHzValueInfo"] = test::Parse(R"([[{"value": 4}]])");
    test::WriteJson(store_.GetProfileFilePath(0), changed);
    ASSERT_TRUE(store_.ResetProfile().ok());
    const Json::Value reset = ProfileFile(0)["Device"][0];
    EXPECT_EQ(reset["LightInfo"]["Red"], 1);
    EXPECT_EQ(reset["CustomEQNameInfo"], changed["Device"][0]["CustomEQNameInfo"]);
    EXPECT_EQ(reset["CustomEQHzValueInfo"], changed["Device"][0]["CustomEQHzValueInfo"]);
}

TEST_F(ProfileStoreTest, ResetWithoutFactoryFileFailsAndKeepsTheProfile) {
    Init({"Mine"});
    const std::string before = test::ReadText(store_.GetProfileFilePath(0));
    fs::remove(dir_ / "factory.Json");
    EXPECT_EQ(store_.ResetProfile().status, ProfileResult::Status::Failed);
    EXPECT_EQ(test::ReadText(store_.GetProfileFilePath(0)), before);
}

TEST_F(ProfileStoreTest, FiftyProfilesAreTheLimit) {
    ASSERT_TRUE(store_.InitProfiles().ok());
    for (int i = 1; i < CProfileStore::kMaxProfiles; ++i) ASSERT_TRUE(store_.AddProfile().ok()) << i;
    test::WriteJson(dir_ / "Game.json", test::Parse(R"({"profilename": "a", "profileUUID": "b"})"));
    for (const ProfileResult& r : {store_.AddProfile(), store_.CopyProfile(), store_.ImportProfile(dir_ / "Game.json")}) {
        EXPECT_EQ(r.status, ProfileResult::Status::Refused);
        EXPECT_NE(r.message.find("50"), std::string::npos);
    }
    EXPECT_EQ(store_.GetProfileCount(), 50);
    // Every identifier is distinct although many were made within one millisecond.
    std::set<std::string> uuids;
    for (const auto& e : store_.Items()) uuids.insert(e.uuid);
    EXPECT_EQ(uuids.size(), 50u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 51);
}

TEST_F(ProfileStoreTest, ImportRefusesWhatIsNotAProfile) {
    Init({"Profile1"});
    fs::create_directory(dir_ / "folder.json");
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"text.json", "hello"},
        {"array.json", "[1, 2]"},
        {"noname.json", R"({"profileUUID": "x", "Device": []})"},
        {"nouuid.json", R"({"profilename": "x"})"},
        {"devobj.json", R"({"profilename": "x", "profileUUID": "y", "Device": {"a": 1}})"},
        {"binary.json", std::string("\0\xff\x01{", 4)},
        {"huge.json", "[" + std::string(CJsonFileUtil::kMaxFileSize, ' ') + "]"},
    };
    for (const auto& c : cases) {
        test::WriteText(dir_ / c.name, c.content);
        const ProfileResult r = store_.ImportProfile(dir_ / c.name);
        EXPECT_EQ(r.status, ProfileResult::Status::Refused) << c.name;
        EXPECT_FALSE(r.message.empty()) << c.name;
    }
    EXPECT_EQ(store_.ImportProfile(dir_ / "folder.json").status, ProfileResult::Status::Refused);
    EXPECT_EQ(store_.ImportProfile(dir_ / "absent.json").status, ProfileResult::Status::Refused);
    EXPECT_EQ(store_.GetProfileCount(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 2);
}

TEST_F(ProfileStoreTest, ExportWritesTheSelectedProfileUnchanged) {
    Init({"Mine"});
    ASSERT_TRUE(store_.ExportProfile(dir_ / "out.json").ok());
    EXPECT_EQ(test::ReadJson(dir_ / "out.json"), ProfileFile(0));
    EXPECT_EQ(test::ReadText(dir_ / "out.json"), CJsonFileUtil::StyledText(ProfileFile(0)));
    EXPECT_EQ(store_.ExportProfile(dir_ / "no" / "out.json").status, ProfileResult::Status::Failed);
}

TEST_F(ProfileStoreTest, OutOfRangeSelectionIsTakenAsTheFirst) {
    Init({"A", "B"});
    Json::Value list = List();
    for (const Json::Value& select : {Json::Value(7), Json::Value(-1), Json::Value("1")}) {
        list["profileselect"] = select;
        test::WriteJson(Folder() / "ProfileList.ini", list);
        CProfileStore fresh(Folder(), dir_ / "factory.Json", 2);
        ASSERT_TRUE(fresh.InitProfiles().ok());
        EXPECT_EQ(fresh.GetSelectedIndex(), 0) << select.toStyledString();
        EXPECT_EQ(List()["profileselect"], 0);
    }
    EXPECT_EQ(store_.SelectProfile(5).status, ProfileResult::Status::Refused);
}

TEST_F(ProfileStoreTest, UnsafeIdentifiersAreSkippedAndNothingIsDeletedThroughThem) {
    Init({"A"});
    test::WriteText(dir_ / "victim.Json", "keep");
    Json::Value list = List();
    for (const char* uuid : {"../victim", "/tmp/x", "..", "", "a\\b"}) {
        Json::Value e;
        e["profilename"] = uuid;
        e["profileUUID"] = uuid;
        list["profilelist"].append(e);
    }
    list["profilelist"].append(Json::Value(5));
    Json::Value numeric;
    numeric["profilename"] = "N";
    numeric["profileUUID"] = 12;
    list["profilelist"].append(numeric);
    test::WriteJson(Folder() / "ProfileList.ini", list);

    CProfileStore fresh(Folder(), dir_ / "factory.Json", 2);
    ASSERT_TRUE(fresh.InitProfiles().ok());
    ASSERT_EQ(fresh.Items().size(), 1u);
    EXPECT_EQ(fresh.Items()[0].name, "A");
    EXPECT_TRUE(fs::exists(Folder() / "ProfileList.ini.bad"));
    EXPECT_EQ(List()["profilelist"].size(), 1u);
    EXPECT_EQ(fresh.DeleteProfile().status, ProfileResult::Status::Refused);
    EXPECT_EQ(test::ReadText(dir_ / "victim.Json"), "keep");
}

TEST_F(ProfileStoreTest, DamagedListIsMovedAsideAndReplaced) {
    Init({"A"});
    const std::string oldFile = store_.GetProfileFilePath(0).filename().string();
    test::WriteText(Folder() / "ProfileList.ini", "{ \"profilelist\": [ {");
    CProfileStore fresh(Folder(), dir_ / "factory.Json", 2);
    ASSERT_TRUE(fresh.InitProfiles().ok());
    EXPECT_EQ(test::ReadText(Folder() / "ProfileList.ini.bad"), "{ \"profilelist\": [ {");
    EXPECT_EQ(fresh.Items().size(), 1u);
    EXPECT_EQ(fresh.Items()[0].name, "Profile1");
    EXPECT_TRUE(fs::exists(Folder() / oldFile));  // older profile files stay, unlisted
}

TEST_F(ProfileStoreTest, FailedListWriteLeavesNoOrphanProfileFile) {
    Init({"A"});
    const std::string list = test::ReadText(Folder() / "ProfileList.ini");
    // A folder where the list must go makes its replacement fail.
    fs::rename(Folder() / "ProfileList.ini", dir_ / "list.saved");
    fs::create_directory(Folder() / "ProfileList.ini");
    test::WriteText(Folder() / "ProfileList.ini" / "x", "");
    const auto before = std::distance(fs::directory_iterator(Folder()), fs::directory_iterator());
    EXPECT_EQ(store_.AddProfile().status, ProfileResult::Status::Failed);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), before);
}

TEST_F(ProfileStoreTest, OperationsNeedAFolderAndASelection) {
    CProfileStore unset;
    EXPECT_EQ(unset.InitProfiles().status, ProfileResult::Status::Failed);
    CProfileStore fresh(Folder(), dir_ / "factory.Json", 2);
    for (const ProfileResult& r : {fresh.CopyProfile(), fresh.DeleteProfile(), fresh.ResetProfile(),
                                   fresh.ExportProfile(dir_ / "x.json")}) {
        EXPECT_EQ(r.status, ProfileResult::Status::Refused);
    }
    EXPECT_EQ(fresh.RenameProfile("x").code, 0);
    EXPECT_EQ(fresh.GetSelectedIndex(), -1);
    EXPECT_TRUE(fresh.GetProfileFilePath(0).empty());
}

}  // namespace
}  // namespace zevik
