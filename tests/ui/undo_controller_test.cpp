// Undo through the real window: Ctrl+Z, the file list's context menu and the recovery question
// at start-up, on real temporary folders; the temporary namespace gives a fresh state folder.
// An undo runs on a worker: a row gate holds it where a test wants to look.
#include <atomic>
#include <thread>

#include <QContextMenuEvent>
#include <QMenu>
#include <QProgressBar>
#include <QtTest>

#include "engine/engine.h"
#include "tests/ui/row_gate.h"
#include "tests/ui/undo_answers.h"
#include "tests/ui/window_fixture.h"
#include "ui/window/batch_runner.h"
#include "ui/window/folder_lister.h"
#include "ui/window/undo_controller.h"

class TUndoControllerTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        recordErrors();
        m_namespace.emplace();
        makeFiles(work(), {"b.txt", "a.txt", "c.txt"});
    }

    void cleanup() { closeWindow(); }

    void ctrlZRestoresTheNamesOnDiskAndInTheList() {
        startWindow();
        selectWork();
        pressApply();
        QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
        QCOMPARE(statusText(), QStringLiteral("已改名 3 个 — Ctrl+Z 撤销"));
        QVERIFY(child<QWidget>("RzBitBtn1")->toolTip().contains(QStringLiteral("Ctrl+Z")));
        pressApply(); // without a new listing every row fails: that batch is no undo step
        QCOMPARE(statusText(), QStringLiteral("失败 3 个"));
        auto* list = child<QTreeView>("ListView1");
        list->setFocus();
        undoByKey();
        QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 3 个"));
        QCOMPARE(listModel()->rowCount(), 3);
        QCOMPARE(listModel()->index(0, TEntryModel::OldNameColumn).data().toString(), "a.txt");
        QCOMPARE(listModel()->index(0, TEntryModel::NewNameColumn).data().toString(), QString());
        QFile first(work() + "/a.txt");
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), QByteArray("a.txt"));
        undoByKey(); // nothing left to undo
        QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QVERIFY(m_errors.isEmpty());
    }

    void theListsMenuOffersUndoOnlyWhenThereIsSomething() {
        startWindow();
        selectWork();
        auto* list = child<QTreeView>("ListView1");
        auto* menu = list->findChild<QMenu*>(QStringLiteral("ListView1Menu"));
        QVERIFY(menu);
        const auto openMenu = [list] {
            const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &event);
        };
        openMenu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 1);
        QAction* undo = menu->actions().first();
        QCOMPARE(undo->text(), QStringLiteral("撤销改名\tCtrl+Z"));
        QVERIFY(!undo->isEnabled());
        menu->hide();

        pressApply();
        openMenu();
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(undo->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(undo).center());
        QTRY_COMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(listModel()->index(1, 0).data().toString(), QStringLiteral("b.txt"));
        QVERIFY(m_errors.isEmpty());
    }

    void aRowThatCanNotGoBackIsMarkedWithItsReason() {
        startWindow();
        selectWork();
        pressApply();
        makeFiles(work(), {"b.txt"}); // b.txt's old name is taken meanwhile
        undoByKey();
        QCOMPARE(namesOnDisk(), (QStringList{"A-0002 b.txt", "a.txt", "b.txt", "c.txt"}));
        QCOMPARE(listModel()->index(0, 0).data().toString(), QStringLiteral("A-0002 b.txt"));
        const QModelIndex failed = listModel()->index(0, TEntryModel::NewNameColumn);
        QCOMPARE(failed.data().toString(), QStringLiteral("b.txt"));
        QCOMPARE(failed.data(Qt::ToolTipRole).toString(), QStringLiteral("目标已存在"));
        QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 2 个，失败 1 个"));
        QVERIFY(m_errors.isEmpty());
    }

    void aReplacedFolderStopsTheBatchWithAMessage() {
        startWindow();
        selectWork();
        QVERIFY(QDir().rename(work(), m_namespace->desk(QStringLiteral("moved"))));
        makeFiles(work(), {"a.txt"}); // an impostor
        pressApply();
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains(QStringLiteral("已不是列出的那个文件夹")));
        QCOMPARE(namesOnDisk(), QStringList{"a.txt"});
        QCOMPARE(QDir(m_namespace->desk(QStringLiteral("moved"))).entryList(QDir::Files),
                 (QStringList{"a.txt", "b.txt", "c.txt"}));
    }

    void anUnfinishedBatchKeptIsNotOfferedAgain() {
        leaveUnfinishedBatch(work());
        TUndoAnswers answers(m_window, QStringLiteral("保留"));
        startWindow();
        QTRY_COMPARE(answers.questions.size(), 1);
        delete m_window;
        startWindow();
        QTRY_VERIFY(m_window->isVisible());
        QCOMPARE(answers.questions.size(), 1);
        QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
        // Kept, the batch is still the one Ctrl+Z takes back.
        undoByKey();
        QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    }

    // Held at one row until Esc, the undo is seen running whatever the machine's speed.
    void aLongUndoRunsAsABatchAndEscapeLeavesTheRestUndoable() {
        constexpr int Entries = 10000;
        for (int i = 3; i < Entries; ++i) { // after a.txt, b.txt and c.txt
            QFile file(work() + QStringLiteral("/照片 %1.jpg").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto stillRenamed = [this] {
            return QDir(work()).entryList({QStringLiteral("A-*")}, QDir::Files).size();
        };
        startWindow();
        selectWork();
        pressApply();
        TRowGate gate(child<TBatchRunner>("UndoRunner"), 1000);
        auto* list = child<QTreeView>("ListView1");
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(m_window->isRenaming());
        // Only a turning event loop shows the progress while the undo waits at its row.
        QTRY_COMPARE_WITH_TIMEOUT(statusText(),
                                  QStringLiteral("正在撤销 1,000 / 10,000 — Esc 取消"), LongWork);
        const auto* bar = child<QProgressBar>("BatchProgressBar");
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value() * 1.0 / bar->maximum(), 0.1);
        QVERIFY(!child<QWidget>("RzBitBtn1")->isEnabled());
        auto* tree = child<TShellTreeView>("ShellTreeView1");
        QCOMPARE(tree->heldFolder(), TTempNamespace::listed(work()));
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier); // refused: one undo at a time
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), LongWork);
        QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 1,000 个"));
        QCOMPARE(stillRenamed(), Entries - 1000); // newest first: 照片 9000.jpg on went back
        QCOMPARE(listModel()->index(Entries - 1, 0).data().toString(),
                 QStringLiteral("照片 9999.jpg"));
        QVERIFY(tree->heldFolder().empty());

        gate.release();
        undoByKey();
        QCOMPARE(stillRenamed(), 0);
        QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 9,000 个"));
        QVERIFY(m_errors.isEmpty());
    }

    void unfinishedBatchesAreAskedOnceShownEachUndoneBeforeTheNext() {
        makeFiles(other(), {"x.txt", "y.txt"});
        leaveUnfinishedBatch(work());
        leaveUnfinishedBatch(other()); // the newer: asked first
        TUndoAnswers answers(m_window);
        m_window = new TFrmMain;
        TRowGate gate(child<TBatchRunner>("UndoRunner"), 1);
        m_window->show();

        QTRY_VERIFY(gate.reached());
        QVERIFY(m_window->isRenaming());
        QTRY_COMPARE(statusText(), QStringLiteral("正在撤销 1 / 2 — Esc 取消"));
        QCOMPARE(answers.questions.size(), 1); // the next question waits for this undo
        QVERIFY(answers.questions[0].contains(QString::fromUtf8(TTempNamespace::bytes(other()))));
        auto* tree = child<TShellTreeView>("ShellTreeView1");
        tree->setCurrentItem(tree->findItems(QStringLiteral("work"), Qt::MatchRecursive).first());
        QVERIFY(!m_window->findChild<TFolderLister*>()->isListing()); // listed after the undo

        gate.release();
        QTRY_COMPARE(answers.questions.size(), 2);
        QVERIFY(answers.questions[1].contains(QString::fromUtf8(TTempNamespace::bytes(work()))));
        QVERIFY(answers.questions[1].contains(QStringLiteral("已有 3 个条目改了名")));
        QCOMPARE(answers.caption, QStringLiteral("Zelvora"));
        answers.buttons.sort();
        QCOMPARE(answers.buttons, (QStringList{"保留", "撤销"}));
        QCOMPARE(answers.defaultButton, QStringLiteral("撤销"));
        QTRY_VERIFY(!m_window->isBusy());
        QCOMPARE(namesOnDisk(other()), (QStringList{"x.txt", "y.txt"}));
        QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 3 个"));
        QCOMPARE(m_window->CurrentFolder(),
                 TTempNamespace::listed(work())); // listed before its undo
        QCOMPARE(listModel()->index(0, 0).data().toString(), QStringLiteral("a.txt"));
        QCOMPARE(answers.untimely, 0);
        QVERIFY(m_errors.isEmpty());
    }

    void closingTheWindowStopsAnUndoBetweenRows() {
        startWindow();
        selectWork();
        pressApply();
        TRowGate gate(child<TBatchRunner>("UndoRunner"), 1);
        QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(gate.reached());
        m_window->close(); // returns once the undo has stopped
        QVERIFY(!m_window->isRenaming());
        // Newest first: c.txt went back before the stop.
        QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "c.txt"}));
        QVERIFY(m_errors.isEmpty());
    }

    void ctrlZLeavesABatchOfAnotherWindowRunning() {
        startWindow();
        selectWork();
        pressApply();
        makeFiles(other(), {"x.txt"});
        std::atomic<bool> reached = false, release = false;
        std::thread otherWindow([&] {
            engine::TFolderListing listing;
            engine::ListFolder(listing, TTempNamespace::bytes(other()), engine::TFormatSettings{});
            engine::TBatchControl control = TUndoController::BatchControl();
            control.Progress = [&](std::size_t, std::size_t) {
                reached = true;
                while (!release)
                    std::this_thread::yield();
            };
            engine::ApplyRenames(listing, {}, control);
        });
        QTRY_VERIFY(reached);
        undoByKey();
        QCOMPARE(statusText(), QStringLiteral("另一个窗口正在改名，等它结束后才能撤销。"));
        QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
        QCOMPARE(namesOnDisk(other()), QStringList{"A-0001 x.txt"});
        release = true;
        otherWindow.join();
    }

private:
    void startWindow() { QVERIFY(openWindow()); }
    void selectWork() { selectNode(QStringLiteral("work")); }

    // A batch of `folder` journaled and then cut before its end record, as a crash leaves it.
    void leaveUnfinishedBatch(const QString& folder) {
        engine::TFolderListing listing;
        engine::ListFolder(listing, TTempNamespace::bytes(folder), engine::TFormatSettings{});
        engine::ApplyRenames(listing, {}, TUndoController::BatchControl());
        const QDir journals(QFile::decodeName(engine::DefaultJournalFolder().c_str()));
        const QStringList names = // sorted by age
            journals.entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        QFile file(journals.filePath(names.last()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray bytes = file.readAll();
        QVERIFY(file.resize(bytes.lastIndexOf('\0')));
    }
    QStringList namesOnDisk(const QString& folder = {}) const {
        return TWindowFixture::namesOnDisk(folder.isEmpty() ? work() : folder);
    }
    QString work() const { return m_namespace->desk(QStringLiteral("work")); }
    QString other() const { return m_namespace->desk(QStringLiteral("other")); }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    TUndoControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "undo_controller_test.moc"
