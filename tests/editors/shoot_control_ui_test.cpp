// The recoil page on a temporary kind folder: bullet and gun choice stop at their ends, a bullet is
// saved as the edits hold it, and reset, import and export replace files only with what they could
// read and what the mouse can take.

#include "editors/shoot_control_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "devices/mouse_recoil_image.h"
#include "settings/json_file_util.h"
#include "ui/edit_ui.h"
#include "ui/label_ui.h"
#include "ui/option_ui.h"

namespace zevik {
namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ShootControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("zevik-shoot-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "kind");
        std::filesystem::create_directories(root_ / "DefaultData");
        for (int g = 0; g < 4; ++g) {
            Json::Value pattern(Json::objectValue);
            for (int b = 0; b < kRecoilBullets; ++b) WriteRecoilBullet(pattern, b, {b % 2 == 0, g + 1, false, b, 100});
            CJsonFileUtil().WriteJsonFile(MouseRecoilFile(root_ / "DefaultData", g), pattern);
        }
        const auto add = [this](CControlUI* c, const std::string& name) {
            c->SetName(name);
            page_.Add(c);
        };
        for (int n = 0; n < 4; ++n) add(new COptionUI, "shoot_gun_op_" + std::to_string(n));
        for (int n = 0; n < kRecoilBullets; ++n) add(new COptionUI, "bullet_op_" + std::to_string(n));
        add(new CLabelUI, "bullet_select_index");
        add(new COptionUI, "bullet_x_check");
        add(new COptionUI, "bullet_y_check");
        add(new CEditUI, "bullet_x_eidt");
        add(new CEditUI, "bullet_y_eidt");
        add(new CEditUI, "bullet_delay_eidt");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void Start() { page_.SetUp(root_ / "kind", root_ / "DefaultData"); }
    CEditUI* Edit(const char* name) {
        return dynamic_cast<CEditUI*>(page_.FindControl([name](CControlUI& c) { return c.GetName() == name; }, UIFIND_ALL));
    }
    RecoilBullet OnDisk(int gun, int bullet) {
        return ReadRecoilBullet(CJsonFileUtil().ReadJsonFile(page_.PatternFile(gun)), bullet);
    }

    std::filesystem::path root_;
    CShootControlUI page_;
};

TEST_F(ShootControlTest, SetUpCopiesTheDefaultsAndChoicesStopAtTheirEnds) {
    Start();
    for (int g = 0; g < 4; ++g) EXPECT_TRUE(std::filesystem::exists(page_.PatternFile(g)));
    EXPECT_EQ(page_.CurrentBullet(), 0);
    page_.PrevBullet();
    EXPECT_EQ(page_.CurrentBullet(), 0);
    page_.SelectBullet(30);
    EXPECT_EQ(page_.CurrentBullet(), 29);
    page_.NextBullet();
    EXPECT_EQ(page_.CurrentBullet(), 29);
    page_.SelectGun(7);
    EXPECT_EQ(page_.CurrentGun(), 3);
    page_.ShowCurrentBullet();
    EXPECT_EQ(page_.ShownBullet(), (RecoilBullet{false, 4, false, 29, 100}));
}

TEST_F(ShootControlTest, ABulletIsSavedAsTheEditsHoldIt) {
    Start();
    page_.SelectBullet(5);
    Edit("bullet_x_eidt")->SetText("12ab");
    Edit("bullet_y_eidt")->SetText("300");
    Edit("bullet_delay_eidt")->SetText("");
    ASSERT_TRUE(page_.SaveCurrentBullet());
    EXPECT_EQ(OnDisk(0, 5), (RecoilBullet{false, 12, false, 255, 0}));
    EXPECT_EQ(Edit("bullet_y_eidt")->GetText(), "255") << "the edit shows what was kept";
    EXPECT_EQ(OnDisk(0, 4), (RecoilBullet{true, 1, false, 4, 100})) << "the other bullets stay";
}

TEST_F(ShootControlTest, ADamagedPatternIsKeptAsideAndReplacedByItsDefault) {
    std::ofstream(MouseRecoilFile(root_ / "kind", 2)) << "{ not json";
    Start();
    EXPECT_TRUE(std::filesystem::exists(MouseRecoilFile(root_ / "kind", 2).string() + ".bad"));
    EXPECT_EQ(OnDisk(2, 1), (RecoilBullet{false, 3, false, 1, 100}));
}

TEST_F(ShootControlTest, ResetAndImportRefuseWhatTheyCannotUseAndKeepTheFile) {
    Start();
    page_.SelectGun(1);
    page_.SaveCurrentBullet();
    const std::string before = FileText(page_.PatternFile(1));
    std::string error;
    EXPECT_FALSE(page_.ImportGun(root_ / "missing.shoot", error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos);

    Json::Value huge(Json::objectValue);
    for (int i = 0; i < 16000; ++i) huge["Events"].append(Json::Value(Json::objectValue));
    CJsonFileUtil().WriteJsonFile(root_ / "huge.shoot", huge);
    EXPECT_FALSE(page_.ImportGun(root_ / "huge.shoot", error));
    EXPECT_NE(error.find("too many events"), std::string::npos);

    std::filesystem::remove(MouseRecoilFile(root_ / "DefaultData", 1));
    EXPECT_FALSE(page_.ResetCurrentGun(error));

    EXPECT_EQ(FileText(page_.PatternFile(1)), before);
}

TEST_F(ShootControlTest, ImportAndExportCopyBytes) {
    Start();
    const std::string text = "{\"Events\": [], \"Note\": \"kept as it is\"}\n";
    std::ofstream(root_ / "mine.shoot") << text;
    std::string error;
    ASSERT_TRUE(page_.ImportGun(root_ / "mine.shoot", error)) << error;
    ASSERT_TRUE(page_.ExportGun(root_ / "out.shoot", error)) << error;
    EXPECT_EQ(FileText(root_ / "out.shoot"), text);
}

}  // namespace
}  // namespace zevik
