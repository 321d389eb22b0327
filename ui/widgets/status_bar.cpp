#include "ui/widgets/status_bar.h"

#include <QPainter>

namespace {

constexpr int PanelTop = 2;

} // namespace

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
    // The bar's own layout keeps its items three pixels from the top; one more pixel at each
    // other side keeps them off the bevel's lines.
    setContentsMargins(1, 0, 1, 1);
}

QRect TStatusBar::panelRect() const {
    return rect().adjusted(0, PanelTop, 0, 0);
}

// Lowered: the shadow colour along the top and left, the highlight along the bottom and right.
void TStatusBar::paintEvent(QPaintEvent* event) {
    QStatusBar::paintEvent(event);
    QPainter painter(this);
    const QRect panel = panelRect();
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.topLeft(), panel.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(panel.bottomLeft() + QPoint(1, 0), panel.bottomRight());
    painter.drawLine(panel.topRight() + QPoint(0, 1), panel.bottomRight());
}
