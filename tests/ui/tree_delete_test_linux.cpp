#include <cstdlib>

#include <QDir>
#include <QFile>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tree_clipboard_linux.h"
#include "tree_menu_fixture.h"

namespace {

QByteArray Read(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// GIO reads XDG_DATA_HOME once per process, so main() points it at `root` before anything runs.
class TTreeDeleteTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
public:
    explicit TTreeDeleteTest(QByteArray root) : m_root(std::move(root)) {}

private slots:
    void init();
    void cleanup() { stopTree(); }
    void deletesTheSelectedFolderIntoTheTrash();
    void deletingAnotherFolderLeavesTheSelectionAlone();
    void asksBeforeDeletingForGoodWhatTheTrashRefuses_data();
    void asksBeforeDeletingForGoodWhatTheTrashRefuses();

private:
    QByteArray trash() const { return m_root + "/data/Trash"; }
    QByteArray m_root;
};

void TTreeDeleteTest::init() {
    startTree({"victim/sub", "other"});
    QFile file(desk("victim/sub/data"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("precious");
}

void TTreeDeleteTest::deletesTheSelectedFolderIntoTheTrash() {
    select(node("victim"));
    menuKey("delete");
    QVERIFY(!node("victim"));
    QVERIFY(!QFile::exists(desk("victim")));
    QCOMPARE(Read(trash() + "/files/victim/sub/data"), "precious");
    const QList<QByteArray> info = Read(trash() + "/info/victim.trashinfo").split('\n');
    QVERIFY(info.size() >= 3);
    QCOMPARE(info[0], "[Trash Info]");
    QCOMPARE(info[1], "Path=" + FileUrlFromPath(QFile::encodeName(desk("victim"))).mid(7));
    QVERIFY(info[2].startsWith("DeletionDate="));
    // The selection moved while the node went, with no path to list: the list keeps its rows.
    QVERIFY(tree().currentItem());
    QCOMPARE(m_host->changedPaths,
             (std::vector<std::string>{bytes(desk()), bytes(desk("victim")), ""}));
    QCOMPARE(m_errors, QStringList());
}

void TTreeDeleteTest::deletingAnotherFolderLeavesTheSelectionAlone() {
    select(node("other"));
    rightClick(node("victim"), "delete");
    QVERIFY(!node("victim"));
    QVERIFY(!QFile::exists(desk("victim")));
    QCOMPARE(tree().currentItem(), node("other"));
    QCOMPARE(m_host->changedPaths.back(), bytes(desk("other")));
    QCOMPARE(m_host->changedPaths.size(), 2u);
}

void TTreeDeleteTest::asksBeforeDeletingForGoodWhatTheTrashRefuses_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("no keeps the folder") << false;
    QTest::newRow("yes deletes it for good") << true;
}

// A file where the trash should be: the trash can't be made.
void TTreeDeleteTest::asksBeforeDeletingForGoodWhatTheTrashRefuses() {
    QFETCH(bool, answer);
    const QString data = QFile::decodeName(m_root + "/data");
    const QString away = data + QStringLiteral("-away");
    QVERIFY(!QFile::exists(data) || QDir().rename(data, away));
    QFile blocker(data);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    const auto restore = qScopeGuard([&] {
        QFile::remove(data);
        QDir().rename(away, data);
    });
    QStringList questions;
    TFolderMenuHooks hooks;
    hooks.ChooseVerb = [](QMenu&, const QPoint&) { return QStringLiteral("delete"); };
    hooks.AskDeleteForGood = [&](const QString& question) {
        questions << question;
        return answer;
    };
    tree().setMenuHooks(hooks);
    rightClick(node("victim"), {});
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions[0].contains(desk("victim")), qPrintable(questions[0]));
    QCOMPARE(QFile::exists(desk("victim/sub/data")), !answer);
    QCOMPARE(node("victim") != nullptr, !answer);
    QCOMPARE(m_errors, QStringList());
}

int main(int argc, char* argv[]) {
    char pattern[] = "/tmp/zelvora-tree-delete-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const QByteArray root(pattern);
    ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    ::setenv("GIO_USE_VFS", "local", 1);
    QApplication app(argc, argv);
    TTreeDeleteTest test(root);
    const int failures = QTest::qExec(&test, argc, argv);
    engine::DeleteTree(root.toStdString());
    return failures;
}

#include "tree_delete_test_linux.moc"
