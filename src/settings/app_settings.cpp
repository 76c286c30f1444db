#include "settings/app_settings.h"

#include <cstdlib>
#include <system_error>

#include "settings/profile_locations.h"

namespace zevik {

namespace fs = std::filesystem;

fs::path CAppSettings::DefaultFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (xdg != nullptr && xdg[0] == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        folder = (home != nullptr && home[0] != '\0' ? fs::path(home) : fs::current_path()) / ".config";
    }
    return folder / CProfileLocations::kProductName / kFileName;
}

Json::Value CAppSettings::ReadDocument(bool& read) const {
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value document = CJsonFileUtil().ReadJsonFile(m_file, status);
    read = status == JsonReadStatus::Ok && document.isObject();
    if (status == JsonReadStatus::Invalid || (status == JsonReadStatus::Ok && !document.isObject())) {
        CJsonFileUtil::MoveAside(m_file);
    }
    return read ? document : Json::Value(Json::objectValue);
}

CAppSettings::SavedLanguage CAppSettings::ReadLanguage() const {
    SavedLanguage saved;
    const Json::Value document = ReadDocument(saved.fileRead);
    const Json::Value& value = document[kLanguageKey];
    if (value.isInt()) saved.id = value.asInt();
    return saved;
}

JsonWriteResult CAppSettings::WriteLanguage(int id) const {
    bool read = false;
    Json::Value document = ReadDocument(read);
    if (document[kLanguageKey].isInt() && document[kLanguageKey].asInt() == id)
        return JsonWriteResult{true, {}};
    document[kLanguageKey] = id;
    std::error_code ec;
    fs::create_directories(m_file.parent_path(), ec);
    return CJsonFileUtil().WriteJsonFile(m_file, document);
}

}  // namespace zevik
