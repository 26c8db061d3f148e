#pragma once

// A colour swatch: a label reading "Click here" on the colour it shows. A click,
// or Space while it has the keyboard focus, asks for another colour.

#include <OleColor.h>

#include <QLabel>

class ColorSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);

    OleColor color() const { return color_; }
    void setColor(OleColor color);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    OleColor color_ = 0;
    bool pressed_ = false;
};
