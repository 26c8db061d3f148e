#include "HelpFrm.h"

#include "AmperoIcon.h"
#include "ReadmeFile.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
// The manual is written for 80-column plain text; the window opens wide
// enough for that and for a good page of lines.
constexpr int ManualColumns = 80;
constexpr int ManualLines = 34;
} // namespace

HelpFrm::HelpFrm(QWidget *parent) : HelpFrm(QCoreApplication::applicationDirPath(), parent) {}

HelpFrm::HelpFrm(const QString &programFolder, QWidget *parent)
    : QDialog(parent), programFolder_(programFolder), HelpText(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("HelpFrm"));
    setWindowTitle(tr("Help"));
    setWindowIcon(AmperoIcon());
    setModal(true);

    HelpText->setObjectName(QStringLiteral("HelpText"));
    HelpText->setReadOnly(true);
    HelpText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    HelpText->setFont(font);
    HelpText->setPlainText(QString::fromLatin1(InitialText));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 8);
    layout->addWidget(HelpText);
    layout->addWidget(buttons);

    const QFontMetrics metrics(font);
    const int frame = 2 * HelpText->frameWidth() + 2 * static_cast<int>(HelpText->document()->documentMargin());
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(metrics.horizontalAdvance(QLatin1Char('M')) * ManualColumns + frame + scrollBar + 8,
           metrics.lineSpacing() * ManualLines + buttons->sizeHint().height() + frame + 20);
}

void HelpFrm::showEvent(QShowEvent *event)
{
    // A show event from the window system (restoring a minimised window) is not
    // an opening of the window.
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void HelpFrm::Form_Load()
{
    // Every opening starts from the box's initial text, as a freshly loaded window would.
    HelpText->setPlainText(QString::fromLatin1(InitialText));
    for (const QString &path : ReadmePaths(programFolder_)) {
        if (const std::optional<QString> manual = ReadReadme(path)) {
            HelpText->setPlainText(*manual);
            return;
        }
    }
}
