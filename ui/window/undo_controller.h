#pragma once
// Taking batches back: Ctrl+Z and the file list's context menu undo the newest batch not undone
// yet, and at start-up a batch the program left unfinished is offered for undo. Batches are
// journaled under $XDG_STATE_HOME/zelvora, so this works across restarts and crashes. An undo
// runs on a worker thread, as a batch does, and a stop lands between two rows: the rows not
// reached stay renamed and can be taken back later.

#include <cstddef>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QObject>

#include "engine/engine.h"

class QAbstractButton;
class QMenu;
class QAction;
class QTreeView;
class QWidget;
class TBatchRunner;
class TEntryModel;

class TUndoController : public QObject {
    Q_OBJECT
public:
    // Adds the context menu to `list`, Ctrl+Z to `window` and a tip to `applyButton`, and offers
    // unfinished batches once `window` has first been painted.
    TUndoController(QWidget* window, QTreeView* list, TEntryModel* entries,
                    QAbstractButton* applyButton, engine::TFormatSettings formatSettings);
    // Stops a running undo between two rows and waits for it.
    ~TUndoController() override;

    // What a batch of the window runs with: journaled in engine::DefaultJournalFolder().
    static engine::TBatchControl BatchControl();

    // While the window lists or renames, undo waits: it would change the rows being worked on.
    // So does a recovery question, which comes once the window is available again.
    void setAvailable(bool available);
    bool isUndoing() const;
    // The settings a folder listed again after an undo is shown in.
    void setFormatSettings(engine::TFormatSettings settings) {
        m_formatSettings = std::move(settings);
    }

signals:
    // An undo of the batch that renamed in `folder` (raw bytes, ending in a separator) began.
    void started(const std::string& folder);
    void progressed(std::size_t done, std::size_t total);
    // The undo is over, with or without an outcome; undone() follows when it has one.
    void finished();
    // An undo has ended, or could not begin; `outcome` says how («撤销改名：改回 12 个»).
    void undone(const QString& outcome);

public slots:
    // Takes back the newest batch that renamed something and is not undone yet; nothing when
    // there is none, or when the newest batch still runs in another window.
    void undoLast();
    // Asks, for each journal the program left open, newest first, whether to undo it or keep
    // it; an undo chosen ends before the next question.
    void offerRecovery();
    // Asks the running undo to stop before its next row; finished() follows.
    void cancel();
    // Stops the undo and waits for it, and asks no more recovery questions.
    void stopAndWait();

private:
    void showMenu(const QPoint& position);
    void undo(const engine::TJournalSummary& journal);
    void undoFinished(const QString& error);
    void showUndone(const engine::TUndoResult& result);
    void askNextRecovery();

    QWidget* m_window;
    QTreeView* m_list;
    TEntryModel* m_entries;
    engine::TFormatSettings m_formatSettings;
    QMenu* m_menu;
    QAction* m_undoAction;
    bool m_available = true;
    bool m_asking = false; // a recovery question is open
    TBatchRunner* m_runner;
    // Written by the undo's thread, read once it has finished.
    std::optional<engine::TUndoResult> m_result;
    std::optional<engine::TFolderListing> m_relisted; // the listed folder, read after the undo
    std::vector<engine::TJournalSummary> m_recovery;  // open journals not asked about yet
    std::jthread m_freeing; // frees the rows of an undo and of the listing it replaced
};
