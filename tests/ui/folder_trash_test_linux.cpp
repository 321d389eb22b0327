#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "ui/tree/folder_trash_linux.h"

namespace {

QByteArray ReadAll(const QByteArray& path) {
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QByteArray& path, const QByteArray& content) {
    QFile file(QString::fromUtf8(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

// GIO reads XDG_DATA_HOME once per process, so main() points it at `root` before anything runs.
class TFolderTrashTest : public QObject {
    Q_OBJECT
public:
    explicit TFolderTrashTest(QByteArray root) : m_root(std::move(root)) {}

private slots:
    void trashesIntoTheUserTrash();
    void trashingTheSameNameAgainKeepsBoth();
    void reportsWhatCannotBeTrashed();
    void aFolderBeyondPathMaxIsRefusedVisiblyAndCanBeDeleted();
    void deletesForGoodOnlyOnYes_data();
    void deletesForGoodOnlyOnYes();

private:
    QByteArray makeFolder(const QByteArray& name, const QByteArray& content) {
        const QByteArray path = m_root + "/work/" + name;
        QDir().mkpath(QString::fromUtf8(path + "/sub"));
        Write(path + "/sub/inside", content);
        return path;
    }
    QByteArray trash() const { return m_root + "/data/Trash"; }

    QByteArray m_root;
};

void TFolderTrashTest::trashesIntoTheUserTrash() {
    const QByteArray path = makeFolder("名称 a%b", "first");
    const TTrashResult result = MoveToTrash(path);
    QVERIFY2(result.Trashed, qPrintable(result.ErrorText));
    QVERIFY(!QFile::exists(QString::fromUtf8(path)));
    QCOMPARE(ReadAll(trash() + "/files/名称 a%b/sub/inside"), QByteArray("first"));
    const QList<QByteArray> info = ReadAll(trash() + "/info/名称 a%b.trashinfo").split('\n');
    QVERIFY(info.size() >= 3);
    QCOMPARE(info[0], QByteArray("[Trash Info]"));
    QCOMPARE(info[1], "Path=" + m_root + "/work/%E5%90%8D%E7%A7%B0%20a%25b");
    const QRegularExpression date(
        QStringLiteral("^DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY2(date.match(QString::fromUtf8(info[2])).hasMatch(), info[2].constData());
}

void TFolderTrashTest::trashingTheSameNameAgainKeepsBoth() {
    QVERIFY(MoveToTrash(makeFolder("twice", "one")).Trashed);
    QVERIFY(MoveToTrash(makeFolder("twice", "two")).Trashed);
    const QDir files(QString::fromUtf8(trash() + "/files"));
    const QStringList twins = files.entryList({QStringLiteral("twice*")}, QDir::Dirs);
    QCOMPARE(twins.size(), 2);
    QStringList contents;
    for (const QString& twin : twins) {
        contents << QString::fromUtf8(ReadAll(trash() + "/files/" + twin.toUtf8() + "/sub/inside"));
        QVERIFY2(QFile::exists(QString::fromUtf8(trash()) + "/info/" + twin + ".trashinfo"),
                 qPrintable(twin));
    }
    contents.sort();
    QCOMPARE(contents, (QStringList{"one", "two"}));
}

void TFolderTrashTest::reportsWhatCannotBeTrashed() {
    const TTrashResult result = MoveToTrash(m_root + "/work/never-made");
    QVERIFY(!result.Trashed);
    QVERIFY(!result.ErrorText.isEmpty());
}

// GIO works on whole paths, which the system refuses beyond PATH_MAX: the trash must say so
// and leave the folder, and deleting for good must still reach it.
void TFolderTrashTest::aFolderBeyondPathMaxIsRefusedVisiblyAndCanBeDeleted() {
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

void TFolderTrashTest::deletesForGoodOnlyOnYes_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("remains");
    QTest::addColumn<int>("outcome");
    QTest::newRow("no keeps the folder") << false << true << int(TDeleteForGoodOutcome::Kept);
    QTest::newRow("yes deletes it") << true << false << int(TDeleteForGoodOutcome::Deleted);
}

void TFolderTrashTest::deletesForGoodOnlyOnYes() {
    QFETCH(bool, answer);
    const QByteArray path = makeFolder("doomed", "x");
    Write(path + "/\xff\xfe", "not UTF-8");
    const QByteArray outside = makeFolder("outside", "precious");
    QVERIFY(QFile::link(QString::fromUtf8(outside), QString::fromUtf8(path + "/link")));
    QStringList asked;
    const TDeleteForGoodResult result =
        AskAndDeleteForGood(path, QStringLiteral("不支持回收站"), [&](const QString& question) {
            asked << question;
            return answer;
        });
    QCOMPARE(asked, QStringList{"无法将“" + QString::fromUtf8(path) +
                                "”移到回收站：不支持回收站\n是否永久删除？永久删除后无法恢复。"});
    QTEST(int(result.Outcome), "outcome");
    QTEST(QFile::exists(QString::fromUtf8(path + "/sub/inside")), "remains");
    QCOMPARE(ReadAll(outside + "/sub/inside"), QByteArray("precious"));
    engine::DeleteTree(path.toStdString());
}

int main(int argc, char* argv[]) {
    char pattern[] = "/tmp/zelvora-trash-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const QByteArray root(pattern);
    ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    ::setenv("GIO_USE_VFS", "local", 1);
    TFolderTrashTest test(root);
    const int failures = QTest::qExec(&test, argc, argv);
    engine::DeleteTree(root.toStdString());
    return failures;
}

#include "folder_trash_test_linux.moc"
