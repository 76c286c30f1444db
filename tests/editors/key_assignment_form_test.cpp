#include "editors/key_assignment_form.h"

#include <gtest/gtest.h>

#include "editors/key_function_label.h"

namespace zevik {
namespace {

constexpr AssignmentCode kFactory{0x10, 0x08, 0x00};  // back button
constexpr int kMacros = 3;

KeyAssignmentForm Form(int function) {
    KeyAssignmentForm f;
    f.function = function;
    return f;
}

// Building a code from the controls, each function with the values that show its encoding.
TEST(KeyAssignmentForm, BuildsTheCodeOfEveryFunction) {
    struct Case {
        const char* what;
        KeyAssignmentForm form;
        AssignmentCode pending;
        AssignmentCode want;
    };
    const auto with = [](int function, auto set) {
        KeyAssignmentForm f = Form(function);
        set(f);
        return f;
    };
    const Case cases[] = {
        {"default", Form(kFunctionDefault), {0x20, 0, 4}, kFactory},
        {"unknown function number", Form(42), {0x20, 0, 4}, kFactory},
        {"mouse button middle", with(kFunctionMouseButton, [](auto& f) { f.mouseButton = 1; }), {}, {0x10, 0x04, 0}},
        {"mouse button, none chosen, keeps pending", Form(kFunctionMouseButton), {0x13, 1, 0}, {0x13, 1, 0}},
        {"swing dir 1 count 3", with(kFunctionSwing, [](auto& f) { f.swing = {1, "2", "5", "3"}; }), {}, {0x11, 0x25, 0x83}},
        {"swing dir 0 count 3", with(kFunctionSwing, [](auto& f) { f.swing = {0, "2", "5", "3"}; }), {}, {0x11, 0x25, 0x03}},
        {"wheel dir 1 count 3", with(kFunctionWheel, [](auto& f) { f.wheel = {1, "2", "5", "3"}; }), {}, {0x12, 0x25, 0xFD}},
        {"wheel dir 0, fields held at their largest", with(kFunctionWheel, [](auto& f) { f.wheel = {0, "17", "31", "200"}; }), {}, {0x12, 0xFF, 127}},
        {"wheel, edits without digits read 0", with(kFunctionWheel, [](auto& f) { f.wheel = {0, "x", "", "-4"}; }), {}, {0x12, 0, 0}},
        {"dpi cycle", with(kFunctionDpi, [](auto& f) { f.dpi = 2; }), {}, {0x13, 3, 0}},
        {"fire", with(kFunctionFire, [](auto& f) { f.fireInterval = "40"; f.fireCount = "300"; }), {}, {0x14, 40, 0xFF}},
        {"key shift+A", with(kFunctionKeyboardKey, [](auto& f) { f.modifierOption = 2; f.keyTextKey = "keyboard_key_A"; }), {0x20, 0x20, 0x04}, {0x20, 0x02, 0x04}},
        {"key win+A", with(kFunctionKeyboardKey, [](auto& f) { f.modifierOption = 4; f.keyTextKey = "keyboard_key_A"; }), {0x20, 0, 0x04}, {0x20, 0x08, 0x04}},
        {"key, no option, empty edit", with(kFunctionKeyboardKey, [](auto&) {}), {0x10, 0x01, 0x04}, {0x20, 0, 0}},
        {"media mute", with(kFunctionMedia, [](auto& f) { f.media = 7; }), {}, {0x30, 0xE2, 0}},
        {"system sleep", with(kFunctionSystem, [](auto& f) { f.system = 1; }), {}, {0x40, 2, 0}},
        {"macro mode 2", with(kFunctionMacro, [](auto& f) { f.macro = 1; f.playMode = 2; }), {}, {0x70, 1, 2}},
        {"macro counted 10", with(kFunctionMacro, [](auto& f) { f.macro = 2; f.playMode = 4; f.cycles = "10"; }), {}, {0x71, 2, 10}},
        {"macro beyond the list keeps pending", with(kFunctionMacro, [](auto& f) { f.macro = 3; f.playMode = 0; }), {0x10, 1, 0}, {0x10, 1, 0}},
        {"macro none chosen keeps pending", with(kFunctionMacro, [](auto& f) { f.playMode = 0; }), {0x10, 1, 0}, {0x10, 1, 0}},
        {"gun 4", with(kFunctionGun, [](auto& f) { f.gun = 3; }), {}, {0x72, 3, 0}},
        {"shortcut paste", with(kFunctionShortcut, [](auto& f) { f.shortcut = 6; }), {}, {0x20, 0x10, 0x19}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildCode(c.form, c.pending, kFactory, kMacros), c.want) << c.what;
    }
}

// Showing a code, then building from what is shown, gives the code back (or the editor's form of it).
TEST(KeyAssignmentForm, ShowsCodesAndBuildsThemBack) {
    struct Case {
        AssignmentCode code;
        int function;
        AssignmentCode rebuilt;
    };
    const Case cases[] = {
        {kFactory, kFunctionDefault, kFactory},
        {{0x10, 0x02, 0}, kFunctionMouseButton, {0x10, 0x02, 0}},
        {{0x11, 0x25, 0x83}, kFunctionSwing, {0x11, 0x25, 0x83}},
        {{0x12, 0x25, 0xFD}, kFunctionWheel, {0x12, 0x25, 0xFD}},
        {{0x12, 0xF0, 0x7F}, kFunctionWheel, {0x12, 0xF0, 0x7F}},
        {{0x14, 9, 200}, kFunctionFire, {0x14, 9, 200}},
        {{0x20, 0x20, 0x04}, kFunctionKeyboardKey, {0x20, 0x02, 0x04}},  // right Shift shows as Shift
        {{0x20, 0x10, 0x05}, kFunctionKeyboardKey, {0x20, 0x01, 0x05}},  // Ctrl+B is no shortcut row
        {{0x20, 0x03, 0x04}, kFunctionKeyboardKey, {0x20, 0x00, 0x04}},  // several modifiers show as none
        {{0x20, 0x00, 0xF0}, kFunctionKeyboardKey, {0x20, 0x00, 0x00}},  // no key row: the key is dropped
        {{0x20, 0x10, 0x06}, kFunctionShortcut, {0x20, 0x10, 0x06}},
        {{0x30, 0x83, 0x01}, kFunctionMedia, {0x30, 0x83, 0x01}},
        {{0x40, 0x04, 0}, kFunctionSystem, {0x40, 0x04, 0}},
        {{0x70, 2, 3}, kFunctionMacro, {0x70, 2, 3}},
        {{0x71, 0, 10}, kFunctionMacro, {0x71, 0, 10}},
        {{0x72, 1, 0}, kFunctionGun, {0x72, 1, 0}},
    };
    for (const Case& c : cases) {
        const ShownAssignment shown = ShowCode(c.code, kFactory, kMacros);
        EXPECT_EQ(shown.form.function, c.function) << AssignmentHex(c.code);
        EXPECT_EQ(BuildCode(shown.form, shown.pending, kFactory, kMacros), c.rebuilt) << AssignmentHex(c.code);
    }
}

TEST(KeyAssignmentForm, ShowsTheDetailsUsersSee) {
    const ShownAssignment wheel = ShowCode({0x12, 0x25, 0xFD}, kFactory, kMacros);
    EXPECT_EQ(wheel.form.wheel.count, "3");
    EXPECT_EQ(wheel.form.wheel.direction, 1);
    EXPECT_EQ(wheel.form.wheel.delay, "2");
    EXPECT_EQ(wheel.form.wheel.speed, "5");

    const ShownAssignment shift = ShowCode({0x20, 0x20, 0x04}, kFactory, kMacros);
    EXPECT_EQ(shift.form.modifierOption, 2);
    EXPECT_EQ(shift.form.keyTextKey, "keyboard_key_A");

    const ShownAssignment noRow = ShowCode({0x20, 0x00, 0xF0}, kFactory, kMacros);
    EXPECT_EQ(noRow.form.modifierOption, -1);
    EXPECT_EQ(noRow.form.keyTextKey, "");
    EXPECT_EQ(noRow.pending, (AssignmentCode{0x20, 0, 0}));

    const ShownAssignment counted = ShowCode({0x71, 1, 10}, kFactory, kMacros);
    EXPECT_EQ(counted.form.playMode, kMacroPlayCounted);
    EXPECT_TRUE(counted.form.cyclesShown);
    EXPECT_EQ(counted.form.cycles, "10");

    // A macro the list no longer has shows nothing chosen.
    const ShownAssignment gone = ShowCode({0x70, kMacros, 0}, kFactory, kMacros);
    EXPECT_EQ(gone.form.function, kFunctionMacro);
    EXPECT_EQ(gone.form.macro, -1);
    EXPECT_EQ(gone.form.playMode, -1);

    // A code the editor has no page for leaves the function open.
    EXPECT_EQ(ShowCode({0xA0, 0x1B, 0}, kFactory, kMacros).form.function, -1);
}

TEST(KeyAssignmentForm, EditNumbersSaturateInsteadOfWrapping) {
    EXPECT_EQ(EditNumber("70000"), 0xFFFF);
    EXPECT_EQ(EditNumber("99999999999999999999"), 0xFFFF);
    EXPECT_EQ(EditNumber("12ab"), 12);
    EXPECT_EQ(EditNumber(""), 0);
    EXPECT_EQ(EditNumber("300", 255), 255);
}

}  // namespace
}  // namespace zevik
