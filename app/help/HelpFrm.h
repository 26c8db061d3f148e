#pragma once

// The "Help" window: the user's manual, read afresh from the program's folder
// every time the window opens, so edits to the file show at the next opening.

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QShowEvent;

class HelpFrm : public QDialog {
    Q_OBJECT
public:
    // The text the box shows when the manual cannot be read.
    static constexpr const char *InitialText = "RichTextBox1";

    // Reads the manual from the folder that holds the running program.
    explicit HelpFrm(QWidget *parent = nullptr);
    // Reads the manual from the given folder.
    explicit HelpFrm(const QString &programFolder, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    QString programFolder_;
    QPlainTextEdit *HelpText;
};
