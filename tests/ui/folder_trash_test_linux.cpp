// The user's trash, and deleting for good what it refuses: by the folder operations themselves
// and through the tree's "delete" verb.
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRegularExpression>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tree_menu_fixture.h"
#include "ui/tree/folder_trash_linux.h"

// GIO reads XDG_DATA_HOME once per process, so main() points it at `root` before anything runs.
class TFolderTrashTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
public:
    explicit TFolderTrashTest(QByteArray root) : m_root(std::move(root)) {}

private slots:
    void init() {
        startTree({"victim/sub", "other"});
        Write(desk("victim/sub/data"), "precious");
    }
    void cleanup() { stopTree(); }

    void trashesIntoTheUserTrashKeepingBothOfOneName() {
        const QByteArray path = makeFolder("名称 a%b", "first");
        const TTrashResult result = MoveToTrash(path);
        QVERIFY2(result.Trashed, qPrintable(result.ErrorText));
        QVERIFY(!QFile::exists(QString::fromUtf8(path)));
        QCOMPARE(trashed("files/名称 a%b/sub/inside"), QByteArray("first"));
        const QList<QByteArray> info = trashed("info/名称 a%b.trashinfo").split('\n');
        QVERIFY(info.size() >= 3);
        QCOMPARE(info[0], QByteArray("[Trash Info]"));
        QCOMPARE(info[1], "Path=" + m_root + "/work/%E5%90%8D%E7%A7%B0%20a%25b");
        const QRegularExpression date(
            QStringLiteral("^DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"));
        QVERIFY2(date.match(QString::fromUtf8(info[2])).hasMatch(), info[2].constData());

        QVERIFY(MoveToTrash(makeFolder("名称 a%b", "second")).Trashed); // the same name again
        const QStringList twins = QDir(QString::fromUtf8(m_root + "/data/Trash/files"))
                                      .entryList({QStringLiteral("名称 a%b*")}, QDir::Dirs);
        QCOMPARE(twins.size(), 2);
        const QByteArray second = twins[twins[0] == QStringLiteral("名称 a%b") ? 1 : 0].toUtf8();
        QCOMPARE(trashed("files/" + second + "/sub/inside"), QByteArray("second"));
        QVERIFY2(trashed("info/" + second + ".trashinfo") != "<missing>", second.constData());
    }

    // GIO works on whole paths, which the system refuses beyond PATH_MAX: the trash must say so
    // and leave the folder, and deleting for good must still reach it.
    void aFolderBeyondPathMaxIsRefusedVisiblyAndCanBeDeleted() {
        const QByteArray top = makeFolder("deep", "x");
        const std::string name(200, 'd');
        QByteArray path = top;
        int fd = ::open(top.constData(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < 25 && fd >= 0; ++level) {
            QCOMPARE(::mkdirat(fd, name.c_str(), 0755), 0);
            const int inner = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = inner;
            path += "/" + QByteArray::fromStdString(name);
        }
        QVERIFY(fd >= 0);
        const TTrashResult result = MoveToTrash(path);
        QVERIFY(!result.Trashed);
        QVERIFY(!result.ErrorText.isEmpty());
        QVERIFY(engine::ProbeFolder(path.toStdString()).IsFolder);
        const auto yes = [](const QString&) { return true; };
        QCOMPARE(AskAndDeleteForGood(path, result.ErrorText, yes).Outcome,
                 TDeleteForGoodOutcome::Deleted);
        QVERIFY(!engine::ProbeFolder(path.toStdString()).IsFolder);
        ::close(fd);
        engine::DeleteTree(top.toStdString());
    }

    // The info file is trashesIntoTheUserTrashKeepingBothOfOneName's; here the tree's part.
    void theTreeDeletesTheSelectedFolderIntoTheTrash() {
        select(node("victim"));
        menuKey("delete");
        QVERIFY(!node("victim"));
        QVERIFY(!QFile::exists(desk("victim")));
        QCOMPARE(trashed("files/victim/sub/data"), "precious");
        // The selection moved while the node went, with no path to list: the list keeps its rows.
        QVERIFY(tree().currentItem());
        QCOMPARE(m_host->changedPaths,
                 (std::vector<std::string>{bytes(desk()), bytes(desk("victim")), ""}));
        QCOMPARE(m_errors, QStringList());
    }

    void theTreeDeletingAnotherFolderLeavesTheSelectionAlone() {
        select(node("other"));
        rightClick(node("victim"), "delete");
        QVERIFY(!node("victim"));
        QVERIFY(!QFile::exists(desk("victim")));
        QCOMPARE(tree().currentItem(), node("other"));
        QCOMPARE(m_host->changedPaths.back(), bytes(desk("other")));
        QCOMPARE(m_host->changedPaths.size(), 2u);
    }

    void theTreeAsksBeforeDeletingForGoodWhatTheTrashRefuses_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no keeps the folder") << false;
        QTest::newRow("yes deletes it for good") << true;
    }
    // A file where the trash should be: the trash can't be made.
    void theTreeAsksBeforeDeletingForGoodWhatTheTrashRefuses() {
        QFETCH(bool, answer);
        const QString data = QFile::decodeName(m_root + "/data");
        const QString away = data + QStringLiteral("-away");
        QVERIFY(!QFile::exists(data) || QDir().rename(data, away));
        Write(data, {});
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
        QVERIFY2(questions[0].startsWith("无法将“" + desk("victim") + "”移到回收站：") &&
                     questions[0].endsWith(QStringLiteral("\n是否永久删除？永久删除后无法恢复。")),
                 qPrintable(questions[0]));
        QCOMPARE(QFile::exists(desk("victim/sub/data")), !answer);
        QCOMPARE(node("victim") != nullptr, !answer);
        QCOMPARE(m_errors, QStringList());
    }

private:
    QByteArray makeFolder(const QByteArray& name, const QByteArray& content) {
        const QByteArray path = m_root + "/work/" + name;
        QDir().mkpath(QString::fromUtf8(path + "/sub"));
        Write(QString::fromUtf8(path + "/sub/inside"), content);
        return path;
    }
    // A file below the trash folder, or "<missing>".
    QByteArray trashed(const QByteArray& relative) const {
        return Read(QString::fromUtf8(m_root + "/data/Trash/" + relative));
    }

    QByteArray m_root;
};

int main(int argc, char* argv[]) {
    char pattern[] = "/tmp/zelvora-trash-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const QByteArray root(pattern);
    ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    ::setenv("GIO_USE_VFS", "local", 1);
    QApplication app(argc, argv);
    TFolderTrashTest test(root);
    const int failures = QTest::qExec(&test, argc, argv);
    engine::DeleteTree(root.toStdString());
    return failures;
}

#include "folder_trash_test_linux.moc"
