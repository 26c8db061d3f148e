#pragma once

// The "About Ampero" box: the program's title and version.

#include "ProgramVersion.h"

#include <QDialog>

class QLabel;
class QShowEvent;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Shows the version this build was made from.
    explicit frmAbout(QWidget *parent = nullptr);
    // Shows the given version.
    explicit frmAbout(const ProgramVersion &version, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    ProgramVersion version_;
    QLabel *imgIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
};
