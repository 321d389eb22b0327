// Long work through the real window on real folders of 20,000 entries: the window keeps
// answering while a batch runs, Esc stops it with the disk matching every row, and a folder
// selected while another is still being listed is the one shown.
#include <optional>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "tests/ui/temp_namespace.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/error_display.h"
#include "ui/window/Umain.h"
#include "ui/window/batch_status.h"
#include "ui/window/entry_model.h"
#include "ui/window/folder_lister.h"

namespace {

// Large enough that a batch takes many turns of the loop. Wine's file calls are slower than
// Linux's by far, so its test run asks for fewer (ZELVORA_LARGE_FOLDER_ENTRIES).
const int LargeFolderEntries = [] {
    const int asked = qEnvironmentVariableIntValue("ZELVORA_LARGE_FOLDER_ENTRIES");
    return asked > 0 ? asked : 20000;
}();

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

class TWindowWorkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void theLoopTurnsAndNamesFillInWhileABatchRuns();
    void escapeStopsTheBatchAndTheDiskMatchesTheRows();
    void aFolderSelectedDuringAListingIsTheOneShown();
    void theStatusBarShowsProgressOnlyForALongRun();

private:
    void makeFolder(const QString& relative, int entries);
    void startWindow();
    void selectNode(const QString& label);
    const TEntryModel& model() const { return *m_window->entries(); }

    std::optional<TTempNamespace> m_namespace;
    TFrmMain* m_window = nullptr;
    QStringList m_errors;
};

void TWindowWorkTest::initTestCase() {
    SetErrorDisplay([this](const QString& message) { m_errors << message; });
}

void TWindowWorkTest::init() {
    m_errors.clear();
    m_namespace.emplace();
}

void TWindowWorkTest::cleanup() {
    delete m_window;
    m_window = nullptr;
    m_namespace.reset();
}

void TWindowWorkTest::makeFolder(const QString& relative, int entries) {
    const QString folder = m_namespace->desk(relative);
    QVERIFY(QDir().mkpath(folder));
    for (int i = 0; i < entries; ++i) {
        QFile file(folder + QStringLiteral("/照片 %1.jpg").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void TWindowWorkTest::startWindow() {
    m_window = new TFrmMain;
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TWindowWorkTest::selectNode(const QString& label) {
    auto* tree = m_window->findChild<TShellTreeView*>(QStringLiteral("ShellTreeView1"));
    const QList<QTreeWidgetItem*> found = tree->findItems(label, Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(label));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found.first()).center());
    QCOMPARE(tree->currentItem(), found.first());
}

void TWindowWorkTest::theLoopTurnsAndNamesFillInWhileABatchRuns() {
    makeFolder(QStringLiteral("big"), LargeFolderEntries);
    startWindow();
    selectNode(QStringLiteral("big"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 30000);
    QCOMPARE(model().rowCount(), LargeFolderEntries);
    TLoopProbe probe;
    int turnsWhileRenaming = 0;
    bool partlyFilled = false; // a named row before the last one was done
    QTimer watch;
    watch.setInterval(1);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (!m_window->isRenaming()) return;
        ++turnsWhileRenaming;
        const QModelIndex first = model().index(0, TEntryModel::NewNameColumn);
        const QModelIndex last = model().index(LargeFolderEntries - 1, TEntryModel::NewNameColumn);
        partlyFilled |= !first.data().toString().isEmpty() && last.data().toString().isEmpty();
    });
    watch.start();
    QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("RzBitBtn1")), Qt::LeftButton);
    QVERIFY(m_window->isRenaming());
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isRenaming(), 60000);
    QVERIFY2(turnsWhileRenaming > 1, qPrintable(QString::number(turnsWhileRenaming)));
    QVERIFY(partlyFilled);
    QCOMPARE(model().index(LargeFolderEntries - 1, 1).data().toString(),
             QString::fromStdString(model().rows().back().NewName));
    QCOMPARE(QDir(m_namespace->desk("big")).entryList(QDir::Files).size(), LargeFolderEntries);
    QVERIFY(QFile::exists(m_namespace->desk("big/A-0001 照片 0.jpg")));
    QVERIFY(m_errors.isEmpty());
}

