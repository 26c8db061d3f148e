#pragma once

// The session's questions and file choices as modal dialogs over the main window.

#include "SessionPrompts.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

// The real dialogs, parented to the main window.
class DialogPrompts final : public SessionPrompts {
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
