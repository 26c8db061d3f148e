#pragma once

// The boxes the Options dialog opens over itself. The program uses the
// platform's modal dialogs; tests answer from a script so that nothing blocks.

#include <OleColor.h>

#include <QString>

#include <optional>

class QWidget;

class OptionPrompts {
public:
    virtual ~OptionPrompts() = default;
    // A modal message box titled "Ampero" with an OK button.
    virtual void showMessage(QWidget *owner, const QString &text) = 0;
    // The colour the user confirmed, or nothing when the chooser was cancelled.
    virtual std::optional<OleColor> chooseColor(QWidget *owner, OleColor current) = 0;
};

// QMessageBox and QColorDialog.
class DialogOptionPrompts final : public OptionPrompts {
public:
    void showMessage(QWidget *owner, const QString &text) override;
    std::optional<OleColor> chooseColor(QWidget *owner, OleColor current) override;
};
