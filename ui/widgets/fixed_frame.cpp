#include "ui/widgets/fixed_frame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/widgets/platform_widgets.h"

TFixedFrame::TFixedFrame(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

void TFixedFrame::centreOnPrimaryScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

// The hints go out when the window is about to be mapped, after Qt has written its own. The
// frame becomes known some time after mapping, when the window manager has put it around the
// window; until then the window stands centred by its inner size.
bool TFixedFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || !m_window->isWindow()) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) SetFixedFrameHints(m_window->windowHandle());
    const bool placed = type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize;
    if (placed && !m_framed && m_window->windowState() == Qt::WindowNoState &&
        m_window->frameGeometry() != m_window->geometry()) {
        m_framed = true;
        centreOnPrimaryScreen(m_window);
    }
    return false;
}
