#include "ui/window/first_paint.h"

#include <utility>

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

namespace {

class TFirstPaintWatch : public QObject {
public:
    TFirstPaintWatch(QWidget* window, std::function<void()> action)
        : QObject(window), m_action(std::move(action)) {
        window->installEventFilter(this);
    }

    // The window paints first, its children after it in the same pass, and the pass then
    // hands the frame to the display server: a zero timer fires only after all of that.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            m_action();
            deleteLater();
        });
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void AfterFirstPaint(QWidget* window, std::function<void()> action) {
    new TFirstPaintWatch(window, std::move(action));
}

void ReportFirstPaint(QWidget* window) {
    bool isNumber = false;
    const int fd = qEnvironmentVariableIntValue(PaintedFdVariable, &isNumber);
    qunsetenv(PaintedFdVariable);
    if (!isNumber || fd <= 2) return;
    AfterFirstPaint(window, [fd] {
        QFile out;
        if (out.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle))
            out.write("p", 1);
    });
}
