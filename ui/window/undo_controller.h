#pragma once
// Taking batches back: Ctrl+Z and the file list's context menu undo the newest batch not undone
// yet, and at start-up a batch the program left unfinished is offered for undo. Batches are
// journaled under $XDG_STATE_HOME/zelvora, so this works across restarts and crashes.

#include <string>

#include <QObject>

#include "engine/engine.h"

class QAbstractButton;
class QMenu;
class QAction;
class QTreeView;
class QWidget;
class TEntryModel;

class TUndoController : public QObject {
    Q_OBJECT
public:
    // Adds the context menu to `list`, Ctrl+Z to `window` and a tip to `applyButton`, and offers
    // unfinished batches once `window` has first been painted.
    TUndoController(QWidget* window, QTreeView* list, TEntryModel* entries,
                    QAbstractButton* applyButton, engine::TFormatSettings formatSettings);

    // $XDG_STATE_HOME/zelvora when that is absolute, else the system's journal folder
    // (~/.local/state/zelvora, %LOCALAPPDATA%\Zelvora), as bytes.
    static std::string JournalFolder();
    // What a batch of the window runs with: journaled in JournalFolder().
    static engine::TBatchControl BatchControl();

    // While the window lists or renames, undo waits: it would change the rows being worked on.
    void setAvailable(bool available) { m_available = available; }
    // The settings a folder listed again after an undo is shown in.
    void setFormatSettings(engine::TFormatSettings settings) {
        m_formatSettings = std::move(settings);
    }

signals:
    // An undo has ended; `outcome` says how («撤销改名：改回 12 个»).
    void undone(const QString& outcome);

public slots:
    // Takes back the newest batch not undone yet; nothing when there is none.
    void undoLast();
    // Asks, for each journal the program left open, whether to undo it or keep it.
    void offerRecovery();

private:
    void showMenu(const QPoint& position);
    void undo(const std::string& journalName);
    void showUndone(const engine::TUndoResult& result);

    QWidget* m_window;
    QTreeView* m_list;
    TEntryModel* m_entries;
    engine::TFormatSettings m_formatSettings;
    QMenu* m_menu;
    QAction* m_undoAction;
    bool m_available = true;
};
