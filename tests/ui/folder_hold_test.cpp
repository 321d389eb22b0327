// Which folders a running batch holds: the batch's own and every folder above it, by the
// platform's rules of paths (on Windows any case, and drive roots).
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/tree/folder_hold.h"

class TFolderHoldTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(QDir(m_dir.path()).mkpath("work/batch"));
        QVERIFY(QDir(m_dir.path()).mkpath("workshop"));
    }

    void holdsTheFolderAndThoseAboveIt_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("held");
        const bool windows = QDir::separator() == u'\\';
        const QString separator = QDir::separator();
        QTest::newRow("the batch's folder") << native("work/batch") << true;
        QTest::newRow("with a separator at the end") << native("work/batch") + separator << true;
        QTest::newRow("its parent") << native("work") << true;
        QTest::newRow("the root of its drive")
            << QDir::toNativeSeparators(QDir::rootPath()) << true;
        QTest::newRow("a sibling sharing its start") << native("workshop") << false;
        QTest::newRow("a folder below it") << native("work/batch/x") << false;
        QTest::newRow("no folder on a disk") << "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}" << false;
        QTest::newRow("another case") << native("WORK") << windows;
    }
    void holdsTheFolderAndThoseAboveIt() {
        QFETCH(QString, path);
        QFETCH(bool, held);
        const std::string batch = native("work/batch").toStdString();
        QCOMPARE(TakesAlong(path.toStdString(), batch), held);
        QVERIFY(!TakesAlong(path.toStdString(), ""));
    }

private:
    QString native(const QString& relative) const {
        return QDir::toNativeSeparators(m_dir.filePath(relative));
    }
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TFolderHoldTest)
#include "folder_hold_test.moc"
