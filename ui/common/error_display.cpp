#include "ui/common/error_display.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
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

// A held button keeps Qt's implicit mouse grab, which no call releases; an auto-repeating
// one (an up-down's arrow) would go on stepping, and failing, under the box, which swallows
// the release. A release outside the button ends the press without a click.
void CancelMouseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->isDown()) continue;
            const QPointF outside(-1, -1);
            QMouseEvent release(QEvent::MouseButtonRelease, outside, button->mapToGlobal(outside),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(button, &release);
        }
    }
}

// CJK ideographs, their punctuation (U+3000–U+303F), full-width forms and Chinese quotation
// marks: what our own Chinese messages start with, and never an English one.
bool IsChinese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF) || u == u'“' || u == u'‘';
}

bool EndsChineseSentence(QChar c) {
    return c == u'。' || c == u'！' || c == u'？' || c == u'…';
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
    QString text = message;
    text.replace(QChar(u'\0'), QStringLiteral("\\0")); // the box would end the text there
    if (IsChinese(text.front())) {
        if (!EndsChineseSentence(text.back())) text += u'。';
    } else if (text.back().unicode() > u'.') {
        // A whole character: a pair of surrogates counts as one, and it is above "." anyway.
        text += QLatin1Char('.');
    }
    return text;
}

void ShowError(const QString& message) {
    CancelMouseCapture();
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
