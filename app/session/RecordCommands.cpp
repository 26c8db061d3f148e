#include "RecordCommands.h"

#include "RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <vector>

namespace {

// Asked before Open, from the menu or the command line, throws away unsaved samples.
QString reloadQuestion()
{
    return QCoreApplication::translate("RecordCommands", "Save File Before Reloading?");
}

QString saveFailedText(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("RecordCommands",
                                       "Cannot save the recording to \"%1\":\n%2.\nThe recording has not been saved.")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString CaptionFor(const QString &recordFileName)
{
    if (recordFileName.isEmpty())
        return QStringLiteral("Ampero Clamp    ");
    return QStringLiteral("Ampero Clamp   ") + recordFileName;
}

RecordCommands::RecordCommands(ProgramState &programState, RecordCommandsView &commandsView)
    : state_(programState), view_(commandsView)
{
}

QString RecordCommands::dialogFolder() const
{
    // A dialog given a folder that does not exist takes its last part for the
    // file name ("Documents" on a fresh home or a localised desktop).
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir())
        return lastFolder_;
    // The program's own folder is not writable once installed.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void RecordCommands::rememberFolder(const QString &path)
{
    lastFolder_ = QFileInfo(path).absolutePath();
}

void RecordCommands::rememberFile(const QString &path)
{
    rememberFolder(path);
    const QFileInfo info(path);
    knownFile_ = FileStamp{path, info.size(), info.lastModified()};
}

bool RecordCommands::changedSinceRemembered(const QString &path) const
{
    if (!knownFile_ || knownFile_->path != path)
        return false;
    // A file that is gone loses nothing when it is written again.
    const QFileInfo info(path);
    return info.exists() && (info.size() != knownFile_->size || info.lastModified() != knownFile_->modified);
}

bool RecordCommands::offerToSave(const QString &question)
{
    if (!state_.acquisition.Modified)
        return true;
    switch (view_.askYesNoCancel(question)) {
    case RecordCommandsView::Answer::Cancel:
        return false;
    case RecordCommandsView::Answer::No:
        return true;
    case RecordCommandsView::Answer::Yes:
        // The user wants the samples kept: unless they were saved, the
        // command stops and they stay.
        return Save() == SaveResult::Saved;
    }
    return false;
}

QString RecordCommands::completeChosenName(const QString &chosen, const QString &extension)
{
    const QString name = QFileInfo(chosen).fileName();
    if (name.lastIndexOf(QLatin1Char('.')) > 0)
        return chosen;
    const QString completed = chosen + QLatin1Char('.') + extension;
    // The dialog confirmed the name as typed, not the one with the extension.
    if (QFileInfo::exists(completed) && !view_.confirmOverwrite(completed))
        return QString();
    return completed;
}

bool RecordCommands::New()
{
    if (!offerToSave(tr("Save File Before Create New File?")))
        return false;
    ResetRecording(state_.store, state_.acquisition);
    // An empty recording carries no statistics of the previous one.
    state_.store.statistics() = Sample();
    state_.view.ViewFirst = 1;
    state_.view.ViewLast = 1;
    state_.RecordFileName.clear();
    state_.statistics.clear();
    view_.setCaption(CaptionFor(state_.RecordFileName));
    view_.clearRecordingView();
    return true;
}

bool RecordCommands::Open()
{
    if (!offerToSave(reloadQuestion()))
        return false;
    const QString path = view_.chooseOpenFile(dialogFolder());
    if (path.isEmpty())
        return false;
    return openChosenFile(path);
}

bool RecordCommands::OpenFile(const QString &path)
{
    if (!offerToSave(reloadQuestion()))
        return false;
    return openChosenFile(path);
}

bool RecordCommands::openChosenFile(const QString &path)
{
    // The file is read completely before anything of the current recording changes.
    std::vector<Sample> records;
    const RecordFileResult read = ReadRecordFile(path, records);
    if (!read.ok) {
        view_.showError(tr("Cannot open the file \"%1\":\n%2.").arg(QDir::toNativeSeparators(path), read.error));
        return false;
    }

    state_.store.Load(std::move(records));
    state_.acquisition.Modified = false;
    state_.RecordFileName = path;
    rememberFile(path);
    ShowLoadedRecording();
    return true;
}

void RecordCommands::ShowLoadedRecording()
{
    view_.setCaption(CaptionFor(state_.RecordFileName));
    state_.view.ViewLast = state_.store.SampleCount;
    const std::int32_t start = LoadWindowStart(state_.store, view_.chartRightx(), state_.view.TimeMode);
    state_.view.ViewFirst = start + 1;
    view_.showLoadedRecording(start);
}

SaveResult RecordCommands::Save()
{
    if (state_.RecordFileName.isEmpty())
        return SaveAs();
    // For instance `amperotool record` writing the same file meanwhile.
    if (changedSinceRemembered(state_.RecordFileName) &&
        !view_.confirmReplace(tr("The file \"%1\" has been changed by another program since it was "
                                 "opened or last saved.\nReplace it with this recording?")
                                  .arg(QDir::toNativeSeparators(state_.RecordFileName))))
        return SaveResult::Cancelled;
    const RecordFileResult written = WriteRecordFile(state_.RecordFileName, state_.store);
    if (!written.ok) {
        view_.showError(saveFailedText(state_.RecordFileName, written.error));
        return SaveResult::Failed;
    }
    state_.acquisition.Modified = false;
    rememberFile(state_.RecordFileName);
    return SaveResult::Saved;
}

SaveResult RecordCommands::SaveAs()
{
    const QString suggested = state_.RecordFileName.isEmpty() ? QString() : QFileInfo(state_.RecordFileName).fileName();
    const QString chosen = view_.chooseSaveFile(dialogFolder(), suggested);
    if (chosen.isEmpty())
        return SaveResult::Cancelled;
    const QString path = completeChosenName(chosen, QStringLiteral("KRD"));
    if (path.isEmpty())
        return SaveResult::Cancelled;

    const RecordFileResult written = WriteRecordFile(path, state_.store);
    if (!written.ok) {
        view_.showError(saveFailedText(path, written.error));
        return SaveResult::Failed;
    }
    state_.RecordFileName = path;
    state_.acquisition.Modified = false;
    rememberFile(path);
    view_.setCaption(CaptionFor(state_.RecordFileName));
    return SaveResult::Saved;
}

bool RecordCommands::ExportCsv()
{
    const QString suggested = state_.RecordFileName.isEmpty()
                                  ? QString()
                                  : QFileInfo(state_.RecordFileName).completeBaseName() + QStringLiteral(".csv");
    const QString chosen = view_.chooseCsvFile(dialogFolder(), suggested);
    if (chosen.isEmpty())
        return false;
    const QString path = completeChosenName(chosen, QStringLiteral("csv"));
    if (path.isEmpty())
        return false;

    const RecordFileResult written = WriteCsvFile(path, state_.store);
    if (!written.ok) {
        view_.showError(
            tr("Cannot export the recording to \"%1\":\n%2.").arg(QDir::toNativeSeparators(path), written.error));
        return false;
    }
    rememberFolder(path);
    return true;
}
