#pragma once

// The File menu's recording commands, New, Open, Save, Save As and Export CSV,
// over the program-wide state. Everything the user sees or answers goes
// through RecordCommandsView, which the main window implements.

#include "ProgramState.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

class RecordCommandsView {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~RecordCommandsView() = default;

    // A question box titled "Ampero" with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString &text) = 0;
    // File dialogs starting in `folder`; an empty result means cancelled. The
    // recording dialogs filter "KRD(*.KRD *.krd)" and all files; the save
    // dialogs confirm overwriting the name the user picked.
    virtual QString chooseOpenFile(const QString &folder) = 0;
    virtual QString chooseSaveFile(const QString &folder, const QString &suggestedName) = 0;
    virtual QString chooseCsvFile(const QString &folder, const QString &suggestedName) = 0;
    // Asked when the extension added to a picked name leads to an existing file.
    virtual bool confirmOverwrite(const QString &path) = 0;
    // A question box titled "Ampero" with Yes and No, No the default: asked
    // before replacing a file another program has changed.
    virtual bool confirmReplace(const QString &text) = 0;
    virtual void showError(const QString &text) = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual float chartRightx() const = 0; // Sweepgraph1.Rightx
    // Both charts cleared, the scroll bar at 0 with maximum 0, the statistics
    // labels shown from the (now empty) texts, LCD1 "8.8.8.8", LCD2 "88:88",
    // LCD3 "00", every bar-graph segment and the arrow visible.
    virtual void clearRecordingView() = 0;
    // Both charts redrawn from the view variables, the scroll bar's maximum and
    // value at `scrollPosition`, the ALL AREA labels from the statistics record
    // with the mean pattern "#0.00".
    virtual void showLoadedRecording(std::int32_t scrollPosition) = 0;
};

enum class SaveResult { Saved, Cancelled, Failed };

// "Ampero Clamp" and four spaces without a file, three spaces and the path with one.
QString CaptionFor(const QString &recordFileName);

class RecordCommands {
    Q_DECLARE_TR_FUNCTIONS(RecordCommands)

public:
    RecordCommands(ProgramState &state, RecordCommandsView &view);

    // Each returns whether the command went through; a refused prompt, a
    // cancelled dialog or a failure leaves the recording as it was.
    bool New();
    bool Open();
    // Open without the dialog: the prompt to save, then `path` as if it had
    // been chosen in the dialog (a recording named on the command line).
    bool OpenFile(const QString &path);
    // A failed save keeps the recording marked as modified. A file another
    // program has changed since it was opened or saved here is replaced only
    // when the user agrees.
    SaveResult Save();
    SaveResult SaveAs();
    bool ExportCsv();

    // Caption, view window and scroll bar for a recording just put into the
    // store, as Open leaves them: the newest chart width shown.
    void ShowLoadedRecording();

    // Where the next file dialog starts: the folder of the last file opened or
    // saved, else the user's documents folder, else the home folder; always
    // one that exists.
    QString dialogFolder() const;

private:
    // Size and modification time of a file as it was opened or saved here.
    struct FileStamp {
        QString path;
        qint64 size = 0;
        QDateTime modified;
    };

    // The prompt before New and Open; false when the command must stop.
    bool offerToSave(const QString &question);
    // Open's steps after the file has been chosen.
    bool openChosenFile(const QString &path);
    void rememberFile(const QString &path);
    bool changedSinceRemembered(const QString &path) const;
    // A chosen name, with the extension added when it has none; empty when the
    // user declines to replace the file that name leads to.
    QString completeChosenName(const QString &chosen, const QString &extension);
    void rememberFolder(const QString &path);

    ProgramState &state_;
    RecordCommandsView &view_;
    QString lastFolder_;
    std::optional<FileStamp> knownFile_;
};
