// Undo through the real window: Ctrl+Z, the file list's context menu and the recovery question
// at start-up, on real temporary folders; the temporary namespace gives a fresh state folder.
#include <optional>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "engine/engine.h"
#include "tests/ui/named_child.h"
#include "tests/ui/temp_namespace.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/error_display.h"
#include "ui/window/Umain.h"
#include "ui/window/entry_model.h"
#include "ui/window/undo_controller.h"

class TUndoControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ctrlZRestoresTheNamesOnDiskAndInTheList();
    void theListsMenuOffersUndoOnlyWhenThereIsSomething();
    void aRowThatCanNotGoBackIsMarkedWithItsReason();
    void theApplyButtonsTipTellsOfCtrlZ();
    void aReplacedFolderStopsTheBatchWithAMessage();
    void anUnfinishedBatchIsOfferedAtStartUpAndUndone();
    void anUnfinishedBatchKeptIsNotOfferedAgain();

private:
    void startWindow();
    void selectWork();
    void apply();
    void leaveUnfinishedBatch();
    QStringList namesOnDisk() const;
    QString statusText() const { return child<QLabel>("BatchProgressText")->text(); }
    QString work() const { return m_namespace->desk(QStringLiteral("work")); }
    QAbstractItemModel* listModel() const { return child<QTreeView>("ListView1")->model(); }
    template <typename T> T* child(const char* name) const {
        return NamedChild<T>(m_window, name);
    }

    std::optional<TTempNamespace> m_namespace;
    TFrmMain* m_window = nullptr;
    QStringList m_errors;
};

