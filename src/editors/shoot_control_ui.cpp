#include "editors/shoot_control_ui.h"
#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>

#include "devices/mouse_event_image.h"
#include "devices/mouse_recoil_image.h"
#include "editors/key_assignment_form.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

size_t EventCount(const Json::Value& pattern) {
    const Json::Value* events = json::Member(pattern, "Events");
    return events != nullptr && events->isArray() ? events->size() : 0;
}

constexpr size_t kImageHeader = 24;
constexpr size_t kImageMax = 65535;

}  // namespace

std::string_view CShootControlUI::GetClass() const { return kClassName; }

void* CShootControlUI::GetInterface(std::string_view name) {
    if (name == IShootControl::kInterfaceName) return static_cast<IShootControl*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

CControlUI* CShootControlUI::FindHere(std::string_view name) {
    return FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); }, UIFIND_ALL | UIFIND_ME_FIRST);
}

void CShootControlUI::SetUp(const std::filesystem::path& folder, const std::filesystem::path& defaultFolder) {
    SetShootFolder(folder);
    SetShootDefaultFolder(defaultFolder);
    LoadGuns();
    SelectGun(0);
    SelectBullet(0);
}

std::filesystem::path CShootControlUI::PatternFile(int gun) const { return MouseRecoilFile(folder_, gun); }

void CShootControlUI::Bind() {
    if (bound_) return;
    bound_ = true;
    for (int n = 0; n < kGuns; ++n)
        gunOptions_[static_cast<size_t>(n)] = dynamic_cast<COptionUI*>(FindHere("shoot_gun_op_" + std::to_string(n)));
    for (int n = 0; n < kRecoilBullets; ++n)
        bulletOptions_[static_cast<size_t>(n)] = dynamic_cast<COptionUI*>(FindHere("bullet_op_" + std::to_string(n)));
    images_ = dynamic_cast<CTabLayoutUI*>(FindHere("shoot_image_display_switch"));
    index_ = FindHere("bullet_select_index");
    xCheck_ = dynamic_cast<COptionUI*>(FindHere("bullet_x_check"));
    yCheck_ = dynamic_cast<COptionUI*>(FindHere("bullet_y_check"));
    xEdit_ = dynamic_cast<CEditUI*>(FindHere("bullet_x_eidt"));
    yEdit_ = dynamic_cast<CEditUI*>(FindHere("bullet_y_eidt"));
    delayEdit_ = dynamic_cast<CEditUI*>(FindHere("bullet_delay_eidt"));
}

void CShootControlUI::LoadGuns() {
    Bind();
    // Until the mouse's folder exists the defaults are shown; the first change creates it.
    std::error_code missing;
    if (!std::filesystem::is_directory(folder_, missing)) return;
    const CJsonFileUtil files;
    for (int gun = 0; gun < kGuns; ++gun) {
        const std::filesystem::path file = PatternFile(gun);
        if (!files.ReadJsonFile(file).isNull()) continue;
        std::error_code ec;
        // A damaged file is kept aside rather than lost under the default.
        if (std::filesystem::exists(file, ec) && std::filesystem::file_size(file, ec) > 0) CJsonFileUtil::MoveAside(file);
        std::string error;
        ResetGun(gun, error);
    }
}

void CShootControlUI::SelectGun(int gun) {
    Bind();
    gun_ = std::clamp(gun, 0, kGuns - 1);
    for (int n = 0; n < kGuns; ++n) {
        if (COptionUI* option = gunOptions_[static_cast<size_t>(n)]) option->Selected(n == gun_, false);
    }
    if (images_ != nullptr) images_->SelectItem(gun_, false);
}

void CShootControlUI::SelectBullet(int bullet) {
    Bind();
    bullet_ = std::clamp(bullet, 0, kRecoilBullets - 1);
    for (int n = 0; n < kRecoilBullets; ++n) {
        if (COptionUI* option = bulletOptions_[static_cast<size_t>(n)]) option->Selected(n == bullet_, false);
    }
    if (index_ != nullptr) index_->SetText(std::to_string(bullet_ + 1));
    ShowBullet(gun_, bullet_);
}

void CShootControlUI::ShowInControls(const RecoilBullet& b) {
    Bind();
    if (xCheck_ != nullptr) xCheck_->Selected(b.left, false);
    if (yCheck_ != nullptr) yCheck_->Selected(b.up, false);
    UpdateXCaption();
    UpdateYCaption();
    if (xEdit_ != nullptr) xEdit_->SetText(std::to_string(b.x));
    if (yEdit_ != nullptr) yEdit_->SetText(std::to_string(b.y));
    if (delayEdit_ != nullptr) delayEdit_->SetText(std::to_string(b.delay));
}

