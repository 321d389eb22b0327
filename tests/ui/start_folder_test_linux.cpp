// Folders shown from outside the tree: named on the command line at start-up, or dropped onto
// the window from a file manager. The window runs over a temporary namespace whose home and
// desktop are temporary folders.
#include <optional>

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTreeView>
#include <QtTest>

#include "tests/ui/window_fixture.h"
#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/window/Umain.h"
#include "ui/window/command_line.h"

class TStartFolderTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aFolderUnderHomeIsSelectedThroughHome();
    void aFolderElsewhereIsSelectedThroughTheFileSystem();
    void aMissingFolderIsShownAndTheDesktopListed();
    void aHiddenFolderIsShownAndTheDesktopListed();
    void aDroppedFolderIsListed();
    void aDroppedFileListsItsFolder();
    void aDroppedWebAddressIsRefused();

private:
    void startWith(const QString& argument);
    QStringList branchOfSelection() const;
    QStringList listedNames() const;
    void drop(const QByteArray& uriList);
    static QByteArray fileUrl(const QString& path) { return QUrl::fromLocalFile(path).toEncoded(); }

    QStringList m_errors;
};

void TStartFolderTest::init() {
    m_errors.clear();
    SetErrorDisplay([this](const QString& message) { m_errors << message; });
    m_namespace.emplace();
    // The window looks for unfinished batches in the state folder at start-up: never the real
    // one, where another run's batch would stop the test with a question.
    qputenv("HOME", QFile::encodeName(m_namespace->desk("../home")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_namespace->desk("../state")));
    for (const char* folder : {"home/photos/2024", "home/.config/app", "outside/inner"})
        QVERIFY(QDir().mkpath(m_namespace->desk(QStringLiteral("../") + folder)));
    for (const char* file : {"desk/on-desk.txt", "home/photos/2024/b.jpg", "home/photos/a.jpg"}) {
        QFile made(m_namespace->desk(QStringLiteral("../") + file));
        QVERIFY(made.open(QIODevice::WriteOnly));
    }
}

void TStartFolderTest::cleanup() {
    closeWindow();
    SetErrorDisplay({});
}

// As the program starts: parse, build the window, open the start folder, show. No argument
// when `argument` is empty.
void TStartFolderTest::startWith(const QString& argument) {
    std::vector<std::string> arguments{"zelvora"};
    if (!argument.isEmpty()) arguments.push_back(TTempNamespace::bytes(argument));
    const TCommandLine line = ParseCommandLine(arguments, "/");
    QCOMPARE(line.ExitCode, std::nullopt);
    m_window = new TFrmMain;
    OpenStartFolder(*m_window, line.StartFolder);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

QStringList TStartFolderTest::branchOfSelection() const {
    QStringList labels;
    const auto* tree = m_window->findChild<TShellTreeView*>(QStringLiteral("ShellTreeView1"));
    for (const QTreeWidgetItem* node = tree->currentItem(); node; node = node->parent())
        labels.prepend(node->text(0));
    return labels;
}

QStringList TStartFolderTest::listedNames() const {
    QStringList names;
    const QAbstractItemModel* model =
        m_window->findChild<QTreeView*>(QStringLiteral("ListView1"))->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

void TStartFolderTest::aFolderUnderHomeIsSelectedThroughHome() {
    startWith(m_namespace->desk("../home/photos/2024"));
    QCOMPARE(branchOfSelection(), (QStringList{"桌面", "主文件夹", "photos", "2024"}));
    QTRY_COMPARE(listedNames(), QStringList{"b.jpg"});
    QCOMPARE(m_window->CurrentFolder(),
             TTempNamespace::bytes(QDir::cleanPath(m_namespace->desk("../home/photos/2024"))) +
                 "/");
    QVERIFY(m_errors.isEmpty());
}

void TStartFolderTest::aFolderElsewhereIsSelectedThroughTheFileSystem() {
    const QString outside = QDir::cleanPath(m_namespace->desk("../outside"));
    startWith(outside);
    QStringList expected{"桌面", "计算机", "文件系统"};
    expected += outside.split(u'/', Qt::SkipEmptyParts);
    QCOMPARE(branchOfSelection(), expected);
    QTRY_COMPARE(listedNames(), QStringList{"inner"});
    QVERIFY(m_errors.isEmpty());
}

void TStartFolderTest::aMissingFolderIsShownAndTheDesktopListed() {
    const QString missing = QDir::cleanPath(m_namespace->desk("../nowhere"));
    startWith(missing);
    QTRY_COMPARE(m_errors, QStringList{"找不到文件夹“" + missing + "”。"});
    QCOMPARE(branchOfSelection(), QStringList{"桌面"});
    QTRY_COMPARE(listedNames(), QStringList{"on-desk.txt"});
}

void TStartFolderTest::aHiddenFolderIsShownAndTheDesktopListed() {
    const QString hidden = QDir::cleanPath(m_namespace->desk("../home/.config/app"));
    startWith(hidden);
    QTRY_COMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.front().contains(hidden), qPrintable(m_errors.front()));
    QCOMPARE(branchOfSelection(), QStringList{"桌面"});
    QTRY_COMPARE(listedNames(), QStringList{"on-desk.txt"});
}

// A drop lands on whatever widget is under the pointer; the list's viewport takes no drops,
// so the window gets it, as from a file manager.
void TStartFolderTest::drop(const QByteArray& uriList) {
    QWidget* target = m_window->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport();
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), uriList);
    const QPointF at = target->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    QVERIFY(dropped.isAccepted());
    QTRY_VERIFY(!m_window->isBusy()); // listed on a worker
}

void TStartFolderTest::aDroppedFolderIsListed() {
    startWith({});
    drop("# from a file manager\r\n" + fileUrl(m_namespace->desk("../home/photos")) + "\r\n");
    QCOMPARE(branchOfSelection(), (QStringList{"桌面", "主文件夹", "photos"}));
    QTRY_COMPARE(listedNames(), (QStringList{"2024", "a.jpg"}));
    QVERIFY(m_errors.isEmpty());
}

void TStartFolderTest::aDroppedFileListsItsFolder() {
    startWith({});
    drop(fileUrl(m_namespace->desk("../home/photos/2024/b.jpg")) + "\r\n");
    QCOMPARE(branchOfSelection(), (QStringList{"桌面", "主文件夹", "photos", "2024"}));
    QTRY_COMPARE(listedNames(), QStringList{"b.jpg"});
}

void TStartFolderTest::aDroppedWebAddressIsRefused() {
    startWith({});
    drop("https://example.org/photos\r\n");
    QCOMPARE(branchOfSelection(), QStringList{"桌面"});
    QVERIFY(m_errors.isEmpty());
}

QTEST_MAIN(TStartFolderTest)
#include "start_folder_test_linux.moc"
