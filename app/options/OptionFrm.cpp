#include "OptionFrm.h"

#include "AlarmOptionsBox.h"
#include "ColorSwatch.h"
#include "PublishOptionsBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

const QStringList GridItems = {
    QStringLiteral("0"),  QStringLiteral("2"),  QStringLiteral("4"),  QStringLiteral("6"),  QStringLiteral("8"),
    QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
    QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"),
    QStringLiteral("30"), QStringLiteral("40"), QStringLiteral("50"),
};

const QStringList LineWidthItems = {
    QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
    QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"),
};

// Wide enough for "-99999.99" and the like; the boxes hold chart bounds and seconds.
constexpr int NumberBoxChars = 9;

QLineEdit *numberBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * NumberBoxChars + 16);
    return box;
}

// The current value is put in as text and read back as text, so it need not be
// one of the items (the first chart's 15 grid columns are not).
QComboBox *valueCombo(const char *name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(3);
    return combo;
}

ColorSwatch *swatch(const char *name, QWidget *parent)
{
    auto *colorSwatch = new ColorSwatch(parent);
    colorSwatch->setObjectName(QLatin1String(name));
    return colorSwatch;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

OptionFrm::OptionFrm(ProgramState &state, SettingsStore &settings, TrendChart &chart1, TrendChart &chart2,
                     OptionPrompts &prompts, QWidget *parent)
    : QDialog(parent), state_(state), settings_(settings), chart1_(chart1), chart2_(chart2), prompts_(prompts),
      txtYMax1(numberBox("txtYMax1", this)), txtYMin1(numberBox("txtYMin1", this)),
      txtYMax2(numberBox("txtYMax2", this)), txtYMin2(numberBox("txtYMin2", this)), txtXMax(numberBox("txtXMax", this)),
      Auto(new QRadioButton(tr("Auto"), this)), Manual(new QRadioButton(tr("Manual"), this)),
      txtInterValue1(numberBox("txtInterValue1", this)), FirstCol(valueCombo("FirstCol", GridItems, this)),
      FirstRow(valueCombo("FirstRow", GridItems, this)), SecondCol(valueCombo("SecondCol", GridItems, this)),
      SecondRow(valueCombo("SecondRow", GridItems, this)), TimeMode(new QCheckBox(tr("TimeMode"), this)),
      LineWidth(valueCombo("LineWidth", LineWidthItems, this)),
      DiscardDamaged(new QCheckBox(tr("Discard damaged frames"), this)), FTBkColor(swatch("FTBkColor", this)),
      STBkColor(swatch("STBkColor", this)), FTForeColor(swatch("FTForeColor", this)),
      STForeColor(swatch("STForeColor", this)), FTGridColor(swatch("FTGridColor", this)),
      STGridColor(swatch("STGridColor", this)), DColor(new QPushButton(tr("Default Color"), this)),
      Mqtt(new PublishOptionsBox(this)), Alarms(new AlarmOptionsBox(this)), OK(new QPushButton(tr("OK"), this)),
      Cancel(new QPushButton(tr("CANCEL"), this)), checkedBoxes_{{
                                                       {txtInterValue1, NumberBox::InterValue},
                                                       {txtXMax, NumberBox::XMax},
                                                       {txtYMax1, NumberBox::YBound},
                                                       {txtYMin1, NumberBox::YBound},
                                                       {txtYMax2, NumberBox::YBound},
                                                       {txtYMin2, NumberBox::YBound},
                                                       {Alarms->limitBoxes()[0], NumberBox::AlarmLimit},
                                                       {Alarms->limitBoxes()[1], NumberBox::AlarmLimit},
                                                       {Alarms->limitBoxes()[2], NumberBox::AlarmLimit},
                                                       {Alarms->limitBoxes()[3], NumberBox::AlarmLimit},
                                                       {Alarms->hysteresisBox(), NumberBox::Hysteresis},
                                                   }}
{
    setObjectName(QStringLiteral("OptionFrm"));
    setWindowTitle(tr("Option"));
    setModal(true);
    Auto->setObjectName(QStringLiteral("Auto"));
    Manual->setObjectName(QStringLiteral("Manual"));
    TimeMode->setObjectName(QStringLiteral("TimeMode"));
    DiscardDamaged->setObjectName(QStringLiteral("DiscardDamaged"));
    DColor->setObjectName(QStringLiteral("DColor"));
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    buildLayout();

    for (const CheckedBox &checked : checkedBoxes_)
        checked.box->installEventFilter(this);
    // clicked, not toggled: setting the buttons while loading must not act.
    connect(Auto, &QRadioButton::clicked, this, &OptionFrm::Auto_Click);
    connect(Manual, &QRadioButton::clicked, this, &OptionFrm::Manual_Click);
    connect(TimeMode, &QCheckBox::clicked, this, &OptionFrm::TimeMode_Click);
    for (ColorSwatch *colorSwatch : {FTBkColor, STBkColor, FTForeColor, STForeColor, FTGridColor, STGridColor})
        connect(colorSwatch, &ColorSwatch::clicked, this, [this, colorSwatch] { Swatch_Click(colorSwatch); });
    connect(DColor, &QPushButton::clicked, this, &OptionFrm::DColor_Click);
    connect(OK, &QPushButton::clicked, this, &OptionFrm::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void OptionFrm::buildLayout()
{
    auto *firstTrend = new QGroupBox(tr("First Trend"), this);
    auto *firstForm = new QFormLayout(firstTrend);
    firstForm->addRow(tr("Y-Max:"), txtYMax1);
    firstForm->addRow(tr("Y-Min:"), txtYMin1);
    auto *secondTrend = new QGroupBox(tr("Second Trend"), this);
    auto *secondForm = new QFormLayout(secondTrend);
    secondForm->addRow(tr("Y-Max:"), txtYMax2);
    secondForm->addRow(tr("Y-Min:"), txtYMin2);

    auto *coordinate = new QGroupBox(tr("Coordinate"), this);
    auto *coordinateLayout = new QGridLayout(coordinate);
    coordinateLayout->addWidget(firstTrend, 0, 0);
    coordinateLayout->addWidget(secondTrend, 0, 1);
    // "X:" lines up with the "Y-Max:" labels inside the trend groups.
    auto *xRow = new QFormLayout;
    xRow->setContentsMargins(firstForm->contentsMargins().left() + firstTrend->contentsMargins().left(), 0, 0, 0);
    xRow->addRow(tr("X:"), txtXMax);
    coordinateLayout->addLayout(xRow, 1, 0, 1, 2);

    auto *interval = new QGroupBox(tr("Interval"), this);
    auto *intervalLayout = new QGridLayout(interval);
    intervalLayout->addWidget(Auto, 0, 0, 1, 2);
    intervalLayout->addWidget(Manual, 1, 0, 1, 2);
    intervalLayout->addWidget(txtInterValue1, 2, 0);
    intervalLayout->addWidget(buddyLabel(tr("Sec"), txtInterValue1, interval), 2, 1);
    intervalLayout->setRowStretch(3, 1);
    intervalLayout->setColumnStretch(1, 1);

    auto *grid = new QGroupBox(tr("Grid"), this);
    auto *gridLayout = new QGridLayout(grid);
    gridLayout->addWidget(new QLabel(tr("Cols"), grid), 0, 1, Qt::AlignHCenter);
    gridLayout->addWidget(new QLabel(tr("Rows"), grid), 0, 2, Qt::AlignHCenter);
    gridLayout->addWidget(buddyLabel(tr("First"), FirstCol, grid), 1, 0);
    gridLayout->addWidget(FirstCol, 1, 1);
    gridLayout->addWidget(FirstRow, 1, 2);
    gridLayout->addWidget(buddyLabel(tr("Second"), SecondCol, grid), 2, 0);
    gridLayout->addWidget(SecondCol, 2, 1);
    gridLayout->addWidget(SecondRow, 2, 2);
    gridLayout->setColumnStretch(3, 1);

    auto *chartLayout = new QGridLayout;
    chartLayout->addWidget(TimeMode, 0, 0, 1, 2);
    chartLayout->addWidget(buddyLabel(tr("Line Width:"), LineWidth, this), 1, 0);
    chartLayout->addWidget(LineWidth, 1, 1, Qt::AlignLeft);
    chartLayout->addWidget(DiscardDamaged, 2, 0, 1, 2);
    chartLayout->setRowStretch(3, 1);

    auto *colorLayout = new QGridLayout;
    colorLayout->setHorizontalSpacing(12);
    const struct {
        const char *text;
        ColorSwatch *swatch;
        int row;
        int column;
    } colorRows[] = {
        {QT_TR_NOOP("First Trend BkColor:"), FTBkColor, 0, 0},
        {QT_TR_NOOP("Second Trend BkColor:"), STBkColor, 0, 2},
        {QT_TR_NOOP("First Trend ForeColor:"), FTForeColor, 1, 0},
        {QT_TR_NOOP("Second Trend ForeColor:"), STForeColor, 1, 2},
        {QT_TR_NOOP("First Trend Grid Color:"), FTGridColor, 2, 0},
        {QT_TR_NOOP("Second Trend Grid Color:"), STGridColor, 2, 2},
    };
    for (const auto &colorRow : colorRows) {
        colorLayout->addWidget(buddyLabel(tr(colorRow.text), colorRow.swatch, this), colorRow.row, colorRow.column);
        colorLayout->addWidget(colorRow.swatch, colorRow.row, colorRow.column + 1);
    }
    colorLayout->addWidget(DColor, 3, 3);
    colorLayout->setColumnStretch(1, 1);
    colorLayout->setColumnStretch(3, 1);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(OK, QDialogButtonBox::AcceptRole);
    buttons->addButton(Cancel, QDialogButtonBox::RejectRole);

    auto *layout = new QGridLayout(this);
    layout->addWidget(coordinate, 0, 0);
    layout->addWidget(interval, 0, 1);
    layout->addWidget(grid, 1, 0);
    layout->addLayout(chartLayout, 1, 1);
    layout->addLayout(colorLayout, 2, 0, 1, 2);
    layout->addWidget(Mqtt, 3, 0, 1, 2);
    layout->addWidget(Alarms, 4, 0, 1, 2);
    layout->addWidget(buttons, 5, 0, 1, 2);
    layout->setVerticalSpacing(10);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QList<QWidget *> tabOrder = {txtYMax1,  txtYMin1,       txtYMax2,       txtYMin2,  txtXMax,     Auto,
                                 Manual,    txtInterValue1, FirstCol,       FirstRow,  SecondCol,   SecondRow,
                                 TimeMode,  LineWidth,      DiscardDamaged, FTBkColor, FTForeColor, FTGridColor,
                                 STBkColor, STForeColor,    STGridColor,    DColor};
    tabOrder << Mqtt->tabOrder() << Alarms->tabOrder() << OK << Cancel;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void OptionFrm::Form_Load()
{
    const OptionTexts texts = CurrentOptionTexts(state_, chart1_, chart2_);
    TimeMode->setChecked(state_.view.TimeMode);
    txtInterValue1->setText(texts.txtInterValue1);
    txtYMax1->setText(texts.txtYMax1);
    txtYMin1->setText(texts.txtYMin1);
    txtYMax2->setText(texts.txtYMax2);
    txtYMin2->setText(texts.txtYMin2);
    txtXMax->setText(texts.txtXMax);
    showSwatchColors(texts.colors);
    FirstCol->setCurrentText(texts.FirstCol);
    FirstRow->setCurrentText(texts.FirstRow);
    SecondCol->setCurrentText(texts.SecondCol);
    SecondRow->setCurrentText(texts.SecondRow);
    LineWidth->setCurrentText(texts.LineWidth);
    DiscardDamaged->setChecked(texts.DiscardDamaged);
    Mqtt->showTexts(StoredPublishOptions(settings_));
    Alarms->showTexts(CurrentAlarmOptions(state_.alarms));
    if (state_.store.AutoInterval) {
        Auto->setChecked(true);
        Auto_Click();
    } else {
        Manual->setChecked(true);
        Manual_Click();
    }
}

void OptionFrm::Auto_Click()
{
    txtInterValue1->setEnabled(false);
    state_.store.AutoInterval = true;
}

void OptionFrm::Manual_Click()
{
    state_.store.AutoInterval = false;
    txtInterValue1->setEnabled(true);
    txtInterValue1->setFocus(Qt::OtherFocusReason);
    txtInterValue1->selectAll();
}

void OptionFrm::TimeMode_Click()
{
    state_.view.TimeMode = !state_.view.TimeMode;
}

void OptionFrm::Swatch_Click(ColorSwatch *colorSwatch)
{
    if (const auto chosen = prompts_.chooseColor(this, colorSwatch->color()))
        colorSwatch->setColor(*chosen);
}

void OptionFrm::DColor_Click()
{
    showSwatchColors(DefaultSwatchColors());
}

void OptionFrm::OK_Click()
{
    // Enter in a box runs OK with the focus still in it: the box is left now.
    const QWidget *focused = focusWidget();
    if (const CheckedBox *checked = checkedBox(focused))
        pendingChecks_.append(checked->box);
    if (!checkPendingBoxes())
        return;
    const AlarmOptionTexts alarms = Alarms->texts();
    if (const auto problem = CheckAlarmLimits(alarms)) {
        const QScopedValueRollback<bool> guard(checking_, true);
        prompts_.showMessage(this, problem->message);
        QLineEdit *low = Alarms->lowLimitBox(problem->display);
        low->setFocus(Qt::OtherFocusReason);
        low->selectAll();
        return;
    }
    StorePublishOptions(Mqtt->texts(), settings_);
    StoreAlarmOptions(alarms, settings_);
    CommitOptions(shownTexts(), state_, settings_, chart1_, chart2_);
    accept();
}

void OptionFrm::showSwatchColors(const SwatchColors &colors)
{
    FTBkColor->setColor(colors.FTBkColor);
    STBkColor->setColor(colors.STBkColor);
    FTForeColor->setColor(colors.FTForeColor);
    STForeColor->setColor(colors.STForeColor);
    FTGridColor->setColor(colors.FTGridColor);
    STGridColor->setColor(colors.STGridColor);
}

OptionTexts OptionFrm::shownTexts() const
{
    OptionTexts texts;
    texts.txtInterValue1 = txtInterValue1->text();
    texts.txtYMax1 = txtYMax1->text();
    texts.txtYMin1 = txtYMin1->text();
    texts.txtYMax2 = txtYMax2->text();
    texts.txtYMin2 = txtYMin2->text();
    texts.txtXMax = txtXMax->text();
    texts.FirstCol = FirstCol->currentText();
    texts.FirstRow = FirstRow->currentText();
    texts.SecondCol = SecondCol->currentText();
    texts.SecondRow = SecondRow->currentText();
    texts.LineWidth = LineWidth->currentText();
    texts.DiscardDamaged = DiscardDamaged->isChecked();
    texts.colors.FTBkColor = FTBkColor->color();
    texts.colors.STBkColor = STBkColor->color();
    texts.colors.FTForeColor = FTForeColor->color();
    texts.colors.STForeColor = STForeColor->color();
    texts.colors.FTGridColor = FTGridColor->color();
    texts.colors.STGridColor = STGridColor->color();
    return texts;
}

const OptionFrm::CheckedBox *OptionFrm::checkedBox(const QObject *object) const
{
    for (const CheckedBox &checked : checkedBoxes_) {
        if (checked.box == object)
            return &checked;
    }
    return nullptr;
}

bool OptionFrm::eventFilter(QObject *watched, QEvent *event)
{
    const CheckedBox *checked = checkedBox(watched);
    if (checked && event->type() == QEvent::FocusIn) {
        checked->box->selectAll();
        // A click goes on to place the cursor; select again once it has.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, checked->box, &QLineEdit::selectAll);
    } else if (checked && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Another window taking the focus (a message box, the colour chooser,
        // another program) does not leave the box; nor does the focus coming
        // back from a failed check.
        if (!checking_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkLater(checked->box);
    }
    return QDialog::eventFilter(watched, event);
}

void OptionFrm::checkLater(QLineEdit *box)
{
    pendingChecks_.append(box);
    // A message box opened in the middle of a focus change would leave the
    // clicked button half pressed: check once the change is over.
    QMetaObject::invokeMethod(
        this, [this] { checkPendingBoxes(); }, Qt::QueuedConnection);
}

bool OptionFrm::checkPendingBoxes()
{
    while (!pendingChecks_.isEmpty()) {
        const QPointer<QLineEdit> box = pendingChecks_.takeFirst();
        // A closed dialog has nothing left to check, and the interval box is
        // not in use with Auto, nor when the user is on the way to Auto.
        if (!box || !box->isEnabled() || !isVisible() || (box == txtInterValue1 && focusWidget() == Auto))
            continue;
        const CheckedBox *checked = checkedBox(box);
        const auto message = CheckNumberBox(checked->rule, box->text());
        if (!message)
            continue;
        pendingChecks_.clear();
        const QScopedValueRollback<bool> guard(checking_, true);
        prompts_.showMessage(this, *message);
        // Selected for typing over, also when the box never lost the focus (Enter).
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return false;
    }
    return true;
}
