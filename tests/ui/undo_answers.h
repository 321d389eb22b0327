#pragma once
// The recovery questions at start-up, answered as a user would.

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QWindow>

#include "ui/window/Umain.h"

// Answers every question box with the button named `answer` (the default button, 撤销, when
// empty), noting each question, the last box's caption and buttons, and each box that came
// over a window not yet shown or still busy: it is looked at when it shows, before its own
// event loop turns.
class TUndoAnswers : public QObject {
public:
    explicit TUndoAnswers(TFrmMain* const& window, QString answer = {})
        : m_window(window), m_answer(std::move(answer)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (event->type() != QEvent::Show || !box) return false;
        questions << box->text();
        caption = box->windowTitle();
        buttons.clear();
        QAbstractButton* chosen = box->defaultButton();
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
            if (button->text() == m_answer) chosen = button;
        }
        defaultButton = box->defaultButton()->text();
        untimely += !m_window || !m_window->windowHandle() ||
                    !m_window->windowHandle()->isExposed() || box->parentWidget() != m_window ||
                    m_window->isBusy();
        QTimer::singleShot(0, chosen, &QAbstractButton::click);
        return false;
    }
    QStringList questions;
    QString caption, defaultButton;
    QStringList buttons;
    int untimely = 0;

private:
    TFrmMain* const& m_window;
    QString m_answer;
};
