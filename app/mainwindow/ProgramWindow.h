#pragma once

// The program as it starts on a desktop: its settings, its state, questions
// asked in dialogs over the main window, and the window itself. The program
// and the harnesses that run it as users do build it this one way.

#include "MainFrm.h"
#include "MainFrmPrompts.h"
#include "ProgramState.h"
#include "SettingsStore.h"

#include <QString>

struct ProgramWindow {
    SettingsStore settings;
    ProgramState state;
    DialogPrompts prompts;
    MainFrm window{state, settings, prompts};

    ProgramWindow() { prompts.setParent(&window); }
    ProgramWindow(const ProgramWindow &) = delete;
    ProgramWindow &operator=(const ProgramWindow &) = delete;

    // The session's start-up (stored settings, recovery of the journal at
    // journalPath), then the window is shown.
    void start(const QString &journalPath)
    {
        window.session().StartUp(journalPath);
        window.show();
    }
};
