#pragma once
// CShootControlUI: the recoil page of the mouse ("ShootControlItem", class "ShootControl"). It edits
// one bullet of one of the four patterns ("guns") at a time and writes it to the gun's pattern file at
// once; the mouse sends all four files with its recoil write. The patterns are always read from disk,
// so every operation sees what the last one wrote. Bullet values are held to their fields when saved
// (recoil_bullet.h).

#include <array>
#include <filesystem>
#include <string>

#include "devices/recoil_bullet.h"
#include "devices/shoot_control.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class CEditUI;
class COptionUI;
class CTabLayoutUI;

class CShootControlUI : public CHorizontalLayoutUI, public IShootControl {
public:
    static constexpr std::string_view kClassName = "ShootControlUI";
    static constexpr std::string_view kSkinTag = "ShootControl";
    static constexpr int kGuns = 4;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetUp(const std::filesystem::path& folder, const std::filesystem::path& defaultFolder) override;

    void SetShootFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
    void SetShootDefaultFolder(std::filesystem::path folder) { defaultFolder_ = std::move(folder); }
    // Finds the controls; a pattern file that cannot be read is moved aside (".bad") when it exists
    // and replaced by its default copy.
    void LoadGuns();

    void SelectGun(int gun);        // clamped to 0..3; the bullet shown is not changed
    void SelectBullet(int bullet);  // clamped to 0..29, then shown
    void PrevBullet() { SelectBullet(bullet_ - 1); }
    void NextBullet() { SelectBullet(bullet_ + 1); }
    void ShowBullet(int gun, int bullet);
    void ShowCurrentBullet() { ShowBullet(gun_, bullet_); }
    // Writes the controls into the gun's file; false when it could not be written.
    bool SaveBullet(int gun, int bullet);
    bool SaveCurrentBullet() { return SaveBullet(gun_, bullet_); }
    void UpdateXCaption();
    void UpdateYCaption();

    // The gun's file replaced by the default copy, or by the chosen file, as bytes written atomically.
    // Refused, leaving the file as it was, when the source cannot be read, and for an import whose
    // events would make the recoil image too long for the mouse. The message says why.
    bool ResetGun(int gun, std::string& error);
    bool ResetCurrentGun(std::string& error) { return ResetGun(gun_, error); }
    bool ImportGun(const std::filesystem::path& path, std::string& error);
    bool ExportGun(const std::filesystem::path& path, std::string& error) const;

    int CurrentGun() const { return gun_; }
    int CurrentBullet() const { return bullet_; }
    // The bullet the controls show now.
    RecoilBullet ShownBullet();
    // Puts a bullet into the controls, as the user would type it (for the command line and tests).
    void ShowInControls(const RecoilBullet& bullet);
    std::filesystem::path PatternFile(int gun) const;

private:
    void Bind();
    CControlUI* FindHere(std::string_view name);
    bool ReplacePattern(int gun, const std::string& bytes, std::string& error);
    // The gun's pattern file, or its default copy while the mouse has none.
    Json::Value ReadPattern(int gun) const;

    std::filesystem::path folder_;
    std::filesystem::path defaultFolder_;
    int gun_ = 0;
    int bullet_ = -1;
    bool bound_ = false;
    std::array<COptionUI*, kGuns> gunOptions_{};           // "shoot_gun_op_" n
    std::array<COptionUI*, kRecoilBullets> bulletOptions_{};  // "bullet_op_" n
    CTabLayoutUI* images_ = nullptr;                         // "shoot_image_display_switch"
    CControlUI* index_ = nullptr;                            // "bullet_select_index"
    COptionUI* xCheck_ = nullptr;                            // "bullet_x_check"
    COptionUI* yCheck_ = nullptr;                            // "bullet_y_check"
    CEditUI* xEdit_ = nullptr;                               // "bullet_x_eidt"
    CEditUI* yEdit_ = nullptr;                               // "bullet_y_eidt"
    CEditUI* delayEdit_ = nullptr;                           // "bullet_delay_eidt"
};

}  // namespace zevik
