#pragma once
// The recovery questions at start-up, answered as a user who wants every batch taken back.

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWindow>

#include "ui/window/Umain.h"

// Answers 撤销 to every question box, noting each one that came over a window not yet shown
// or still busy: it is looked at when it shows, before its own event loop turns.
class TUndoAnswers : public QObject {
public:
    explicit TUndoAnswers(TFrmMain* const& window) : m_window(window) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (event->type() != QEvent::Show || !box) return false;
        questions << box->text();
        untimely += !m_window || !m_window->windowHandle() ||
                    !m_window->windowHandle()->isExposed() || box->parentWidget() != m_window ||
                    m_window->isBusy();
        QTimer::singleShot(0, box->defaultButton(), &QAbstractButton::click);
        return false;
    }
    QStringList questions;
    int untimely = 0;

private:
    TFrmMain* const& m_window;
};
