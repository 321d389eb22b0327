#include "ui/widgets/rz_panel.h"

#include <QPainter>

#include "ui/widgets/palette_colors.h"

TRzPanel::TRzPanel(QWidget* parent) : QWidget(parent) {}

void TRzPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintGradient(painter);
    paintGroove(painter);
}

void TRzPanel::paintGroove(QPainter& painter) const {
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    auto frame = [&](QRect r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
        painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        painter.setPen(bottomRight);
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
        painter.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
    };
    frame(rect(), shadow, highlight);
    frame(rect().adjusted(1, 1, -1, -1), highlight, shadow);
}

void TRzPanel::paintGradient(QPainter& painter) const {
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    const colors::TRgb top = ToRgb(palette().color(QPalette::Base));
    const colors::TRgb bottom = colors::Darken(ToRgb(palette().color(QPalette::Button)), 10);
    const int rows = inside.height();
    for (int row = 0; row < rows; ++row) {
        const QColor color = ToQColor(colors::GradientRow(top, bottom, row, rows));
        painter.fillRect(inside.left(), inside.top() + row, inside.width(), 1, color);
    }
}
