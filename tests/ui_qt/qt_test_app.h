#pragma once
// One QApplication for the whole test executable, on the offscreen platform unless the environment
// names another one (the tests never need a display).

#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/dark_theme.h"

namespace zevik::test {

inline QApplication& QtTestApp() {
    static int argc = 1;
    static char name[] = "ui_qt_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Never destroyed: a QApplication torn down among the static destructors at exit outlives parts of
    // Qt it needs and crashes the process after the tests passed.
    static QApplication* app = [] {
        auto* created = new QApplication(argc, argv);
        ApplyDarkTheme(*created);  // as the program runs: theme style sheet and palette in force
        return created;
    }();
    return *app;
}

// Base of the fixtures: the application exists before any widget member is constructed.
class QtFixture : public ::testing::Test {
protected:
    QtFixture() { QtTestApp(); }
};

}  // namespace zevik::test
