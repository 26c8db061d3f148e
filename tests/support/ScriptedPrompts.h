#pragma once

// Answers the main window's questions from a script and records what was asked.

#include "SessionPrompts.h"

#include <QStringList>

#include <deque>

class ScriptedPrompts final : public SessionPrompts {
public:
    std::deque<Answer> answers;    // for askYesNoCancel
    std::deque<bool> yesNoAnswers; // for askYesNo
    std::deque<QString> files;     // for the file choosers; empty = cancel
    QStringList asked, messages, errors;

    Answer askYesNoCancel(const QString &text) override
    {
        asked << text;
        return take(answers, Answer::Cancel);
    }
    bool askYesNo(const QString &text) override
    {
        asked << text;
        return take(yesNoAnswers, false);
    }
    void showMessage(const QString &text) override { messages << text; }
    void showError(const QString &text) override { errors << text; }
    QString chooseOpenFile(const QString &) override { return take(files, QString()); }
    QString chooseSaveFile(const QString &, const QString &) override { return take(files, QString()); }
    QString chooseCsvFile(const QString &, const QString &) override { return take(files, QString()); }
    bool confirmOverwrite(const QString &) override { return true; }
    bool confirmReplace(const QString &text) override
    {
        asked << text;
        return take(yesNoAnswers, false);
    }

private:
    template <typename T>
    static T take(std::deque<T> &queue, T otherwise)
    {
        if (queue.empty())
            return otherwise;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
