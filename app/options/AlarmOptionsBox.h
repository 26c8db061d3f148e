#pragma once

// The "Limit alarms" group of the Options dialog: a high and a low limit for
// each display, the hysteresis, and whether an alarm beeps.

#include "AlarmOptions.h"

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

class AlarmOptionsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit AlarmOptionsBox(QWidget *parent = nullptr);

    void showTexts(const AlarmOptionTexts &texts);
    AlarmOptionTexts texts() const;
    // The boxes the dialog checks when the focus leaves them.
    QList<QLineEdit *> limitBoxes() const { return {High1, Low1, High2, Low2}; }
    QLineEdit *hysteresisBox() const { return Hysteresis; }
    QLineEdit *lowLimitBox(int display) const { return display == 1 ? Low1 : Low2; }
    // The controls in the order Tab visits them.
    QList<QWidget *> tabOrder() const;

private:
    QLineEdit *High1;
    QLineEdit *Low1;
    QLineEdit *High2;
    QLineEdit *Low2;
    QLineEdit *Hysteresis;
    QCheckBox *AlarmSound;
};
