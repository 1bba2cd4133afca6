// Ids of the texts of the host's advanced-page controls, the message box and
// the calibration answer in the device panel. They live in the host's text
// table (host/texts.cpp) in a block of their own.
#pragma once

#include <cstdint>

namespace advanced_text {
enum : int32_t {
    first = 10600,
    adv_sen_title = first,
    adv_sen_help,
    adv_sen_separate,
    adv_sen_x,
    adv_sen_y,
    adv_sen_hint,
    polling_title,
    polling_help,
    polling_hint,
    reset_title,
    reset_help,
    reset_text,
    reset_button,
    reset_confirm_title,
    reset_confirm_text,
    reset_confirm_ok,
    sound_title,
    sound_help,
    sound_switch_0,
    sound_switch_1,
    sound_switch_2,
    sound_switch_3,
    sound_switch_4,
    sound_volume,
    calibration_answer,  // device panel: "Calibration answer"
    calibration_success, // "Succeeds"
    calibration_failure, // "Fails"
    calibration_delay,   // "after %1 s"
    lights_title,        // device panel: "LIGHTS"
    lights_off,          // "Lights off"
    last = lights_off,
};
} // namespace advanced_text
