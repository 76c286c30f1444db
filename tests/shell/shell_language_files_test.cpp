#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <string>

namespace zevik::test {
namespace {

const std::filesystem::path kResources =
    std::filesystem::path(ZEVIK_TEST_DATA_DIR) / ".." / ".." / "resources";

std::set<std::string> Keys(const std::filesystem::path& file) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(file.c_str())) << file;
    std::set<std::string> keys;
    for (pugi::xml_node text : doc.child("Language").children("Text")) {
        EXPECT_TRUE(keys.insert(text.attribute("id").value()).second)
            << file << ": twice " << text.attribute("id").value();
    }
    return keys;
}

// Every "text" and "tooltip" of a skin that looks like a key (lower case with underscores).
std::set<std::string> SkinKeys(const std::filesystem::path& file) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(file.c_str())) << file;
    std::set<std::string> keys;
    for (const pugi::xpath_node& node : doc.select_nodes("//*[@text or @tooltip]")) {
        for (const char* attr : {"text", "tooltip"}) {
            const std::string value = node.node().attribute(attr).value();
            if (value.find('_') != std::string::npos && value.find(' ') == std::string::npos)
                keys.insert(value);
        }
    }
    return keys;
}

TEST(LanguageFiles, EnglishAndChineseCarryTheSameKeys) {
    const std::pair<const char*, const char*> pairs[] = {
        {"skin/lang/lan_main_en.xml", "skin/lang/lan_main_zh.xml"},
        {"skin/mouse/lan_mouse_en.xml", "skin/lang/lan_mouse_zh.xml"},
        {"skin/lang/lan_keyboard_en.xml", "skin/lang/lan_keyboard_zh.xml"},
        {"skin/lang/lan_pad_en.xml", "skin/lang/lan_pad_zh.xml"}};
    for (const auto& [en, zh] : pairs) EXPECT_EQ(Keys(kResources / en), Keys(kResources / zh)) << en;
}

TEST(LanguageFiles, EveryKeyOfTheMainSkinsHasAText) {
    std::set<std::string> known = Keys(kResources / "skin/lang/lan_main_en.xml");
    for (const std::string& key : Keys(kResources / "skin/mouse/lan_mouse_en.xml")) known.insert(key);
    for (const std::string& key : Keys(kResources / "skin/lang/lan_keyboard_en.xml")) known.insert(key);
    for (const std::string& key : Keys(kResources / "skin/lang/lan_pad_en.xml")) known.insert(key);
    for (const char* skin :
         {"skin/XML/main.xml", "skin/XML/menu.xml", "skin/XML/CustomControlXML/DeviceOption.xml",
          "skin/XML/CustomControlXML/MpDevicePower.xml",
          "skin/XML/DeviceXml/mousedevice.xml", "skin/XML/DeviceXml/keyboarddevice.xml",
          "skin/XML/DeviceXml/mousepaddevice.xml",
          "skin/XML/CustomControlXML/KeyboardLightControl.xml"}) {
        for (const std::string& key : SkinKeys(kResources / skin))
            EXPECT_TRUE(known.count(key)) << skin << ": " << key;
    }
}

TEST(LanguageFiles, TheLanguageListNamesBothFiles) {
    std::ifstream in(kResources / "DefaultData" / "Language.config");
    Json::Value list;
    ASSERT_TRUE(Json::Reader().parse(in, list));
    ASSERT_EQ(list["Language"].size(), 2u);
    for (const Json::Value& entry : list["Language"]) {
        EXPECT_TRUE(std::filesystem::exists(kResources / "skin" / entry["Language_file"].asString()))
            << entry["Language_file"].asString();
        EXPECT_FALSE(entry["Language_name"].asString().empty());
        EXPECT_TRUE(entry["Language_ID"].isInt());
    }
}

}  // namespace
}  // namespace zevik::test
