#include "MainFrmPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {
const QString Title = QStringLiteral("Ampero");
} // namespace

// Names are case-sensitive here: offer both spellings of the extension.
QString DialogPrompts::recordingFilter()
{
    return tr("KRD (*.KRD *.krd);;All File (*)");
}

SessionPrompts::Answer DialogPrompts::askYesNoCancel(const QString &text)
{
    const auto button = QMessageBox::question(
        parent_, Title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

bool DialogPrompts::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, Title, text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    question_ = &box;
    const int answer = box.exec();
    question_.clear();
    return answer == QMessageBox::Yes;
}

void DialogPrompts::withdrawQuestion()
{
    if (question_)
        question_->done(QMessageBox::No);
}

void DialogPrompts::showMessage(const QString &text)
{
    QMessageBox::information(parent_, Title, text);
}

void DialogPrompts::showError(const QString &text)
{
    QMessageBox::warning(parent_, Title, text);
}

QString DialogPrompts::chooseOpenFile(const QString &folder)
{
    return QFileDialog::getOpenFileName(parent_, tr("Open"), folder, recordingFilter());
}

QString DialogPrompts::chooseSaveFile(const QString &folder, const QString &suggestedName)
{
    QFileDialog dialog(parent_, tr("Save As"), folder, recordingFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("KRD"));
    if (!suggestedName.isEmpty())
        dialog.selectFile(QDir(folder).filePath(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::chooseCsvFile(const QString &folder, const QString &suggestedName)
{
    QFileDialog dialog(parent_, tr("Export CSV"), folder, tr("CSV (*.csv *.CSV);;All File (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!suggestedName.isEmpty())
        dialog.selectFile(QDir(folder).filePath(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool DialogPrompts::confirmOverwrite(const QString &path)
{
    return confirmReplace(tr("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)));
}

bool DialogPrompts::confirmReplace(const QString &text)
{
    return QMessageBox::question(parent_, Title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}
