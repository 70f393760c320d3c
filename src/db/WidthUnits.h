#pragma once

#include <QString>

// A cheap guess of how wide a text shows, in the widths of a digit: a wide (CJK) character
// counts two, any other one.
inline int widthUnits(const QString& text)
{
    int units = 0;
    for (const QChar ch : text)
        units += ch.unicode() >= 0x1100 ? 2 : 1;
    return units;
}
