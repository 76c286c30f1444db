// The keyboard's key and custom-colour words are checked without a device.

#include <gtest/gtest.h>

#include "shell/keyboard_colour_commands.h"
#include "shell/keyboard_key_commands.h"

namespace zevik {
namespace {

TEST(KeyboardKeyWords, RefusedWordsNameWhatIsAllowed) {
    const struct {
        std::vector<std::string> words;
        const char* says;
    } cases[] = {
        {{"key"}, "key takes list, set K FUNCTION or write"},
        {{"key2", "show"}, "key2 takes list"},
        {{"key", "list", "1"}, "\"key list\" takes no more words"},
        {{"key", "set", "0", "default"}, "K takes 1 to 170, not \"0\""},
        {{"key2", "set", "171", "default"}, "K takes 1 to 170, not \"171\""},
        {{"key", "set", "5"}, "key takes list"},
        {{"key", "set", "5", "macro", "51", "0"}, "M must be a number from 1 to 50"},
        {{"key2", "set", "5", "macro", "1", "0"}, "layer 2 binds no macros"},
        {{"key2", "set", "5", "macro", "2", "times", "3"}, "layer 2 binds no macros"},
        {{"defaults", "now"}, "\"defaults\" takes no more words"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseKeyboardKeyWords(c.words, error)) << c.words[0];
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(KeyboardKeyWords, AcceptedWordsGiveLayerKeyAndFunction) {
    using Verb = KeyboardKeyCommand::Verb;
    std::string error;
    const auto set = ParseKeyboardKeyWords({"key", "set", "170", "macro", "8", "2"}, error);
    ASSERT_TRUE(set) << error;
    EXPECT_EQ(set->verb, Verb::Set);
    EXPECT_EQ(set->layer, 1);
    EXPECT_EQ(set->key, 169);
    EXPECT_EQ(set->function.code, (AssignmentCode{0x70, 7, 2}));

    const auto set2 = ParseKeyboardKeyWords({"key2", "set", "1", "media", "play"}, error);
    ASSERT_TRUE(set2) << error;
    EXPECT_EQ(set2->layer, 2);
    EXPECT_EQ(set2->key, 0);
    EXPECT_EQ(set2->function.code, (AssignmentCode{0x30, 0xCD, 0x00}));

    const auto write2 = ParseKeyboardKeyWords({"key2", "write"}, error);
    ASSERT_TRUE(write2);
    EXPECT_EQ(write2->verb, Verb::Write);
    EXPECT_EQ(write2->layer, 2);
    EXPECT_EQ(ParseKeyboardKeyWords({"defaults"}, error)->verb, Verb::Defaults);
    EXPECT_TRUE(ParseKeyboardKeyWords({"key2", "set", "3", "default"}, error));
}

TEST(KeyboardColourWords, RangesAndCounting) {
    const struct {
        std::vector<std::string> words;
        std::optional<int> value;  // nothing: refused
        const char* says;
    } cases[] = {
        {{"zzcc", "0"}, 0, ""},
        {{"zzcc", "255"}, 255, ""},
        {{"zzcc", "256"}, std::nullopt, "zzcc takes 0 to 255"},
        {{"custom-slot", "255"}, 255, ""},
        {{"custom-slot", "-1"}, std::nullopt, "S takes 0 to 255"},
        {{"custom-key", "1"}, 0, ""},
        {{"custom-key", "170"}, 169, ""},
        {{"custom-key", "0"}, std::nullopt, "K takes 1 to 170"},
        {{"custom-all", "1"}, 1, ""},
        {{"custom-all", "2"}, std::nullopt, "custom-all takes 0 to 1"},
        {{"custom-all"}, std::nullopt, "\"custom-all\" takes 1 argument"},
        {{"custom-slot", "1", "2"}, std::nullopt, "takes 1 argument"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto command = ParseKeyboardColourWords(c.words, error);
        ASSERT_EQ(command.has_value(), c.value.has_value()) << c.words[0] << " " << error;
        if (command) {
            EXPECT_EQ(command->value, *c.value) << c.words[0];
        } else {
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
        }
    }
    EXPECT_TRUE(IsKeyboardColourWords({"custom-key", "3"}));
    EXPECT_FALSE(IsKeyboardColourWords({"mode", "3"}));  // the common lighting words go elsewhere
}

}  // namespace
}  // namespace zevik
