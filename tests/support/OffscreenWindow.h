#pragma once

// The program's main window on the offscreen platform, with a settings file
// of its own and answers scripted for its questions.

#include "MainFrm.h"
#include "ProgramState.h"
#include "PtyFeeder.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <memory>

// One run of the program: its settings, its state, its answers and its window.
struct ProgramRun {
    explicit ProgramRun(const QString &settingsPath) : settings(settingsPath) {}

    // Builds the window without showing it.
    MainFrm &create();
    // Builds the window and shows it.
    MainFrm &open();
    // Builds the window with COM1 in use (mapped to a device in the settings) and shows it.
    MainFrm &openOnPort();

    SettingsStore settings;
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<MainFrm> window;
};

// A test with a folder of its own, the settings file "RQ4417.conf" in it, and
// one run of the program on those settings. The locale is left as the
// environment sets it.
class OffscreenProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString settingsPath() const { return dir.filePath(QStringLiteral("RQ4417.conf")); }

    QTemporaryDir dir;
    ProgramRun run{settingsPath()};
    SettingsStore &settings = run.settings;
    ProgramState &state = run.state;
    ScriptedPrompts &prompts = run.prompts;
};

// The same with the run's window.
class OffscreenWindowTest : public OffscreenProgramTest {
protected:
    MainFrm &openWindow() { return run.open(); }
    MainFrm &openWindowOnPort() { return run.openOnPort(); }

    std::unique_ptr<MainFrm> &window = run.window;
};

// The same with a pseudo-terminal meter, which the settings map to COM1.
class MeterWindowTest : public OffscreenWindowTest {
protected:
    void SetUp() override;

    std::unique_ptr<PtyFeeder> pty;
};
