#pragma once
// The strip's push button: a framed face with a colour run, a hot ring while the pointer is
// over it, a focus ring and dotted rectangle while it has the focus, picture left of caption.
// Never a default button, so Enter in an edit presses nothing; Enter or Space on the focused
// button presses it, as on a Windows push button.

#include <QAbstractButton>

class TRzBitBtn : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr QRgb DefaultColor = 0xF4F4F0;
    static constexpr QRgb DefaultHighlightColor = 0x6A8DF4;
    static constexpr QRgb DefaultHotTrackColor = 0xFFC73C;

    explicit TRzBitBtn(QWidget* parent = nullptr);
    bool isHot() const { return m_hot; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintEdgeAndFrame(QPainter& painter) const;
    void paintFace(QPainter& painter, const QRect& face) const;
    void paintState(QPainter& painter, const QRect& face) const;
    void paintContents(QPainter& painter) const;
    void paintFocusRect(QPainter& painter) const;

    QColor m_color{DefaultColor};
    QColor m_highlightColor{DefaultHighlightColor};
    QColor m_hotTrackColor{DefaultHotTrackColor};
    bool m_hot = false;
};
