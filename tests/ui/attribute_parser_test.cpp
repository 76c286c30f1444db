#include "ui/attribute_parser.h"

#include <gtest/gtest.h>

namespace zevik {
namespace {

TEST(AttributeParser, RectsAndSizes) {
    struct Case {
        const char* text;
        std::optional<UiRect> want;
    };
    const Case cases[] = {
        {"1,2,3,4", UiRect{1, 2, 3, 4}},
        {" -5 , 0,10 ,20 ", UiRect{-5, 0, 10, 20}},
        {"1,2,3", std::nullopt},
        {"1,2,3,4,5", std::nullopt},
        {"1,,3,4", std::nullopt},
        {"a,b,c,d", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseRect(c.text), c.want) << c.text;
    EXPECT_EQ(ParseSize("800,572"), (UiSize{800, 572}));
    EXPECT_EQ(ParseSize("800"), std::nullopt);
}

TEST(AttributeParser, ColoursAcceptTheSkinForms) {
    struct Case {
        const char* text;
        std::optional<UiColor> want;
    };
    const Case cases[] = {
        {"#FF102030", 0xFF102030u}, {"#102030", 0xFF102030u},   {"0x80FFFFFF", 0x80FFFFFFu},
        {"FF000000", 0xFF000000u},  {"#GG000000", std::nullopt}, {"#123456789", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseColor(c.text), c.want) << c.text;
}

TEST(AttributeParser, AttributeListsAndTheirErrors) {
    auto list = ParseAttributeList(R"(width="10" text='a "quoted" b'  name="x")");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[1], (std::pair<std::string, std::string>{"text", "a \"quoted\" b"}));
    EXPECT_FALSE(ParseAttributeList(R"(width="10)"));
    EXPECT_FALSE(ParseAttributeList(R"(width=10)"));
    EXPECT_FALSE(ParseAttributeList(R"(="10")"));
    EXPECT_TRUE(ParseAttributeList("   ")->empty());
}

TEST(AttributeParser, ImageAttributes) {
    auto bare = ParseImageAttribute("power\\power.png");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->file, "power/power.png");
    EXPECT_FALSE(bare->source);

    auto full = ParseImageAttribute("file='x.png' source='0,0,20,20' fade='128'");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->file, "x.png");
    EXPECT_EQ(full->source, (UiRect{0, 0, 20, 20}));
    EXPECT_EQ(full->fade, 128);

    // Formatted by code without a space between the parts.
    auto joined = ParseImageAttribute("file='kb/key.png'source='0,0,40,40'");
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->source, (UiRect{0, 0, 40, 40}));

    auto res = ParseImageAttribute("res='a.png' fade='80'");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->file, "a.png");

    EXPECT_FALSE(ParseImageAttribute("file='x.png' source='0,0,20'"));
    EXPECT_FALSE(ParseImageAttribute("file='x.png' fade='300'"));
}

}  // namespace
}  // namespace zevik
