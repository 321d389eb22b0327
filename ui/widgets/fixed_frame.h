#pragma once
// The frame of a main window that keeps its size: the window manager offers moving,
// minimising, maximising and closing but no resizing, and the window opens centred on the
// primary screen by its outer size, once the window manager's frame around it is known.

#include <QObject>

class QWidget;

class TFixedFrame : public QObject {
    Q_OBJECT
public:
    // Watches `window`, a top-level widget not shown yet, and belongs to it.
    explicit TFixedFrame(QWidget* window);

    // Places the window's outer frame in the middle of the primary screen.
    static void centreOnPrimaryScreen(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_framed = false; // centred with the window manager's frame known
};
