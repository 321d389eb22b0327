#pragma once
// Between QColor and the colour rules' plain triples.

#include <QColor>

#include "ui/widgets/color_rules.h"

inline colors::TRgb ToRgb(const QColor& color) {
    return {color.red(), color.green(), color.blue()};
}

inline QColor ToQColor(colors::TRgb color) {
    return QColor(color.Red, color.Green, color.Blue);
}
