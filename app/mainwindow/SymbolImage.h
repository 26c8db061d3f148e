#pragma once

// The meter's annunciator symbols, drawn as vector shapes so that they stay
// crisp at any size the window gives them.

#include <QColor>
#include <QWidget>

class SymbolImage : public QWidget {
    Q_OBJECT

public:
    enum class Kind {
        Hold,           // a boxed H
        HighVoltage,    // a lightning arrow
        Phase1,         // Ø1
        Phase2,         // Ø2
        Phase3,         // Ø3
        Sum,            // Σ
        ThreePhaseWatt, // W 3Ø
        CircledP,
        Battery,
        Watt,     // W
        BarArrow, // the arrow at the right end of the bar graph
    };

    SymbolImage(Kind kind, QColor color, QWidget *parent = nullptr);
    Kind kind() const { return kind_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawText(QPainter &painter, const QRectF &box, const QString &text, qreal sizeFactor) const;

    Kind kind_;
    QColor color_;
};
