#include "frmAbout.h"

#include "AmperoIcon.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {
constexpr int IconSize = 48;
} // namespace

frmAbout::frmAbout(QWidget *parent) : frmAbout(CurrentVersion(), parent) {}

frmAbout::frmAbout(const ProgramVersion &version, QWidget *parent)
    : QDialog(parent), version_(version), imgIcon(new QLabel(this)),
      lblTitle(new QLabel(QStringLiteral("Ampero Clamp"), this)), lblVersion(new QLabel(tr("Version"), this)),
      lblDescription(new QLabel(tr("Records, charts and prints the readings of a clamp-on power meter."), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(AmperoIcon());
    setModal(true);

    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(AmperoIcon().pixmap(IconSize, IconSize));
    imgIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(16, 20, 16, 12);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(6);
    layout->addWidget(imgIcon, 0, 0, 3, 1);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->setRowMinimumHeight(3, 8);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    // The box is as wide as its design (4725 twips, 315 pixels) and no narrower.
    setMinimumWidth(315);
    setSizeGripEnabled(false);
}

void frmAbout::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(ApplicationTitle()));
    lblVersion->setText(VersionText(version_));
}
