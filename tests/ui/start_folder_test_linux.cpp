// Folders shown from outside the tree: named on the command line at start-up, or dropped onto
// the window from a file manager. The window runs over a temporary namespace whose home and
// desktop are temporary folders.
#include <QMimeData>
#include <QtTest>

#include "tests/ui/window_fixture.h"
#include "ui/window/command_line.h"

class TStartFolderTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        recordErrors();
        m_namespace.emplace();
        qputenv("HOME", QFile::encodeName(m_namespace->home()));
        m_root = QDir::cleanPath(m_namespace->desk(".."));
        for (const char* folder : {"home/photos/2024", "home/.config/app", "outside/inner"})
            QVERIFY(QDir().mkpath(m_root + "/" + folder));
        for (const char* file : {"desk/on-desk.txt", "home/photos/2024/b.jpg", "home/photos/a.jpg"})
            makeFiles(QFileInfo(m_root + "/" + file).path(), {QFileInfo(file).fileName()});
    }
    void cleanup() {
        closeWindow();
        SetErrorDisplay({});
    }

    // Paths below the temporary root; "<root>" in a row stands for the root's own path.
    void showsTheFolderNamedOrDropped_data() {
        QTest::addColumn<QString>("argument"); // on the command line
        QTest::addColumn<QString>("dropped");  // a path, or an address as it comes
        QTest::addColumn<QString>("branch");   // the selected node's labels, from the top
        QTest::addColumn<QString>("folder");   // the folder listed
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("error");
        const QStringList onDesk{"on-desk.txt"};
        const QString year = QStringLiteral("桌面/主文件夹/photos/2024");
        QTest::newRow("a folder under home, through home")
            << "home/photos/2024"
            << "" << year << "home/photos/2024" << QStringList{"b.jpg"} << "";
        QTest::newRow("a folder elsewhere, through the file system")
            << "outside"
            << ""
            << "桌面/计算机/文件系统/<root>/outside"
            << "outside" << QStringList{"inner"} << "";
        QTest::newRow("a missing folder") << "nowhere"
                                          << ""
                                          << "桌面"
                                          << "desk" << onDesk << "找不到文件夹“/<root>/nowhere”。";
        QTest::newRow("a hidden folder")
            << "home/.config/app"
            << ""
            << "桌面"
            << "desk" << onDesk
            << "文件夹树中没有“/<root>/home/.config/app”：隐藏的文件夹不在树中。";
        QTest::newRow("a dropped folder") << ""
                                          << "home/photos"
                                          << "桌面/主文件夹/photos"
                                          << "home/photos" << QStringList{"2024", "a.jpg"} << "";
        QTest::newRow("a dropped file lists its folder")
            << ""
            << "home/photos/2024/b.jpg" << year << "home/photos/2024" << QStringList{"b.jpg"} << "";
        QTest::newRow("a dropped web address is refused") << ""
                                                          << "https://example.org/photos"
                                                          << "桌面"
                                                          << "desk" << onDesk << "";
    }
    void showsTheFolderNamedOrDropped() {
        QFETCH(QString, argument);
        QFETCH(QString, dropped);
        QFETCH(QString, branch);
        QFETCH(QString, folder);
        QFETCH(QStringList, listed);
        QFETCH(QString, error);
        startWith(argument.isEmpty() ? QString() : m_root + "/" + argument);
        if (dropped.startsWith("https:"))
            drop(dropped.toUtf8());
        else if (!dropped.isEmpty())
            drop("# from a file manager\r\n" +
                 QUrl::fromLocalFile(m_root + "/" + dropped).toEncoded() + "\r\n");
        QCOMPARE(branchOfSelection().join(u'/'), branch.replace("<root>", m_root.mid(1)));
        QTRY_COMPARE(listedNames(), listed);
        QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(m_root + "/" + folder));
        error.replace("<root>", m_root.mid(1));
        QTRY_COMPARE(m_errors, error.isEmpty() ? QStringList() : QStringList{error});
    }

private:
    // As the program starts: parse, build the window, open the start folder, show. No argument
    // when `argument` is empty.
    void startWith(const QString& argument) {
        std::vector<std::string> arguments{"zelvora"};
        if (!argument.isEmpty()) arguments.push_back(TTempNamespace::bytes(argument));
        const TCommandLine line = ParseCommandLine(arguments, "/");
        QCOMPARE(line.ExitCode, std::nullopt);
        m_window = new TFrmMain;
        OpenStartFolder(*m_window, line.StartFolder);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    QStringList branchOfSelection() const {
        QStringList labels;
        for (const QTreeWidgetItem* node = child<TShellTreeView>("ShellTreeView1")->currentItem();
             node; node = node->parent())
            labels.prepend(node->text(0));
        return labels;
    }
    QStringList listedNames() const {
        QStringList names;
        for (int row = 0; row < listModel()->rowCount(); ++row)
            names << listModel()->index(row, 0).data().toString();
        return names;
    }
    // A drop lands on whatever widget is under the pointer; the list's viewport takes no drops,
    // so the window gets it, as from a file manager.
    void drop(const QByteArray& uriList) {
        QWidget* target = child<QTreeView>("ListView1")->viewport();
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

    QString m_root;
};

QTEST_MAIN(TStartFolderTest)
#include "start_folder_test_linux.moc"
