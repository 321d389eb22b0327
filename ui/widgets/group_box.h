#pragma once
// A captioned frame as the design platform draws it: an etched line whose top runs through the
// middle of the caption's line, the caption 8 pixels from the left edge with the line left out
// behind it. Children are placed by hand, at least 2 pixels inside the frame's line.

#include <QGroupBox>

class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TGroupBox(const QString& title, QWidget* parent = nullptr);

    // The caption's place: one line of text height, 8 pixels from the left.
    QRect captionRect() const;
    // The etched line's outer bounds: from half the text height (less one) to the bottom.
    QRect frameRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFrame(QPainter& painter) const;
};
