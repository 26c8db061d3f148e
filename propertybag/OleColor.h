#pragma once

// Colours are kept as 32-bit values 0x00BBGGRR (red in the low byte) wherever
// they are stored or passed between the program and its widgets.

#include <QtGlobal>

using OleColor = quint32;

#ifdef QT_GUI_LIB
#include <QColor>

inline QColor toQColor(OleColor value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline OleColor toOleColor(const QColor &color)
{
    return OleColor(color.red()) | (OleColor(color.green()) << 8) | (OleColor(color.blue()) << 16);
}
#endif
