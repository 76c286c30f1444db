#include <gtest/gtest.h>

#include <filesystem>

#include "settings/macro_store.h"
#include "settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

class MacroStoreTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(kind()); }
    fs::path kind() const { return temp.path() / "kind"; }
    fs::path config() const { return kind() / "macro.config"; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const MacroListEntry& e : store.Entries()) names.push_back(e.name);
        return names;
    }
    std::size_t FilesIn(const fs::path& folder) const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    test::TempFolder temp;
    CMacroStore store{temp.path() / "kind"};
};

TEST_F(MacroStoreTest, FirstMacroIsListedWithoutAFileUntilSaved) {
    const MacroStoreResult added = store.AddMacro();
    ASSERT_TRUE(added.ok()) << added.message;
    EXPECT_EQ(added.name, "macro_1");
    EXPECT_EQ(added.index, 0);
    const Json::Value list = test::ReadJson(config());
    ASSERT_EQ(list["MacroInfo"].size(), 1u);
    EXPECT_EQ(list["MacroInfo"][0]["MacroName"].asString(), "macro_1");
    EXPECT_EQ(list["MacroInfo"][0]["Guid"].asString(), added.guid);
    EXPECT_FALSE(fs::exists(kind() / (added.guid + ".mac")));

    ASSERT_TRUE(store.SaveMacro(0, {{"down", 4, 10, 50}}).ok());
    const Json::Value saved = test::ReadJson(kind() / (added.guid + ".mac"));
    EXPECT_EQ(saved["Version"].asInt(), 64);
    EXPECT_EQ(saved["MacroName"].asString(), "macro_1");
    EXPECT_EQ(saved["Events"][0]["Delay"].asString(), "50");
}

TEST_F(MacroStoreTest, NewNamesSkipTakenOnesWithCaseIgnored) {
    test::WriteText(config(), R"({"MacroInfo":[{"MacroName":"macro_1","Guid":"a"},{"MacroName":"MACRO_2","Guid":"b"}]})");
    EXPECT_EQ(store.AddMacro().name, "macro_3");
}

TEST_F(MacroStoreTest, ImportingTheSameFileThriceAccumulatesSuffixes) {
    const std::string bytes = "{ \"MacroName\": \"old\", \"Guid\": \"x\",\n\"Events\": [], \"Version\": 64, \"Extra\": 1 }";
    test::WriteText(temp / "Game.mac", bytes);
    std::vector<std::string> guids;
    for (int i = 0; i < 3; ++i) {
        const MacroStoreResult r = store.ImportMacro(temp / "Game.mac");
        ASSERT_TRUE(r.ok()) << r.message;
        guids.push_back(r.guid);
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"Game", "Game_1", "Game_1_2"}));
    for (const std::string& g : guids) EXPECT_EQ(test::ReadText(kind() / (g + ".mac")), bytes);
}

TEST_F(MacroStoreTest, ImportRefusesWhatIsNotAMacroDocumentAndChangesNothing) {
    ASSERT_TRUE(store.AddMacro().ok());
    const std::string listBefore = test::ReadText(config());
    for (const char* text : {"not json", "[1,2]", R"({"Events":{}})", R"({"MacroName":"x"})", ""}) {
        test::WriteText(temp / "bad.mac", text);
        EXPECT_EQ(store.ImportMacro(temp / "bad.mac").status, MacroStoreResult::Status::Refused) << text;
        EXPECT_EQ(test::ReadText(config()), listBefore) << text;
        EXPECT_EQ(FilesIn(kind()), 1u) << text;
    }
    EXPECT_EQ(store.ImportMacro(temp / "missing.mac").status, MacroStoreResult::Status::Refused);
}

TEST_F(MacroStoreTest, AddAndImportStopAtFiftyMacros) {
    for (int i = 0; i < CMacroStore::kMaxMacros; ++i) ASSERT_TRUE(store.AddMacro().ok()) << i;
    test::WriteText(temp / "Game.mac", R"({"Events":[]})");
    EXPECT_EQ(store.AddMacro().status, MacroStoreResult::Status::Refused);
    EXPECT_EQ(store.ImportMacro(temp / "Game.mac").status, MacroStoreResult::Status::Refused);
    EXPECT_EQ(store.Entries().size(), 50u);
    EXPECT_EQ(FilesIn(kind()), 1u);  // the list alone
}

TEST_F(MacroStoreTest, Rename) {
    ASSERT_TRUE(store.AddMacro().ok());
    ASSERT_TRUE(store.AddMacro().ok());
    ASSERT_TRUE(store.SaveMacro(0, {}).ok());
    const MacroStoreResult empty = store.RenameMacro(0, "");
    EXPECT_EQ(empty.message, "IsEmpty");
    const MacroStoreResult taken = store.RenameMacro(0, "MACRO_2");
    EXPECT_EQ(taken.status, MacroStoreResult::Status::Refused);
    EXPECT_EQ(taken.messageKey, "message_text_5");
    EXPECT_TRUE(store.RenameMacro(0, "Macro_1").ok());  // its own name in another case is free
    ASSERT_TRUE(store.RenameMacro(0, "Jump").ok());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Jump", "macro_2"}));
    // The file keeps the name it was saved with until the next save.
    const std::string guid = store.Entries()[0].guid;
    EXPECT_EQ(test::ReadJson(kind() / (guid + ".mac"))["MacroName"].asString(), "macro_1");
    EXPECT_EQ(store.RenameMacro(5, "x").status, MacroStoreResult::Status::Refused);
}

