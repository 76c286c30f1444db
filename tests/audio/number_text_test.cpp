#include "audio/number_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "audio/german_locale.h"

namespace zevik {
namespace {

TEST(NumberText, FormatsAndParsesWithADot) {
    EXPECT_EQ(number_text::Fixed2(35.625), "35.62");  // an exact tie goes to the even digit, as printf does
    EXPECT_EQ(number_text::Fixed2(-12.0), "-12.00");
    EXPECT_EQ(number_text::Fixed2(-0.001), "0.00");
    EXPECT_EQ(number_text::Fixed2(-0.005001), "-0.01");
    EXPECT_EQ(number_text::Fraction(0.37), "0.370000");
    EXPECT_EQ(number_text::Integer(-3), "-3");

    struct Parse {
        const char* text;
        std::optional<double> number;
        std::optional<long> integer;
    };
    const Parse cases[] = {
        {"0.37", 0.37, std::nullopt},
        {"-12.50", -12.5, std::nullopt},
        {" 42\n", 42.0, 42},
        {"+7", 7.0, 7},
        {"0,37", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"1e2", 100.0, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
    };
    for (const Parse& c : cases) {
        EXPECT_EQ(number_text::ParseNumber(c.text), c.number) << '"' << c.text << '"';
        EXPECT_EQ(number_text::ParseInteger(c.text), c.integer) << '"' << c.text << '"';
    }
}

TEST(NumberText, AGermanLocaleChangesNothing) {
    test::GermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "no de_DE locale on this system and localedef could not make one";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", 0.5);
    ASSERT_STREQ(buffer, "0,50") << "the locale did not take effect";

    EXPECT_EQ(number_text::Fixed2(0.5), "0.50");
    EXPECT_EQ(number_text::Fraction(0.37), "0.370000");
    EXPECT_EQ(number_text::ParseNumber("0.37"), 0.37);
    EXPECT_EQ(number_text::ParseNumber("0,37"), std::nullopt);
}

}  // namespace
}  // namespace zevik
