#pragma once
// The moment a window has first been painted: what can wait at start-up waits for it, and a
// program that times start-up from outside (zelvora-bench's "ratio startup") learns of it.

#include <functional>

class QWidget;

// Names a file descriptor open for writing: one byte goes to it after the first paint.
inline constexpr char PaintedFdVariable[] = "ZELVORA_PAINTED_FD";

// Runs `action` once, after `window` has painted for the first time and that frame has been
// handed to the display server; never when `window` goes away first.
void AfterFirstPaint(QWidget* window, std::function<void()> action);

// When PaintedFdVariable names a descriptor, writes one byte to it after the first paint of
// `window` and closes it. The variable is removed, so programs started later inherit nothing.
void ReportFirstPaint(QWidget* window);