TEST_F(MacroStoreTest, ALongDelayIsShownAndSavedClamped) {
    test::WriteText(config(), R"({"MacroInfo":[{"MacroName":"m","Guid":"g1"}]})");
    test::WriteText(kind() / "g1.mac",
                    R"({"Events":[{"Action":"down","Button":4,"Type":10,"Delay":"70000"}],"Version":64})");
    const MacroDocument loaded = store.LoadMacro(0);
    ASSERT_EQ(loaded.events.size(), 1u);
    EXPECT_EQ(loaded.events[0].delay, 65535);
    ASSERT_TRUE(store.SaveMacro(0, loaded.events).ok());
    EXPECT_EQ(test::ReadJson(kind() / "g1.mac")["Events"][0]["Delay"].asString(), "65535");
}

TEST_F(MacroStoreTest, ExportCopiesTheFileByteForByte) {
    const std::string bytes = R"({"Events":[{"Action":"up","Button":1,"Type":1,"Delay":"7"}],"Odd":true})";
    test::WriteText(config(), R"({"MacroInfo":[{"MacroName":"m","Guid":"g1"},{"MacroName":"n","Guid":"g2"}]})");
    test::WriteText(kind() / "g1.mac", bytes);
    ASSERT_TRUE(store.ExportMacro(0, temp / "out.mac").ok());
    EXPECT_EQ(test::ReadText(temp / "out.mac"), bytes);
    EXPECT_EQ(store.ExportMacro(1, temp / "none.mac").status, MacroStoreResult::Status::Refused);  // never saved
    EXPECT_FALSE(fs::exists(temp / "none.mac"));
    EXPECT_EQ(store.ExportMacro(0, fs::path()).status, MacroStoreResult::Status::Refused);
}

TEST_F(MacroStoreTest, DamagedListReadsEmptyAndIsMovedAsideBeforeItIsReplaced) {
    struct Case {
        const char* text;
        std::size_t entries;  // what reading it gives
    };
    const Case cases[] = {
        {"{ broken", 0},
        {"[1,2,3]", 0},
        {R"({"MacroInfo":"x"})", 0},
        {R"({"MacroInfo":[{"MacroName":5,"Guid":["a"]},7]})", 2},  // wrong types: empty entries, kept in place
    };
    for (const Case& c : cases) {
        fs::remove_all(kind());
        fs::create_directories(kind());
        test::WriteText(config(), c.text);
        EXPECT_EQ(store.Entries().size(), c.entries) << c.text;
        const MacroStoreResult added = store.AddMacro();
        ASSERT_TRUE(added.ok()) << c.text;
        if (c.entries == 0) {
            EXPECT_EQ(test::ReadText(kind() / "macro.config.bad"), c.text);
            EXPECT_EQ(Names(), (std::vector<std::string>{"macro_1"})) << c.text;
        } else {
            EXPECT_EQ(store.Entries().size(), c.entries + 1) << c.text;
        }
    }
}

TEST_F(MacroStoreTest, DamagedMacroFileShowsNoEventsAndIsKeptAsideOnSave) {
    test::WriteText(config(), R"({"MacroInfo":[{"MacroName":"m","Guid":"g1"}]})");
    test::WriteText(kind() / "g1.mac", "garbage");
    EXPECT_TRUE(store.LoadMacro(0).events.empty());
    ASSERT_TRUE(store.SaveMacro(0, {{"up", 2, 1, 3}}).ok());
    EXPECT_EQ(test::ReadText(kind() / "g1.mac.bad"), "garbage");
    EXPECT_EQ(store.LoadMacro(0).events.size(), 1u);
}

TEST_F(MacroStoreTest, AnIdentifierThatIsNotAFileNameIsNeverUsedAsAPath) {
    fs::create_directories(temp / "outside");
    test::WriteText(temp / "outside" / "victim.mac", R"({"Events":[{"Action":"down","Button":1,"Type":1,"Delay":"1"}]})");
    for (const char* guid : {"../outside/victim", "/etc/passwd", "..", "a\\\\b", ""}) {
        test::WriteText(config(), std::string(R"({"MacroInfo":[{"MacroName":"m","Guid":")") + guid + "\"}]}");
        EXPECT_TRUE(store.LoadMacro(0).events.empty()) << guid;
        EXPECT_EQ(store.SaveMacro(0, {{"up", 1, 1, 1}}).status, MacroStoreResult::Status::Refused) << guid;
        EXPECT_FALSE(store.ExportMacro(0, temp / "x.mac").ok()) << guid;
        ASSERT_TRUE(store.RemoveMacro(0).ok()) << guid;
        EXPECT_TRUE(store.Entries().empty()) << guid;
        EXPECT_TRUE(fs::exists(temp / "outside" / "victim.mac")) << guid;
    }
}

TEST_F(MacroStoreTest, RemoveDropsTheEntryAndItsFile) {
    ASSERT_TRUE(store.AddMacro().ok());
    const MacroStoreResult second = store.AddMacro();
    ASSERT_TRUE(store.SaveMacro(1, {}).ok());
    ASSERT_TRUE(store.RemoveMacro(1).ok());
    EXPECT_FALSE(fs::exists(kind() / (second.guid + ".mac")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"macro_1"}));
}

}  // namespace
}  // namespace zevik
