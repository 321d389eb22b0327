#include "ui/window/undo_controller.h"

#include <utility>

#include <QAbstractButton>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTreeView>

#include "ui/common/error_display.h"
#include "ui/window/batch_outcome.h"
#include "ui/window/batch_runner.h"
#include "ui/window/entry_model.h"
#include "ui/window/first_paint.h"

namespace {

constexpr int ListedFailures = 10;

QString Shown(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The folder as the user names it: without the separator the engine ends it in, but a root.
QString FolderShown(const engine::TJournalSummary& journal) {
    QString folder = Shown(journal.Folder);
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')) &&
           !folder.endsWith(QStringLiteral(":\\")))
        folder.chop(1);
    return folder;
}

QString RecoveryQuestion(const engine::TJournalSummary& journal, std::size_t renamed) {
    if (journal.Kind == engine::TJournalKind::Undo)
        return QStringLiteral(
                   "Zelvora 上次撤销改名时中途停止了。\n文件夹“%1”中还有 %2 个条目没有改回。\n\n"
                   "完成撤销：把它们改回原来的名称。\n保留：保留现在的名称。")
            .arg(FolderShown(journal), GroupedCount(renamed));
    return QStringLiteral("Zelvora 上次改名时中途停止了。\n文件夹“%1”中已有 %2 个条目改了名。\n\n"
                          "撤销：把它们改回原来的名称。\n保留：保留现在的名称。")
        .arg(FolderShown(journal), GroupedCount(renamed));
}

// The failures no row of the list can show, one line each.
QString FailureList(const std::vector<engine::TUndoRow>& failures) {
    QString text = QStringLiteral("有 %1 个条目没能改回原来的名称：").arg(failures.size());
    for (std::size_t i = 0; i < failures.size() && i < ListedFailures; ++i)
        text += QStringLiteral("\n“%1” → “%2”：%3")
                    .arg(Shown(failures[i].From), Shown(failures[i].To),
                         QString::fromStdString(engine::RenameFailureText(failures[i].Error)));
    if (failures.size() > ListedFailures) text += QStringLiteral("\n……");
    return text;
}

// True when the user chose to undo `journal`, false to keep it.
bool AskRecovery(QWidget* window, const engine::TJournalSummary& journal, std::size_t renamed) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zelvora"),
                    RecoveryQuestion(journal, renamed), QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    const bool finish = journal.Kind == engine::TJournalKind::Undo;
    QPushButton* undoButton = box.addButton(
        finish ? QStringLiteral("完成撤销") : QStringLiteral("撤销"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("保留"), QMessageBox::RejectRole);
    box.setDefaultButton(undoButton);
    box.exec();
    return box.clickedButton() == undoButton;
}

} // namespace

TUndoController::TUndoController(QWidget* window, QTreeView* list, TEntryModel* entries,
                                 QAbstractButton* applyButton,
                                 engine::TFormatSettings formatSettings)
    : QObject(window), m_window(window), m_list(list), m_entries(entries),
      m_formatSettings(std::move(formatSettings)), m_menu(new QMenu(list)),
      m_runner(new TBatchRunner(this)) {
    m_runner->setObjectName(QStringLiteral("UndoRunner"));
    connect(m_runner, &TBatchRunner::progressed, this, &TUndoController::progressed);
    connect(m_runner, &TBatchRunner::finished, this,
            [this](std::size_t, const QString& error) { undoFinished(error); });
    m_menu->setObjectName(QStringLiteral("ListView1Menu"));
    m_undoAction = m_menu->addAction(QStringLiteral("撤销改名\tCtrl+Z"));
    m_undoAction->setObjectName(QStringLiteral("UndoRenameAction"));
    connect(m_undoAction, &QAction::triggered, this, &TUndoController::undoLast);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &TUndoController::showMenu);
    // The edits keep Ctrl+Z for their own typing: a line edit claims the key before the window.
    auto* shortcut = new QShortcut(QKeySequence::Undo, window);
    connect(shortcut, &QShortcut::activated, this, &TUndoController::undoLast);
    applyButton->setToolTip(QStringLiteral("给列出的每个条目改名；按 Ctrl+Z 可以撤销"));
    // Reading the journals can wait until the window stands: the question comes over it.
    AfterFirstPaint(window, [this] { offerRecovery(); });
}

// The undo's thread writes into m_result and m_relisted: it stops before they go.
TUndoController::~TUndoController() {
    delete m_runner;
}

