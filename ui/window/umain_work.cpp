// The window's long work: listings, batches and undos run on worker threads while the window
// keeps answering; what may change during them is switched off until they end.
#include "ui/window/Umain.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QGroupBox>
#include <QShortcut>
#include <QTreeView>

#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/rz_bit_btn.h"
#include "ui/window/batch_outcome.h"
#include "ui/window/batch_runner.h"
#include "ui/window/batch_status.h"
#include "ui/window/entry_model.h"
#include "ui/window/folder_lister.h"
#include "ui/window/undo_controller.h"

// The batch writes into the list's rows: it stops before the rows go.
TFrmMain::~TFrmMain() {
    delete m_runner;
}

void TFrmMain::createWorkers() {
    m_lister = new TFolderLister(
        [this](engine::TFolderListing&& listing) {
            m_entries->setListingInChunks(std::move(listing));
            updateBusy();
        },
        this);
    connect(m_entries, &TEntryModel::revealed, this, &TFrmMain::updateBusy);
    m_runner = new TBatchRunner(this);
    m_runner->setObjectName(QStringLiteral("BatchRunner"));
    connect(m_runner, &TBatchRunner::progressed, this, [this](std::size_t done, std::size_t total) {
        m_entries->settleRows(done);
        m_batchStatus->progress(done, total);
    });
    connect(m_runner, &TBatchRunner::finished, this,
            [this](std::size_t, const QString& error) { batchFinished(error); });
    m_cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelShortcut->setEnabled(false);
    connect(m_cancelShortcut, &QShortcut::activated, m_runner, &TBatchRunner::cancel);
}

// An undo holds the window as a batch does: the same progress, the same held folder.
void TFrmMain::createUndo() {
    m_undo = new TUndoController(this, ListView1, m_entries, RzBitBtn1, m_formatSettings);
    connect(m_undo, &TUndoController::started, this, [this](const std::string& folder) {
        m_batchStatus->start(0, TBatchStatus::TWork::Undo);
        ShellTreeView1->setHeldFolder(folder);
        updateBusy();
    });
    connect(m_undo, &TUndoController::progressed, m_batchStatus, &TBatchStatus::progress);
    connect(m_undo, &TUndoController::finished, this, &TFrmMain::endWork);
    connect(m_undo, &TUndoController::undone, this, &TFrmMain::showOutcome);
    connect(m_cancelShortcut, &QShortcut::activated, m_undo, &TUndoController::cancel);
}

// Start-up lists at once, before the window shows; later selections list on the worker, and a
// selection made while a batch or an undo runs is listed when it ends, so the rows stay those
// renamed.
void TFrmMain::listFolder(const std::string& path) {
    if (!isVisible()) {
        m_entries->listFolder(path, m_formatSettings);
    } else if (isRenaming()) {
        m_selectedPath = path;
        m_selectedDuringBatch = true;
    } else {
        clearOutcome();
        m_lister->list(path, m_formatSettings);
        updateBusy();
    }
}

// A folder selected while the batch ran was chosen before the outcome: it does not take it
// away, but the rows to scroll to are going.
void TFrmMain::batchFinished(const QString& error) {
    m_entries->endBatch();
    const QString outcome = BatchOutcomeText(CountOutcome(m_entries->rows()));
    const bool listAnother = endWork();
    if (!error.isEmpty()) {
        ShowError(error);
        return;
    }
    m_batchStatus->showOutcome(outcome);
    if (!listAnother) scrollToFirstFailure();
}

bool TFrmMain::endWork() {
    m_batchStatus->finish();
    ShellTreeView1->setHeldFolder({});
    updateBusy();
    const bool listAnother = std::exchange(m_selectedDuringBatch, false);
    if (listAnother) listFolder(m_selectedPath);
    return listAnother;
}

void TFrmMain::showOutcome(const QString& text) {
    m_batchStatus->showOutcome(text);
    scrollToFirstFailure();
}

void TFrmMain::clearOutcome() {
    m_batchStatus->clearOutcome();
}

void TFrmMain::scrollToFirstFailure() {
    const std::vector<engine::TFolderEntry>& rows = m_entries->rows();
    const auto failed = std::find_if(rows.begin(), rows.end(), [](const auto& row) {
        return row.Status == engine::TRenameStatus::Failed;
    });
    if (failed != rows.end())
        ListView1->scrollTo(
            m_entries->index(static_cast<int>(failed - rows.begin()), TEntryModel::NewNameColumn));
}

bool TFrmMain::isRenaming() const {
    return m_runner->isRunning() || (m_undo && m_undo->isUndoing());
}

bool TFrmMain::isBusy() const {
    return m_lister->isListing() || m_entries->revealing() || isRenaming();
}

// While a batch or an undo runs, what would change the list or the settings rests; the tree
// stays usable.
void TFrmMain::updateBusy() {
    const bool renaming = isRenaming();
    for (QWidget* control : {static_cast<QWidget*>(RadioGroup1), static_cast<QWidget*>(GroupBox1),
                             static_cast<QWidget*>(GroupBox2)})
        control->setEnabled(!renaming);
    RzBitBtn1->setEnabled(!isBusy());
    m_cancelShortcut->setEnabled(renaming);
    if (m_undo) m_undo->setAvailable(!isBusy());
    if (renaming)
        ListView1->setCursor(Qt::BusyCursor);
    else
        ListView1->unsetCursor();
    if (!isBusy()) emit workDone();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    m_runner->stopAndWait();
    m_undo->stopAndWait();
    QWidget::closeEvent(event);
}
