#include "ui/widgets/rz_bit_btn.h"

#include <QKeyEvent>
#include <QPainter>

#include "ui/widgets/palette_colors.h"

namespace {

// A rectangle's outline without its four corner pixels.
void DrawCutFrame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.setPen(topLeft);
    p.drawLine(r.left() + 1, r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top() + 1, r.left(), r.bottom() - 1);
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top() + 1, r.right(), r.bottom() - 1);
    p.drawLine(r.left() + 1, r.bottom(), r.right() - 1, r.bottom());
}

// A ring `width` pixels wide along the inside of `r`, each row coloured along a run.
void DrawRing(QPainter& p, const QRect& r, int width, colors::TRgb top, colors::TRgb bottom) {
    const int rows = r.height();
    for (int row = 0; row < rows; ++row) {
        const QColor color = ToQColor(colors::GradientRow(top, bottom, row, rows));
        const int y = r.top() + row;
        if (row < width || row >= rows - width) {
            p.fillRect(r.left(), y, r.width(), 1, color);
        } else {
            p.fillRect(r.left(), y, width, 1, color);
            p.fillRect(r.right() - width + 1, y, width, 1, color);
        }
    }
}

} // namespace

TRzBitBtn::TRzBitBtn(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setIconSize(QSize(16, 16));
}

QSize TRzBitBtn::sizeHint() const {
    return {75, 25};
}

// Enter clicks at once, as a dialog's push button does; a held key clicks once, so a batch
// is never started again by the key's repeats.
void TRzBitBtn::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) click();
    event->accept();
}

void TRzBitBtn::enterEvent(QEnterEvent* event) {
    m_hot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TRzBitBtn::leaveEvent(QEvent* event) {
    m_hot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TRzBitBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintEdgeAndFrame(painter);
    const QRect face = rect().adjusted(2, 2, -2, -2);
    paintFace(painter, face);
    paintState(painter, face);
    paintContents(painter);
    if (hasFocus()) paintFocusRect(painter);
}

void TRzBitBtn::paintEdgeAndFrame(QPainter& painter) const {
    const colors::TRgb buttonFace = ToRgb(palette().color(QPalette::Button));
    DrawCutFrame(painter, rect(), ToQColor(colors::Darken(buttonFace, 20)),
                 ToQColor(colors::Lighten(buttonFace, 20)));
    const QColor frameColor = palette().color(QPalette::Shadow);
    DrawCutFrame(painter, rect().adjusted(1, 1, -1, -1), frameColor, frameColor);
}

void TRzBitBtn::paintFace(QPainter& painter, const QRect& face) const {
    const colors::TRgb color = ToRgb(m_color);
    const int bottom = face.bottom();
    painter.fillRect(face.left(), bottom, face.width(), 1, ToQColor(colors::Darken(color, 30)));
    painter.fillRect(face.left(), bottom - 1, face.width(), 1, ToQColor(colors::Darken(color, 20)));
    const QRect run(face.left(), face.top(), face.width(), face.height() - 2);
    if (depth() <= 8) {
        painter.fillRect(run, m_color);
        return;
    }
    const colors::TRgb top = colors::Lighten(color, 30);
    const colors::TRgb low = colors::Darken(color, 10);
    for (int row = 0; row < run.height(); ++row)
        painter.fillRect(run.left(), run.top() + row, run.width(), 1,
                         ToQColor(colors::GradientRow(top, low, row, run.height())));
}

void TRzBitBtn::paintState(QPainter& painter, const QRect& face) const {
    if (depth() <= 8) return;
    const colors::TRgb color = ToRgb(m_color);
    if (isDown()) painter.fillRect(face, ToQColor(colors::Darken(color, 10)));
    if (m_hot) {
        const colors::TRgb hot = ToRgb(m_hotTrackColor);
        DrawRing(painter, face, 2, colors::Blend({255, 255, 255}, hot, 190), hot);
    } else if (hasFocus() && !isDown()) {
        const colors::TRgb highlight = ToRgb(m_highlightColor);
        const colors::TRgb light = colors::Lighten(color, 30);
        DrawRing(painter, face, 2, colors::Blend(highlight, light, 60),
                 colors::Blend(highlight, light, 160));
    }
}

void TRzBitBtn::paintContents(QPainter& painter) const {
    const int spacing = icon().isNull() ? 0 : 4;
    const int pictureWidth = icon().isNull() ? 0 : iconSize().width();
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int left = (width() - pictureWidth - spacing - textWidth) / 2;
    if (!icon().isNull()) {
        const QRect picture(QPoint(left, (height() - iconSize().height()) / 2), iconSize());
        icon().paint(&painter, picture, Qt::AlignCenter,
                     isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QRect caption(left + pictureWidth + spacing, 0, textWidth, height());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

void TRzBitBtn::paintFocusRect(QPainter& painter) const {
    const QRect r = rect().adjusted(3, 3, -3, -3);
    painter.setPen(palette().color(QPalette::ButtonText));
    for (int x = r.left(); x <= r.right(); x += 2) {
        painter.drawPoint(x, r.top());
        painter.drawPoint(x, r.bottom());
    }
    for (int y = r.top(); y <= r.bottom(); y += 2) {
        painter.drawPoint(r.left(), y);
        painter.drawPoint(r.right(), y);
    }
}