void TUndoController::setAvailable(bool available) {
    m_available = available;
    // Asked from the event loop: the caller may be in the middle of its own work.
    if (available && !m_recovery.empty())
        QMetaObject::invokeMethod(this, &TUndoController::askNextRecovery, Qt::QueuedConnection);
}

bool TUndoController::isUndoing() const {
    return m_runner->isRunning();
}

engine::TBatchControl TUndoController::BatchControl() {
    engine::TBatchControl control;
    control.JournalFolder = engine::DefaultJournalFolder();
    return control;
}

void TUndoController::showMenu(const QPoint& position) {
    const auto journals = engine::ReadJournals(engine::DefaultJournalFolder());
    const engine::TUndoStep next = engine::NextUndo(journals);
    m_undoAction->setEnabled(m_available && (next.Batch || next.InTheWay));
    m_menu->popup(m_list->viewport()->mapToGlobal(position));
}

void TUndoController::undoLast() {
    if (!m_available || isUndoing()) return;
    Guarded([this] {
        const auto journals = engine::ReadJournals(engine::DefaultJournalFolder());
        const engine::TUndoStep next = engine::NextUndo(journals);
        // A newer batch still at work in another window is not ours to take back, and an older
        // one waits for it; one cut short is offered as at the start.
        if (next.InTheWay && next.InTheWay->Running) {
            emit undone(QStringLiteral("另一个窗口正在改名，等它结束后才能撤销。"));
        } else if (next.InTheWay) {
            m_recovery.push_back(*next.InTheWay);
            askNextRecovery();
        } else if (next.Batch) {
            undo(*next.Batch);
        }
    });
}

// The folder listed is read again on the undo's thread too, so a large folder costs the
// window's thread only the hand-over of its rows.
void TUndoController::undo(const engine::TJournalSummary& journal) {
    m_result.reset();
    m_relisted.reset();
    const bool listed = journal.Folder == m_entries->listing().CurrentFolder;
    m_runner->run([this, journalFolder = engine::DefaultJournalFolder(), name = journal.Name,
                   relist = listed ? journal.Folder : std::string(),
                   settings = m_formatSettings](const engine::TBatchControl& control) {
        m_result = engine::UndoBatch(journalFolder, name, control);
        if (relist.empty()) return;
        engine::TFolderListing listing;
        engine::ListFolder(listing, relist, settings);
        m_relisted = std::move(listing);
    });
    emit started(journal.Folder);
}

void TUndoController::cancel() {
    m_runner->cancel();
}

void TUndoController::stopAndWait() {
    m_recovery.clear();
    m_runner->stopAndWait();
}

void TUndoController::undoFinished(const QString& error) {
    engine::TFolderListing replaced;
    if (m_relisted && !m_relisted->CurrentFolder.empty())
        replaced = m_entries->setListingInChunks(std::move(*m_relisted));
    m_relisted.reset();
    emit finished();
    if (m_result) showUndone(*m_result);
    if (!error.isEmpty()) ShowError(error);
    // The rows of a large folder take a frame's time to free: another thread frees them.
    m_freeing = std::jthread(
        [replaced = std::move(replaced), result = std::exchange(m_result, std::nullopt)] {});
    askNextRecovery();
}

void TUndoController::showUndone(const engine::TUndoResult& result) {
    const std::vector<engine::TUndoRow> unmarked = m_entries->markFailedUndo(result);
    emit undone(UndoOutcomeText(result));
    if (!unmarked.empty()) ShowError(FailureList(unmarked));
}

void TUndoController::offerRecovery() {
    for (const engine::TJournalSummary& journal :
         engine::ReadJournals(engine::DefaultJournalFolder()))
        if (!journal.Closed && !journal.Running) m_recovery.push_back(journal);
    askNextRecovery();
}

// Newest first; one question at a time, the next once the undo chosen has ended and the window
// is idle again (a folder selected meanwhile has been listed).
void TUndoController::askNextRecovery() {
    if (m_asking) return; // called again from the question's own event loop
    while (!m_recovery.empty() && m_available && !isUndoing()) {
        const engine::TJournalSummary journal = std::move(m_recovery.back());
        m_recovery.pop_back();
        const QScopedValueRollback asking(m_asking, true);
        Guarded([&] {
            const std::string folder = engine::DefaultJournalFolder();
            if (AskRecovery(m_window, journal, engine::CountRenamedRows(folder, journal.Name)))
                undo(journal);
            else
                engine::KeepJournal(folder, journal.Name);
        });
    }
}
