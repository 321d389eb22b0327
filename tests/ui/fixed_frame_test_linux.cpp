// The main window's frame: centred by its outer size once the frame is known, and, on X11,
// offered by the window manager for moving, minimising, maximising and closing but never for
// resizing. ctest runs this offscreen and once more on an X server (xvfb-run).
#include <cstdlib>
#include <memory>

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <xcb/xcb.h>

#include "tests/ui/offscreen_screen.h"
#include "tests/ui/temp_namespace.h"
#include "ui/window/Umain.h"

namespace {

template <typename T> using TReply = std::unique_ptr<T, decltype(&std::free)>;

// The window's _MOTIF_WM_HINTS as the window manager reads them.
QList<quint32> MotifHints(xcb_connection_t* connection, xcb_window_t window) {
    const char name[] = "_MOTIF_WM_HINTS";
    const TReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name),
                              nullptr),
        &std::free);
    if (!atom) return {};
    const TReply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, atom->atom, atom->atom, 0, 5),
            nullptr),
        &std::free);
    if (!property || property->format != 32) return {};
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(property.get()));
    return QList<quint32>(values, values + xcb_get_property_value_length(property.get()) / 4);
}

} // namespace

class TFixedFrameTest : public QObject {
    Q_OBJECT
private slots:
    void centresTheWholeFrame() {
        const TTempNamespace shellNamespace;
        TFrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        if (window.frameGeometry() == window.geometry()) QSKIP("no frame around windows here");
        const QSize outer = window.frameGeometry().size();
        const QPoint centred(screen.x() + (screen.width() - outer.width()) / 2,
                             screen.y() + (screen.height() - outer.height()) / 2);
        QTRY_COMPARE(window.frameGeometry().topLeft(), centred);
    }

    void offersNoResizingOnX11() {
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11 || !x11->connection()) QSKIP("not on an X server");
        const TTempNamespace shellNamespace;
        TFrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Flags: functions and decorations. Functions: move 4, minimise 8, maximise 16, close 32,
        // not resize 2. Decorations: border 2, title 8, menu 16, minimise 32, maximise 64, not the
        // resize handles 4.
        const QList<quint32> expected{1 | 2, 4 | 8 | 16 | 32, 2 | 8 | 16 | 32 | 64, 0, 0};
        QCOMPARE(MotifHints(x11->connection(), static_cast<xcb_window_t>(window.winId())),
                 expected);
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        window.showNormal();
        QCOMPARE(MotifHints(x11->connection(), static_cast<xcb_window_t>(window.winId())),
                 expected);
    }
};

int main(int argc, char* argv[]) {
    const TOffscreenScreen screen(1280, 800, 96);
    QApplication app(argc, argv);
    TFixedFrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fixed_frame_test_linux.moc"
