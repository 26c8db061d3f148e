#pragma once

// The questions and file choices the recording session puts to the user. The
// program uses modal dialogs; tests answer from a script so that nothing blocks.

#include "RecordCommands.h"

#include <QString>

class SessionPrompts {
public:
    using Answer = RecordCommandsView::Answer;

    virtual ~SessionPrompts() = default;
    // Modal boxes with the application title "Ampero".
    virtual Answer askYesNoCancel(const QString &text) = 0;
    virtual bool askYesNo(const QString &text) = 0; // Yes is the default button
    // Closes the Yes/No box that is up as No. Prompts that answer at once
    // have none to close.
    virtual void withdrawQuestion() {}
    virtual void showMessage(const QString &text) = 0;
    virtual void showError(const QString &text) = 0;
    // A chosen path, or empty when the user cancelled.
    virtual QString chooseOpenFile(const QString &folder) = 0;
    virtual QString chooseSaveFile(const QString &folder, const QString &suggestedName) = 0;
    virtual QString chooseCsvFile(const QString &folder, const QString &suggestedName) = 0;
    virtual bool confirmOverwrite(const QString &path) = 0;
    virtual bool confirmReplace(const QString &text) = 0; // No is the default button
};
