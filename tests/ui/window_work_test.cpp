// Long work through the real window on real folders of 20,000 entries: the window keeps
// answering while a batch runs, Esc stops it with the disk matching every row, the status bar
// then tells how it ended, the tree holds the batch's folder meanwhile, and a folder selected
// while another is still being listed is the one shown. What the tree's menu then offers is
// tree_context_menu_test_linux's.
#include <map>

#include <QAccessible>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>

#include "tests/ui/row_gate.h"
#include "tests/ui/window_fixture.h"
#include "ui/window/batch_runner.h"
#include "ui/window/batch_status.h"
#include "ui/window/folder_lister.h"

namespace {

// Large enough that a batch takes many turns of the loop. Wine's file calls are slower than
// Linux's by far, so its test run asks for fewer (ZELVORA_LARGE_FOLDER_ENTRIES).
const int LargeFolderEntries = [] {
    const int asked = qEnvironmentVariableIntValue("ZELVORA_LARGE_FOLDER_ENTRIES");
    return asked > 0 ? asked : 20000;
}();

// A folder whose batch a row gate holds in its middle: small, so its time does not grow with
// the machine's load.
constexpr int HeldFolderEntries = 200;

// Counts the turns of the event loop: a 1 ms timer only fires when the loop runs.
class TLoopProbe : public QObject {
public:
    TLoopProbe() {
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] { ++turns; });
        m_timer.start();
    }
    int turns = 0;

private:
    QTimer m_timer;
};

} // namespace

class TWindowWorkTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        recordErrors();
        m_namespace.emplace();
    }

    void cleanup() { closeWindow(); }

    // The batch is held at a row in its middle: whatever the machine's speed, the window then has
    // to turn its loop and show the rows done so far.
    void theLoopTurnsAndNamesFillInWhileABatchRuns() {
        constexpr int Entries = HeldFolderEntries;
        makeFolder(QStringLiteral("some"), Entries);
        startWindow();
        selectNode(QStringLiteral("some"));
        QCOMPARE(model().rowCount(), Entries);
        TRowGate gate(batchRunner(), Entries / 2);
        TLoopProbe probe;
        apply();
        QVERIFY(m_window->isRenaming());
        QTRY_VERIFY(gate.reached());
        QCOMPARE(heldFolder(), TTempNamespace::listed(m_namespace->desk("some")));
        const int turnsAtTheRow = probe.turns;
        const auto newName = [this](int row) {
            return model().index(row, TEntryModel::NewNameColumn).data().toString();
        };
        QTRY_VERIFY(probe.turns > turnsAtTheRow + 1 && !newName(0).isEmpty());
        QVERIFY(newName(Entries - 1).isEmpty());
        QVERIFY(m_window->isRenaming());
        gate.release();
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isRenaming(), LongWork);
        QVERIFY(heldFolder().empty());
        QCOMPARE(newName(Entries - 1), QString::fromStdString(model().rows().back().NewName));
        QCOMPARE(QDir(m_namespace->desk("some")).entryList(QDir::Files).size(), Entries);
        QVERIFY(QFile::exists(m_namespace->desk("some/A-0001 照片 0.jpg")));
        QVERIFY(m_errors.isEmpty());
    }

    // Stopped at its middle with one row failed before: the disk matches every row, and the status
    // bar tells the counts until the next edit.
    void escapeStopsTheBatchAndTheDiskMatchesTheRows() {
        makeFolder(QStringLiteral("big"), HeldFolderEntries);
        startWindow();
        clashAtRow(QStringLiteral("big"), 3);
        selectNode(QStringLiteral("big"));
        const TRowGate gate(batchRunner(), HeldFolderEntries / 2);
        apply();
        QTRY_VERIFY(gate.reached());
        QTRY_VERIFY(!model().index(2, TEntryModel::NewNameColumn).data().toString().isEmpty());
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!m_window->isRenaming());

        const QDir folder(m_namespace->desk("big"));
        std::map<engine::TRenameStatus, int> rows;
        for (int row = 0; row < model().rowCount(); ++row) {
            const engine::TFolderEntry& entry = model().rows()[static_cast<std::size_t>(row)];
            const QString oldName = QString::fromStdString(entry.OldName);
            const QString shown = model().index(row, TEntryModel::NewNameColumn).data().toString();
            ++rows[entry.Status];
            QCOMPARE(folder.exists(oldName), entry.Status != engine::TRenameStatus::Renamed);
            QCOMPARE(shown.isEmpty(), entry.Status == engine::TRenameStatus::NotRun);
            if (!shown.isEmpty()) QVERIFY(folder.exists(shown));
        }
        const int done = HeldFolderEntries / 2;
        QCOMPARE(rows, (std::map<engine::TRenameStatus, int>{
                           {engine::TRenameStatus::Renamed, done - 1},
                           {engine::TRenameStatus::Failed, 1},
                           {engine::TRenameStatus::NotRun, HeldFolderEntries + 1 - done}}));
        QCOMPARE(folder.entryList(QDir::Files).size(), HeldFolderEntries + 1);
        QCOMPARE(statusText(),
                 QStringLiteral("已改名 99 个，失败 1 个，未处理 101 个（已取消）— Ctrl+Z 撤销"));
        QCOMPARE(statusBarName(), statusText()); // what a screen reader reads

        QTest::keyClicks(child<QLineEdit>("Edit4"), QStringLiteral("x"));
        QVERIFY(child<QLabel>("StatusPanel")->isVisible());
        QCOMPARE(statusText(), QString());
        QCOMPARE(statusBarName(), QStringLiteral("Zelvora — 批量改名，一次完成"));
    }

    void aFolderSelectedDuringAListingIsTheOneShown() {
        makeFolder(QStringLiteral("big"), LargeFolderEntries);
        makeFolder(QStringLiteral("small"), 3);
        startWindow();
        auto* lister = m_window->findChild<TFolderLister*>();
        clickNode(QStringLiteral("big"));
        QVERIFY(m_window->isBusy());
        QVERIFY(!child<QWidget>("RzBitBtn1")->isEnabled());
        QTRY_COMPARE(lister->readsBegun(), 1);
        // On a fast disk the big folder's first chunk may already be in: only what comes after
        // the second selection counts.
        QSignalSpy chunks(m_window->entries(), &QAbstractItemModel::rowsInserted);
        selectNode(QStringLiteral("small"));
        // The big folder's listing ends after the small one's: it must not replace it.
        QTRY_VERIFY_WITH_TIMEOUT(!lister->isReading(), LongWork);
        QCoreApplication::processEvents(); // deliver what the last listing posted
        const std::string small = TTempNamespace::listed(m_namespace->desk("small"));
        QCOMPARE(m_window->CurrentFolder(), small);
        QCOMPARE(model().rowCount(), 3);
        QVERIFY(child<QWidget>("RzBitBtn1")->isEnabled());
        QCOMPARE(chunks.count(), 0);

        // Listed alone, the big folder comes in chunks, and apply waits for the last one.
        selectNode(QStringLiteral("big"));
        QCOMPARE(model().rowCount(), LargeFolderEntries);
        QVERIFY(chunks.count() > 0);
        QVERIFY(m_errors.isEmpty());
    }

    void theStatusBarShowsProgressOnlyForALongRun() {
        startWindow();
        auto* credit = child<QLabel>("StatusPanel");
        auto* text = child<QLabel>("BatchProgressText");
        auto* bar = child<QProgressBar>("BatchProgressBar");
        auto* status = m_window->findChild<TBatchStatus*>();
        status->start(100000);
        status->progress(12345, 100000);
        QVERIFY(credit->isVisible() && !bar->isVisible()); // a short run shows nothing
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(!credit->isVisible());
        QCOMPARE(text->text(), QStringLiteral("正在改名 12,345 / 100,000 — Esc 取消"));
        QCOMPARE(bar->value() * 1.0 / bar->maximum(), 0.123);
        status->finish();
        QVERIFY(credit->isVisible() && !bar->isVisible() && !text->isVisible());

        status->start(0, TBatchStatus::TWork::Undo); // its row count comes with its first row
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(text->text(), QStringLiteral("正在撤销 — Esc 取消"));
        status->progress(1234, 3000);
        QCOMPARE(text->text(), QStringLiteral("正在撤销 1,234 / 3,000 — Esc 取消"));
        QCOMPARE(bar->value() * 1.0 / bar->maximum(), 0.411);
        status->finish();
    }

    void aBatchWithAFailureShowsTheFailedRow() {
        makeFolder(QStringLiteral("photos"), 300);
        startWindow();
        clashAtRow(QStringLiteral("photos"), 250);
        selectNode(QStringLiteral("photos"));
        auto* list = child<QTreeView>("ListView1");
        const QModelIndex failed = model().index(249, TEntryModel::NewNameColumn);
        QVERIFY(!list->viewport()->rect().intersects(list->visualRect(failed)));
        apply();
        QTRY_VERIFY(!m_window->isBusy());
        QCOMPARE(statusText(), QStringLiteral("已改名 300 个，失败 1 个 — Ctrl+Z 撤销"));
        QCOMPARE(model().rows()[249].Status, engine::TRenameStatus::Failed);
        QVERIFY(list->viewport()->rect().contains(list->visualRect(failed)));
        // Marked with its reason, in red and with a sign; a row done has none of them.
        QCOMPARE(failed.data().toString(), QStringLiteral("照片-0250 照片 249.jpg"));
        QCOMPARE(failed.data(Qt::ToolTipRole).toString(), QStringLiteral("目标已存在"));
        QCOMPARE(failed.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!failed.data(Qt::DecorationRole).value<QIcon>().isNull());
        const QModelIndex done = model().index(248, TEntryModel::NewNameColumn);
        QVERIFY(!done.data(Qt::ToolTipRole).isValid() && !done.data(Qt::ForegroundRole).isValid());
        QVERIFY(done.data(Qt::DecorationRole).isNull());
    }

private:
    void makeFolder(const QString& relative, int entries) {
        const QString folder = m_namespace->desk(relative);
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < entries; ++i) {
            QFile file(folder + QStringLiteral("/照片 %1.jpg").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    // Esc reaches the window's shortcut only in the active window.
    void startWindow() {
        QVERIFY(openWindow());
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    // Leads every new name with "照片-": the entry made here sorts after the folder's "照片 N.jpg"
    // and takes the name that the row numbered `row` (its "照片 {row - 1}.jpg") would get.
    void clashAtRow(const QString& folder, int row) {
        QFile clash(
            m_namespace->desk(folder) +
            QStringLiteral("/照片-%1 照片 %2.jpg").arg(row, 4, 10, QLatin1Char('0')).arg(row - 1));
        QVERIFY(clash.open(QIODevice::WriteOnly));
        child<QLineEdit>("Edit3")->setText(QStringLiteral("照片-"));
    }
    void apply() { QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton); }

    QString statusBarName() const {
        QObject* bar = child<QWidget>("StatusBar1");
        return QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name);
    }
    const std::string& heldFolder() const {
        return child<TShellTreeView>("ShellTreeView1")->heldFolder();
    }
    const TEntryModel& model() const { return *m_window->entries(); }
    TBatchRunner* batchRunner() const { return child<TBatchRunner>("BatchRunner"); }
};

QTEST_MAIN(TWindowWorkTest)

#include "window_work_test.moc"
