#include "update/update_time_file.h"

#include "settings/json_file_util.h"

#include <fmt/format.h>

#include <ctime>

namespace zevik {

std::string UpdateDateText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fmt::format("{}-{}-{}", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string ReadOrStartUpdateTime(const std::filesystem::path& dataRoot) {
    const std::filesystem::path file = dataRoot / kUpdateTimeFileName;
    JsonReadStatus status = JsonReadStatus::Ok;
    const Json::Value root = CJsonFileUtil().ReadJsonFile(file, status);
    if (status == JsonReadStatus::Invalid) CJsonFileUtil::MoveAside(file);
    if (root.isObject() && root["updatelasttime"].isObject() && root["updatelasttime"]["value"].isString())
        return root["updatelasttime"]["value"].asString();
    const std::string today = UpdateDateText();
    WriteUpdateTime(dataRoot, today);
    return today;
}

bool WriteUpdateTime(const std::filesystem::path& dataRoot, const std::string& date) {
    Json::Value root(Json::objectValue);
    root["updatelasttime"]["value"] = date;
    std::error_code ignored;
    std::filesystem::create_directories(dataRoot, ignored);
    return static_cast<bool>(CJsonFileUtil().WriteJsonFile(dataRoot / kUpdateTimeFileName, root));
}

}  // namespace zevik