void TUndoControllerTest::init() {
    m_errors.clear();
    SetErrorDisplay([this](const QString& message) { m_errors << message; });
    m_namespace.emplace();
    QVERIFY(QDir().mkpath(work()));
    for (const char* name : {"b.txt", "a.txt", "c.txt"}) {
        QFile file(work() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
}

void TUndoControllerTest::cleanup() {
    delete m_window;
    m_window = nullptr;
    m_namespace.reset();
}

void TUndoControllerTest::startWindow() {
    m_window = new TFrmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TUndoControllerTest::selectWork() {
    auto* tree = child<TShellTreeView>("ShellTreeView1");
    const QList<QTreeWidgetItem*> found =
        tree->findItems(QStringLiteral("work"), Qt::MatchRecursive);
    QVERIFY(!found.isEmpty());
    tree->scrollToItem(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found.first()).center());
    QTRY_VERIFY(!m_window->isBusy()); // listed on a worker
    QCOMPARE(QString::fromStdString(m_window->CurrentFolder()),
             QString::fromStdString(TTempNamespace::listed(work())));
}

void TUndoControllerTest::apply() {
    QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->isBusy()); // renamed on a worker
}

QStringList TUndoControllerTest::namesOnDisk() const {
    return QDir(work()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// A batch journaled and then cut before its end record, as a crash leaves it.
void TUndoControllerTest::leaveUnfinishedBatch() {
    engine::TFolderListing listing;
    engine::ListFolder(listing, TTempNamespace::bytes(work()), engine::TFormatSettings{});
    engine::ApplyRenames(listing, {}, TUndoController::BatchControl());
    QFile file(QFile::decodeName(TUndoController::JournalFolder().c_str()) +
               QStringLiteral("/0000000001.journal"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    QVERIFY(file.resize(bytes.lastIndexOf('\0')));
}

void TUndoControllerTest::ctrlZRestoresTheNamesOnDiskAndInTheList() {
    startWindow();
    selectWork();
    apply();
    QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
    QCOMPARE(statusText(), QStringLiteral("已改名 3 个 — Ctrl+Z 撤销"));
    auto* list = child<QTreeView>("ListView1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 3 个"));
    QCOMPARE(listModel()->rowCount(), 3);
    QCOMPARE(listModel()->index(0, TEntryModel::OldNameColumn).data().toString(), "a.txt");
    QCOMPARE(listModel()->index(0, TEntryModel::NewNameColumn).data().toString(), QString());
    QFile first(work() + "/a.txt");
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("a.txt"));
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier); // nothing left to undo
    QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QVERIFY(m_errors.isEmpty());
}

void TUndoControllerTest::theListsMenuOffersUndoOnlyWhenThereIsSomething() {
    startWindow();
    selectWork();
    auto* list = child<QTreeView>("ListView1");
    auto* menu = list->findChild<QMenu*>(QStringLiteral("ListView1Menu"));
    QVERIFY(menu);
    const auto openMenu = [list] {
        const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
    };
    openMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 1);
    QAction* undo = menu->actions().first();
    QCOMPARE(undo->text(), QStringLiteral("撤销改名\tCtrl+Z"));
    QVERIFY(!undo->isEnabled());
    menu->hide();

    apply();
    openMenu();
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(undo->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(undo).center());
    QTRY_COMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(listModel()->index(1, 0).data().toString(), QStringLiteral("b.txt"));
    QVERIFY(m_errors.isEmpty());
}

void TUndoControllerTest::aRowThatCanNotGoBackIsMarkedWithItsReason() {
    startWindow();
    selectWork();
    apply();
    QFile taken(work() + "/b.txt"); // b.txt's old name is taken meanwhile
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(namesOnDisk(), (QStringList{"A-0002 b.txt", "a.txt", "b.txt", "c.txt"}));
    QCOMPARE(listModel()->index(0, 0).data().toString(), QStringLiteral("A-0002 b.txt"));
    const QModelIndex failed = listModel()->index(0, TEntryModel::NewNameColumn);
    QCOMPARE(failed.data().toString(), QStringLiteral("b.txt"));
    QCOMPARE(failed.data(Qt::ToolTipRole).toString(), QStringLiteral("目标已存在"));
    QCOMPARE(statusText(), QStringLiteral("撤销改名：改回 2 个，失败 1 个"));
    QVERIFY(m_errors.isEmpty());
}

void TUndoControllerTest::theApplyButtonsTipTellsOfCtrlZ() {
    startWindow();
    QVERIFY(child<QWidget>("RzBitBtn1")->toolTip().contains(QStringLiteral("Ctrl+Z")));
}

void TUndoControllerTest::aReplacedFolderStopsTheBatchWithAMessage() {
    startWindow();
    selectWork();
    QVERIFY(QDir().rename(work(), m_namespace->desk(QStringLiteral("moved"))));
    QVERIFY(QDir().mkpath(work()));
    QFile impostor(work() + "/a.txt");
    QVERIFY(impostor.open(QIODevice::WriteOnly));
    impostor.close();
    apply();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("已不是列出的那个文件夹")));
    QCOMPARE(namesOnDisk(), QStringList{"a.txt"});
    QCOMPARE(QDir(m_namespace->desk(QStringLiteral("moved"))).entryList(QDir::Files),
             (QStringList{"a.txt", "b.txt", "c.txt"}));
}

void TUndoControllerTest::anUnfinishedBatchIsOfferedAtStartUpAndUndone() {
    leaveUnfinishedBatch();
    QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
    QString caption, text, defaultButton;
    QStringList buttons;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        caption = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        defaultButton = box->defaultButton()->text();
        box->defaultButton()->click();
    });
    poll.start(10);
    startWindow();
    QTRY_COMPARE(caption, QStringLiteral("Zelvora"));
    QVERIFY(text.contains(QString::fromUtf8(TTempNamespace::bytes(work()))));
    QVERIFY(text.contains(QStringLiteral("已有 3 个条目改了名")));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"保留", "撤销"}));
    QCOMPARE(defaultButton, QStringLiteral("撤销"));
    QTRY_COMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QVERIFY(m_errors.isEmpty());
}

void TUndoControllerTest::anUnfinishedBatchKeptIsNotOfferedAgain() {
    leaveUnfinishedBatch();
    int boxes = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        ++boxes;
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("保留")) button->click();
    });
    poll.start(10);
    startWindow();
    QTRY_COMPARE(boxes, 1);
    delete m_window;
    startWindow();
    QTRY_VERIFY(m_window->isVisible());
    QCOMPARE(boxes, 1);
    QCOMPARE(namesOnDisk(), (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
    // Kept, the batch is still the one Ctrl+Z takes back.
    QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(namesOnDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    TUndoControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "undo_controller_test.moc"