Json::Value CShootControlUI::ReadPattern(int gun) const {
    std::error_code ec;
    const bool own = std::filesystem::exists(PatternFile(gun), ec);
    return CJsonFileUtil().ReadJsonFile(own ? PatternFile(gun) : MouseRecoilFile(defaultFolder_, gun));
}

void CShootControlUI::ShowBullet(int gun, int bullet) { ShowInControls(ReadRecoilBullet(ReadPattern(gun), bullet)); }

RecoilBullet CShootControlUI::ShownBullet() {
    Bind();
    RecoilBullet b;
    b.left = xCheck_ != nullptr && xCheck_->IsSelected();
    b.up = yCheck_ != nullptr && yCheck_->IsSelected();
    // Typed numbers read up to their first non-digit and are held to their fields.
    b.x = xEdit_ != nullptr ? EditNumber(xEdit_->GetText(), kRecoilMoveMax) : 0;
    b.y = yEdit_ != nullptr ? EditNumber(yEdit_->GetText(), kRecoilMoveMax) : 0;
    b.delay = delayEdit_ != nullptr ? EditNumber(delayEdit_->GetText(), kRecoilDelayMax) : 0;
    return b;
}

bool CShootControlUI::SaveBullet(int gun, int bullet) {
    if (gun < 0 || gun >= kGuns || bullet < 0 || bullet >= kRecoilBullets) return false;
    const CJsonFileUtil files;
    Json::Value pattern = ReadPattern(gun);
    const RecoilBullet b = ShownBullet();
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    WriteRecoilBullet(pattern, bullet, b);
    ShowInControls(b);  // the edits show what was kept
    return static_cast<bool>(files.WriteJsonFile(PatternFile(gun), pattern));
}

void CShootControlUI::UpdateXCaption() {
    if (xCheck_ != nullptr)
        xCheck_->SetText(xCheck_->IsSelected() ? "mouse_move_to_left_text" : "mouse_move_to_right_text");
}

void CShootControlUI::UpdateYCaption() {
    if (yCheck_ != nullptr) yCheck_->SetText(yCheck_->IsSelected() ? "mouse_move_to_up_text" : "mouse_move_to_down_text");
}

bool CShootControlUI::ReplacePattern(int gun, const std::string& bytes, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (!CJsonFileUtil().WriteTextFile(PatternFile(gun), bytes)) {
        error = "the pattern file could not be written";
        return false;
    }
    SelectBullet(bullet_);
    return true;
}

bool CShootControlUI::ResetGun(int gun, std::string& error) {
    if (gun < 0 || gun >= kGuns) return false;
    const auto bytes = CJsonFileUtil::ReadFileBytes(MouseRecoilFile(defaultFolder_, gun));
    if (!bytes || bytes->empty()) {
        error = "the default pattern " + MouseRecoilFile(defaultFolder_, gun).string() + " cannot be read";
        return false;
    }
    return ReplacePattern(gun, *bytes, error);
}

bool CShootControlUI::ImportGun(const std::filesystem::path& path, std::string& error) {
    const auto bytes = CJsonFileUtil::ReadFileBytes(path);
    if (!bytes) {
        error = path.string() + " cannot be read";
        return false;
    }
    // The four patterns go to the mouse as one image with a 16-bit length.
    Json::Value incoming;
    CJsonFileUtil::ParseJson(*bytes, incoming);
    size_t size = kImageHeader + 4 + 4 * EventCount(incoming);
    for (int gun = 0; gun < kGuns; ++gun) {
        if (gun != gun_) size += 4 + 4 * EventCount(ReadPattern(gun));
    }
    if (size > kImageMax) {
        error = "the pattern holds too many events for the mouse";
        return false;
    }
    return ReplacePattern(gun_, *bytes, error);
}

bool CShootControlUI::ExportGun(const std::filesystem::path& path, std::string& error) const {
    std::error_code ec;
    const bool own = std::filesystem::exists(PatternFile(gun_), ec);
    const auto bytes = CJsonFileUtil::ReadFileBytes(own ? PatternFile(gun_) : MouseRecoilFile(defaultFolder_, gun_));
    if (!bytes) {
        error = "the pattern file cannot be read";
        return false;
    }
    if (!CJsonFileUtil().WriteTextFile(path, *bytes)) {
        error = path.string() + " could not be written";
        return false;
    }
    return true;
}

}  // namespace zevik
