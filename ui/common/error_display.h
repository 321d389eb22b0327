#pragma once
// The one place where errors become user interface. Every handler runs through Guarded(), so
// no exception ever crosses Qt's event loop; what it catches goes to the error display.

#include <exception>
#include <functional>
#include <utility>

#include <QString>

// Shows one finished error message. The program's display is a modal message box; tests put
// a recording display in its place.
using TErrorDisplay = std::function<void(const QString& message)>;

// Replaces the error display (an empty one puts the message box back); returns the one it
// replaces.
TErrorDisplay SetErrorDisplay(TErrorDisplay display);

// The text shown for an error: a NUL character shown as "\0", as engine::TError shows it, and
// ended as a sentence of its language. A Chinese message (one that starts with a Chinese
// character or quotation mark) gets "。" unless it ends in 。！？ or an ellipsis already; any
// other gets "." when its last character is above ".". Pure.
QString ErrorMessageText(const QString& message);

// Cancels a mouse capture, shows the message (after ErrorMessageText) and gives the focus back
// to the control that had it.
void ShowError(const QString& message);

// Runs `action`; an exception that escapes it abandons the rest and is shown.
template <typename TAction> void Guarded(TAction&& action) {
    try {
        std::forward<TAction>(action)();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
}
