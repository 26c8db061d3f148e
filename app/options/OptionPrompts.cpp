#include "OptionPrompts.h"

#include <QColorDialog>
#include <QMessageBox>

void DialogOptionPrompts::showMessage(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Ampero"), text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<OleColor> DialogOptionPrompts::chooseColor(QWidget *owner, OleColor current)
{
    const QColor chosen = QColorDialog::getColor(toQColor(current), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return toOleColor(chosen);
}
