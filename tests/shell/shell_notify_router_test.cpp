#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/notify_router.h"
#include "ui/button_ui.h"

namespace zevik::test {
namespace {

struct SplitCase {
    const char* name;
    const char* prefix;
    int index;
};

TEST(SplitRoutedName, TrailingDigitsBecomeTheIndex) {
    const SplitCase cases[] = {
        {"key_12", "key_", 12},
        {"DPI_slider_3", "DPI_slider_", 3},
        {"closebtn", "closebtn", -1},
        {"6533_eq_option_0", "6533_eq_option_", 0},
        {"123", "", 123},
        {"", "", -1},
        {"key_99999999999", "key_99999999999", -1},  // does not fit an int: no index
    };
    for (const SplitCase& c : cases) {
        const RoutedName split = SplitRoutedName(c.name);
        EXPECT_EQ(split.prefix, c.prefix) << c.name;
        EXPECT_EQ(split.index, c.index) << c.name;
    }
}

// A router with one route of each kind; every handler records its label and index.
class NotifyRouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        router.Add("click", RouteMatch::Name, "closebtn", Record("close"));
        router.Add("click", RouteMatch::NameCase, "profile_fun_spread_btn", Record("spread"));
        router.Add("click", RouteMatch::Prefix, "key_", Record("key"));
        router.Add("click", RouteMatch::PrefixCase, "macro_inset_movebtn_", Record("inset"));
        router.Add("valuechanged", RouteMatch::Prefix, "DPI_slider_", Record("slider"));
        router.Add("itemactivate", RouteMatch::Any, "", Record("any"));
        router.SkipDefault("click_wpremove");
    }
    CNotifyRouter::Handler Record(std::string label) {
        return [this, label](TNotifyUI&, int index) { hits.push_back(label + ":" + std::to_string(index)); };
    }
    RouteResult Send(const char* type, const char* name) {
        CButtonUI sender;
        sender.SetName(name);
        TNotifyUI msg;
        msg.sType = type;
        msg.pSender = &sender;
        return router.Route(msg);
    }

    CNotifyRouter router;
    std::vector<std::string> hits;
};

struct RouteCase {
    const char* type;
    const char* name;
    const char* hit;  // "" when no route may run
};

TEST_F(NotifyRouterTest, ChoosesByTypeThenNameThenPrefix) {
    const RouteCase cases[] = {
        {"click", "closebtn", "close:-1"},
        {"click", "CloseBtn", "close:-1"},  // names without case by default
        {"valuechanged", "closebtn", ""},   // the type decides first
        {"click", "closebtn2", ""},         // an exact name is not a prefix
        {"click", "profile_fun_spread_btn", "spread:-1"},
        {"click", "Profile_Fun_Spread_Btn", ""},  // this one only with case
        {"click", "key_12", "key:12"},
        {"click", "KEY_7", "key:7"},
        {"click", "key_", ""},  // a prefix route needs the index
        {"click", "key_x1", ""},
        {"click", "macro_inset_movebtn_2", "inset:2"},
        {"click", "MACRO_inset_movebtn_2", ""},
        {"valuechanged", "DPI_slider_3", "slider:3"},
        {"itemactivate", "anything", "any:-1"},
        {"click", "gamemodebtn", ""},
    };
    for (const RouteCase& c : cases) {
        hits.clear();
        const RouteResult result = Send(c.type, c.name);
        if (*c.hit == '\0') {
            EXPECT_TRUE(hits.empty()) << c.type << " " << c.name;
            EXPECT_EQ(result, RouteResult::None) << c.name;
        } else {
            EXPECT_EQ(hits, std::vector<std::string>{c.hit}) << c.type << " " << c.name;
            EXPECT_EQ(result, RouteResult::Routed) << c.name;
        }
    }
}

TEST_F(NotifyRouterTest, FirstMatchingRouteWinsAndRunsOnce) {
    router.Add("click", RouteMatch::Name, "key_1", Record("late exact"));
    EXPECT_EQ(Send("click", "key_1"), RouteResult::Routed);
    EXPECT_EQ(hits, std::vector<std::string>{"key:1"});
}

TEST_F(NotifyRouterTest, SkippedTypesAreConsumedWithoutHandlers) {
    EXPECT_EQ(Send("click_wpremove", "closebtn"), RouteResult::Consumed);
    EXPECT_TRUE(hits.empty());
}

TEST_F(NotifyRouterTest, NotificationWithoutSenderReachesOnlyAnySenderRoutes) {
    TNotifyUI msg;
    msg.sType = "click";
    EXPECT_EQ(router.Route(msg), RouteResult::None);
    msg.sType = "itemactivate";
    EXPECT_EQ(router.Route(msg), RouteResult::Routed);
    EXPECT_EQ(hits, std::vector<std::string>{"any:-1"});
}

TEST_F(NotifyRouterTest, CommandsRouteByTheirName) {
    router.Add("menucommand", RouteMatch::Name, "exit", Record("exit"));
    EXPECT_EQ(router.RouteCommand("menucommand", "EXIT"), RouteResult::Routed);
    EXPECT_EQ(router.RouteCommand("menucommand", "nothing"), RouteResult::None);
    EXPECT_EQ(hits, std::vector<std::string>{"exit:-1"});
    EXPECT_TRUE(router.HasRoute("menucommand", "exit"));
    EXPECT_FALSE(router.HasRoute("click", "exit"));
}

}  // namespace
}  // namespace zevik::test
