#pragma once

#include <QFont>
#include <QFontMetrics>

// The design's text height of `font`: its pixel size (12 at 96 dpi), the height of a line of
// captions, labels and edits, which the platform's fonts may exceed by a few pixels of leading.
inline int TextHeight(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
}
