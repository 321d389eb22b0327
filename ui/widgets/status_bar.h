#pragma once
// A status bar of one panel with a lowered bevel across its whole width, as the design
// platform draws a single-panel bar: whatever the bar holds sits inside the bevel.

#include <QStatusBar>

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // The bevel's outer bounds: two pixels below the bar's top edge, full width.
    QRect panelRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