void TWindowWorkTest::escapeStopsTheBatchAndTheDiskMatchesTheRows() {
    makeFolder(QStringLiteral("big"), LargeFolderEntries);
    startWindow();
    selectNode(QStringLiteral("big"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 30000);
    QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("RzBitBtn1")), Qt::LeftButton);
    QTRY_VERIFY(!model().index(0, TEntryModel::NewNameColumn).data().toString().isEmpty());
    QTest::keyClick(m_window, Qt::Key_Escape);
    QTRY_VERIFY(!m_window->isRenaming());

    const QDir folder(m_namespace->desk("big"));
    int renamed = 0, notRun = 0;
    for (int row = 0; row < model().rowCount(); ++row) {
        const engine::TFolderEntry& entry = model().rows()[static_cast<std::size_t>(row)];
        const QString oldName = QString::fromStdString(entry.OldName);
        const QString shown = model().index(row, TEntryModel::NewNameColumn).data().toString();
        if (entry.Status == engine::TRenameStatus::Renamed) {
            ++renamed;
            QVERIFY(!folder.exists(oldName));
            QVERIFY(folder.exists(shown));
        } else {
            QCOMPARE(entry.Status, engine::TRenameStatus::NotRun);
            ++notRun;
            QVERIFY(folder.exists(oldName));
            QVERIFY(shown.isEmpty());
        }
    }
    QVERIFY(renamed > 0);
    QVERIFY2(notRun > 0, "Esc came after the last row");
    QCOMPARE(folder.entryList(QDir::Files).size(), LargeFolderEntries);
}

void TWindowWorkTest::aFolderSelectedDuringAListingIsTheOneShown() {
    makeFolder(QStringLiteral("big"), LargeFolderEntries);
    makeFolder(QStringLiteral("small"), 3);
    startWindow();
    QSignalSpy chunks(m_window->entries(), &QAbstractItemModel::rowsInserted);
    auto* lister = m_window->findChild<TFolderLister*>();
    selectNode(QStringLiteral("big"));
    QVERIFY(m_window->isBusy());
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("RzBitBtn1"))->isEnabled());
    QTRY_COMPARE(lister->readsBegun(), 1);
    selectNode(QStringLiteral("small"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 30000);
    // The big folder's listing ends after the small one's: it must not replace it.
    QTRY_VERIFY_WITH_TIMEOUT(!lister->isReading(), 30000);
    QCoreApplication::processEvents(); // deliver what the last listing posted
    const std::string small = TTempNamespace::listed(m_namespace->desk("small"));
    QCOMPARE(m_window->CurrentFolder(), small);
    QCOMPARE(model().rowCount(), 3);
    QVERIFY(m_window->findChild<QWidget*>(QStringLiteral("RzBitBtn1"))->isEnabled());
    QCOMPARE(chunks.count(), 0);

    // Listed alone, the big folder comes in chunks, and apply waits for the last one.
    selectNode(QStringLiteral("big"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 30000);
    QCOMPARE(model().rowCount(), LargeFolderEntries);
    QVERIFY(chunks.count() > 0);
    QVERIFY(m_errors.isEmpty());
}

void TWindowWorkTest::theStatusBarShowsProgressOnlyForALongRun() {
    startWindow();
    auto* credit = m_window->findChild<QLabel*>(QStringLiteral("StatusPanel"));
    auto* text = m_window->findChild<QLabel*>(QStringLiteral("BatchProgressText"));
    auto* bar = m_window->findChild<QProgressBar*>(QStringLiteral("BatchProgressBar"));
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
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TWindowWorkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_work_test.moc"
