#pragma once

// The questions and file choices the main window puts to the user. The program
// uses modal dialogs; tests answer from a script so that nothing blocks.

#include "RecordCommands.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

class MainFrmPrompts {
public:
    using Answer = RecordCommandsView::Answer;

    virtual ~MainFrmPrompts() = default;
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

// The real dialogs, parented to the main window.
class DialogPrompts final : public MainFrmPrompts {
    Q_DECLARE_TR_FUNCTIONS(DialogPrompts)

public:
    explicit DialogPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    Answer askYesNoCancel(const QString &text) override;
    bool askYesNo(const QString &text) override;
    void withdrawQuestion() override;
    void showMessage(const QString &text) override;
    void showError(const QString &text) override;
    QString chooseOpenFile(const QString &folder) override;
    QString chooseSaveFile(const QString &folder, const QString &suggestedName) override;
    QString chooseCsvFile(const QString &folder, const QString &suggestedName) override;
    bool confirmOverwrite(const QString &path) override;
    bool confirmReplace(const QString &text) override;

private:
    static QString recordingFilter();
    QWidget *parent_;
    QPointer<QMessageBox> question_; // the Yes/No box while it is up
};
