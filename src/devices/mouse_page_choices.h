#pragma once
// How many choices each setting of the mouse page offers. The values are the option numbers and
// combo item indexes the profile stores (0 up to the count less one); the command line refuses
// anything outside them.

namespace zevik {

inline constexpr int kMouseReportRateOptions = 5;  // "polling_rate_option_" 0-4
inline constexpr int kMouseTwoWayOptions = 2;      // lift-off, deep sleep, calibration, motion sync, sensor
inline constexpr int kMouseKeyDelayItems = 5;      // "Key_Delay_combo_timeSelect": codes 1, 3, 5, 7, 9
inline constexpr int kMouseAntiShakeItems = 5;     // "Anti_Shake_combo_timeSelect"
inline constexpr int kMouseDormancyItems = 7;      // "Dormancy_combo_timeSelect": 0 keeps the mouse's own

}  // namespace zevik
