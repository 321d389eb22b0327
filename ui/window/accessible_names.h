#pragma once
// What a screen reader says for the main window's controls: the edits by their labels with
// their group as description, the up-down arrows by their edit, the panes by what they hold.

class QWidget;

// Names the controls of the main window `window`, found by their object names.
void NameControlsForScreenReaders(QWidget* window);
