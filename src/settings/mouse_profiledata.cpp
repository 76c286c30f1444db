#include "settings/mouse_profiledata.h"

#include "settings/json_access.h"

namespace zevik {

namespace {
std::uint16_t U16(const Json::Value& object, std::string_view key) {
    return static_cast<std::uint16_t>(json::IntMember(object, key));
}
std::uint8_t U8(const Json::Value& object, std::string_view key) {
    return static_cast<std::uint8_t>(json::IntMember(object, key));
}
}  // namespace

std::vector<DpiStageRecord> CMouseProfiledata::GetDpiStages() {
    const Json::Value* section = json::Member(CurrentDocument(), "DPIStages");
    if (section != nullptr && section->isObject()) {
        activeDpiStage_ = json::IntMember(*section, "StageActive");
        const Json::Value* stages = json::Member(*section, "StageDPIs");
        if (stages != nullptr && stages->isArray()) {
            for (Json::ArrayIndex j = 0; j < stages->size(); ++j) {
                const Json::Value& e = (*stages)[j];
                DpiStageRecord r;
                r.enabled = U8(e, "StageActive");
                r.xy = U8(e, "StageXY");
                r.SetDpiX(U16(e, "StageDPIX"));
                r.SetDpiY(U16(e, "StageDPIY"));
                r.red = U8(e, "StageColorR");
                r.green = U8(e, "StageColorG");
                r.blue = U8(e, "StageColorB");
                if (j < dpiStages_.size()) {
                    dpiStages_[j] = r;
                } else {
                    dpiStages_.push_back(r);
                }
            }
        }
    }
    return dpiStages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStageRecord>& stages) {
    dpiStages_ = stages;
    Json::Value& list = json::ObjectSlot(json::ObjectSlot(MutableDocument(), "DPIStages"), "StageDPIs");
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const DpiStageRecord& r = stages[i];
        Json::Value& e = json::ArraySlot(list, static_cast<Json::ArrayIndex>(i));
        json::ObjectSlot(e, "StageActive") = r.enabled;
        e["StageXY"] = r.xy;
        e["StageDPIX"] = r.DpiX();
        e["StageDPIY"] = r.DpiY();
        e["StageColorR"] = r.red;
        e["StageColorG"] = r.green;
        e["StageColorB"] = r.blue;
    }
}

void CMouseProfiledata::SetActiveDpiStage(int index) {
    activeDpiStage_ = index;
    json::ObjectSlot(json::ObjectSlot(MutableDocument(), "DPIStages"), "StageActive") = index;
}

MouseSystemRecord CMouseProfiledata::GetMouseSystem() {
    MouseSystemRecord r;
    const Json::Value* s = json::Member(CurrentDocument(), "SystemStages");
    if (s != nullptr && s->isObject()) {
        r.SetDoubleClickTime(U16(*s, "DoubleClickTime"));
        r.SetMouseSpeed(U16(*s, "MouseSpeed"));
        r.SetPointerPrecision(U16(*s, "PointerPrecision"));
        r.SetScrollPage(U16(*s, "ScorllPage"));
        r.SetWheelScrollLines(U16(*s, "WheelScorlllinse"));
        r.SetDormancyTime(U16(*s, "DormancyTime"));
        r.SetSilentAltitudeItem(U16(*s, "SilentAltitudeItem"));
        r.SetAntiShake(U16(*s, "AntiShake"));
        r.SetSensorLif(json::BoolMember(*s, "SensorLif") ? 1 : 0);
        r.SetMotionSync(json::BoolMember(*s, "MotionSync") ? 1 : 0);
        r.SetLinearCalibration(U16(*s, "LinearCalibration"));
        r.SetKeyDelay(U16(*s, "KeyDelay"));
        r.SetDeepSleepOff(U16(*s, "DeepSleepOff"));
        r.SetSleepTime(U16(*s, "sleeptime"));
        r.SetSleepTimeH(U16(*s, "sleeptimeH"));
        const Json::Value* report = json::Member(CurrentDocument(), "ReportStages");
        if (report != nullptr && report->isObject()) r.SetReportRate(U16(*report, "StageActive"));
    }
    mouseSystem_ = r;
    return r;
}

void CMouseProfiledata::SetMouseSystem(const MouseSystemRecord& r) {
    mouseSystem_ = r;
    Json::Value& s = json::ObjectSlot(MutableDocument(), "SystemStages");
    json::ObjectSlot(s, "DoubleClickTime") = r.DoubleClickTime();
    s["MouseSpeed"] = r.MouseSpeed();
    s["PointerPrecision"] = r.PointerPrecision();
    s["ScorllPage"] = r.ScrollPage();
    s["WheelScorlllinse"] = r.WheelScrollLines();
    s["DormancyTime"] = r.DormancyTime();
    s["SilentAltitudeItem"] = r.SilentAltitudeItem();
    s["AntiShake"] = r.AntiShake();
    s["SensorLif"] = r.SensorLif() ? 1 : 0;
    s["MotionSync"] = r.MotionSync() ? 1 : 0;
    s["LinearCalibration"] = r.LinearCalibration();
    s["KeyDelay"] = r.KeyDelay();
    s["DeepSleepOff"] = r.DeepSleepOff();
    s["sleeptime"] = r.SleepTime();
    s["sleeptimeH"] = r.SleepTimeH();
    json::ObjectSlot(json::ObjectSlot(MutableDocument(), "ReportStages"), "StageActive") = r.ReportRate();
}

std::vector<CorrectInfoRecord> CMouseProfiledata::GetCorrectInfo() {
    correctInfo_.clear();
    const Json::Value* list = json::Member(CurrentDocument(), "CorrectInfo");
    if (list != nullptr && list->isArray()) {
        for (const Json::Value& e : *list) {
            CorrectInfoRecord r;
            r.correctPixThresh = U8(e, "CorrectPixThresh");
            r.correctMinSq = U8(e, "CorrectMinSq");
            r.correctSelect = U8(e, "CorrectSelect");
            r.correctName = json::StringMember(e, "CorrectName");
            correctInfo_.push_back(r);
        }
    }
    return correctInfo_;
}

}  // namespace zevik
