#pragma once

// The Options dialog: the y range of each chart, the common x range, the
// sampling interval, the x-axis mode, the grids, the line width, six colours,
// whether frames damaged on the line are dropped, the publishing to an MQTT
// broker and the limit alarms.
// The x-axis mode and the Auto/Manual choice act at once; everything else waits
// for OK, which stores and applies it. Opened modally over the main window:
//   OptionFrm dialog(state, settings, chart1, chart2, prompts, this);
//   dialog.exec();

#include "OptionPrompts.h"
#include "OptionSettings.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <array>

class AlarmOptionsBox;
class ColorSwatch;
class PublishOptionsBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class OptionFrm : public QDialog {
    Q_OBJECT
public:
    OptionFrm(ProgramState &state, SettingsStore &settings, TrendChart &chart1, TrendChart &chart2,
              OptionPrompts &prompts, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct CheckedBox {
        QLineEdit *box;
        NumberBox rule;
    };

    void buildLayout();
    void Form_Load();
    void Auto_Click();
    void Manual_Click();
    void TimeMode_Click();
    void Swatch_Click(ColorSwatch *colorSwatch);
    void DColor_Click();
    void OK_Click();

    void showSwatchColors(const SwatchColors &colors);
    OptionTexts shownTexts() const;
    const CheckedBox *checkedBox(const QObject *object) const;
    void checkLater(QLineEdit *box);
    bool checkPendingBoxes();

    ProgramState &state_;
    SettingsStore &settings_;
    TrendChart &chart1_;
    TrendChart &chart2_;
    OptionPrompts &prompts_;

    QLineEdit *txtYMax1;
    QLineEdit *txtYMin1;
    QLineEdit *txtYMax2;
    QLineEdit *txtYMin2;
    QLineEdit *txtXMax;
    QRadioButton *Auto;
    QRadioButton *Manual;
    QLineEdit *txtInterValue1;
    QComboBox *FirstCol;
    QComboBox *FirstRow;
    QComboBox *SecondCol;
    QComboBox *SecondRow;
    QCheckBox *TimeMode;
    QComboBox *LineWidth;
    QCheckBox *DiscardDamaged;
    ColorSwatch *FTBkColor;
    ColorSwatch *STBkColor;
    ColorSwatch *FTForeColor;
    ColorSwatch *STForeColor;
    ColorSwatch *FTGridColor;
    ColorSwatch *STGridColor;
    QPushButton *DColor;
    PublishOptionsBox *Mqtt;
    AlarmOptionsBox *Alarms;
    QPushButton *OK;
    QPushButton *Cancel;

    std::array<CheckedBox, 11> checkedBoxes_;
    // Boxes the focus has left, checked once the focus change is over.
    QList<QPointer<QLineEdit>> pendingChecks_;
    // True while a check's message is up and the focus goes back to the box.
    bool checking_ = false;
};
