#include "ui/error_display.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {

void ShowMessageBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    // Messages quote typed text and file names, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

TErrorDisplay& CurrentDisplay() {
    static TErrorDisplay display;
    return display;
}

} // namespace

TErrorDisplay SetErrorDisplay(TErrorDisplay display) {
    return std::exchange(CurrentDisplay(), std::move(display));
}

QString ErrorMessageText(const QString& message) {
    if (message.isEmpty()) return message;
    // A whole character: a pair of surrogates counts as one, and it is above "." anyway.
    if (message.back().unicode() > u'.') return message + QLatin1Char('.');
    return message;
}

void ShowError(const QString& message) {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const QString text = ErrorMessageText(message);
    if (const TErrorDisplay& display = CurrentDisplay())
        display(text);
    else
        ShowMessageBox(text);
    if (focused) {
        focused->activateWindow();
        focused->setFocus();
    }
}
