#include "AlarmOptionsBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit *limitBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setPlaceholderText(AlarmOptionsBox::tr("none"));
    return box;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

AlarmOptionsBox::AlarmOptionsBox(QWidget *parent)
    : QGroupBox(tr("Limit alarms"), parent), High1(limitBox("High1", this)), Low1(limitBox("Low1", this)),
      High2(limitBox("High2", this)), Low2(limitBox("Low2", this)), Hysteresis(limitBox("Hysteresis", this)),
      AlarmSound(new QCheckBox(tr("Beep when an alarm is raised"), this))
{
    setObjectName(QStringLiteral("Alarms"));
    Hysteresis->setPlaceholderText(QStringLiteral("0"));
    AlarmSound->setObjectName(QStringLiteral("AlarmSound"));
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("High"), this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(tr("Low"), this), 0, 2, Qt::AlignHCenter);
    grid->addWidget(buddyLabel(tr("First display"), High1, this), 1, 0);
    grid->addWidget(High1, 1, 1);
    grid->addWidget(Low1, 1, 2);
    grid->addWidget(buddyLabel(tr("Second display"), High2, this), 2, 0);
    grid->addWidget(High2, 2, 1);
    grid->addWidget(Low2, 2, 2);
    grid->addWidget(buddyLabel(tr("Hysteresis:"), Hysteresis, this), 3, 0);
    grid->addWidget(Hysteresis, 3, 1);
    grid->addWidget(AlarmSound, 4, 0, 1, 3);
}

void AlarmOptionsBox::showTexts(const AlarmOptionTexts &texts)
{
    High1->setText(texts.High1);
    Low1->setText(texts.Low1);
    High2->setText(texts.High2);
    Low2->setText(texts.Low2);
    Hysteresis->setText(texts.Hysteresis);
    AlarmSound->setChecked(texts.Sound);
}

AlarmOptionTexts AlarmOptionsBox::texts() const
{
    AlarmOptionTexts texts;
    texts.High1 = High1->text();
    texts.Low1 = Low1->text();
    texts.High2 = High2->text();
    texts.Low2 = Low2->text();
    texts.Hysteresis = Hysteresis->text();
    texts.Sound = AlarmSound->isChecked();
    return texts;
}

QList<QWidget *> AlarmOptionsBox::tabOrder() const
{
    return {High1, Low1, High2, Low2, Hysteresis, AlarmSound};
}
