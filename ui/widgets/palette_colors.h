#pragma once
// Between QColor and the colour rules' plain triples, and the palettes our views share.

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "ui/common/color_rules.h"

inline colors::TRgb ToRgb(const QColor& color) {
    return {color.red(), color.green(), color.blue()};
}

inline QColor ToQColor(colors::TRgb color) {
    return QColor(color.Red, color.Green, color.Blue);
}

// The selection of `view` is not shown while the view has no focus: its inactive highlight is
// its background.
inline void HideInactiveSelection(QWidget& view) {
    QPalette colors = view.palette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight,
                    colors.color(QPalette::Inactive, QPalette::Base));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Inactive, QPalette::Text));
    view.setPalette(colors);
}
