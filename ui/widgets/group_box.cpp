#include "ui/widgets/group_box.h"

#include <QPainter>
#include <QStyle>

#include "ui/widgets/text_height.h"

namespace {

constexpr int CaptionLeft = 8;

void DrawRectLines(QPainter& painter, const QRect& r, const QColor& color) {
    painter.setPen(color);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace

TGroupBox::TGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QRect TGroupBox::captionRect() const {
    if (title().isEmpty()) return {};
    const int width = fontMetrics().horizontalAdvance(title());
    return {CaptionLeft, 0, width, TextHeight(font())};
}

QRect TGroupBox::frameRect() const {
    const int top = TextHeight(font()) / 2 - 1;
    return {0, top, width(), height() - top};
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
    if (title().isEmpty()) return;
    style()->drawItemText(&painter, captionRect(), Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

// Etched: a line in the shadow colour with a line in the highlight colour one pixel below and
// to the right of it; the caption's place is left out.
void TGroupBox::paintFrame(QPainter& painter) const {
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(captionRect()));
    const QRect shadow = frameRect().adjusted(0, 0, -1, -1);
    DrawRectLines(painter, shadow.translated(1, 1), palette().color(QPalette::Light));
    DrawRectLines(painter, shadow, palette().color(QPalette::Dark));
    painter.restore();
}
