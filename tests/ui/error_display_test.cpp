#include <QtTest>

#include "ui/common/error_display.h"

class TErrorDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void endsTheSentenceInItsLanguage_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "'1a' is not a valid integer value"
                                << "'1a' is not a valid integer value.";
        QTest::newRow("full stop already") << "done."
                                           << "done.";
        QTest::newRow("closing bracket is below") << "(x)"
                                                  << "(x)";
        QTest::newRow("hyphen is below") << "a-"
                                         << "a-";
        QTest::newRow("slash is above") << "a/"
                                        << "a/.";
        QTest::newRow("Chinese ends with its own full stop") << "重命名失败"
                                                             << "重命名失败。";
        QTest::newRow("Chinese ending in a quoted name") << "无法打开文件夹“C:\\x”"
                                                         << "无法打开文件夹“C:\\x”。";
        QTest::newRow("Chinese starting with a quoted name") << "“a.”不是文件夹"
                                                             << "“a.”不是文件夹。";
        QTest::newRow("Chinese ending in a system's English reason")
            << "无法打开文件夹“/a”：Input/output error"
            << "无法打开文件夹“/a”：Input/output error。";
        QTest::newRow("Chinese with a full stop inside")
            << "无法写入改名记录“j”：拒绝访问。没有改名任何条目"
            << "无法写入改名记录“j”：拒绝访问。没有改名任何条目。";
        QTest::newRow("Chinese full stop already") << "永久删除后无法恢复。"
                                                   << "永久删除后无法恢复。";
        QTest::newRow("Chinese question") << "是否永久删除？"
                                          << "是否永久删除？";
        QTest::newRow("Chinese list cut short") << "有 30 个条目：\n……"
                                                << "有 30 个条目：\n……";
        QTest::newRow("English quoting Chinese") << "'一' is not a valid integer value"
                                                 << "'一' is not a valid integer value.";
        QTest::newRow("empty stays empty") << ""
                                           << "";
        QTest::newRow("NUL shows, the text goes on")
            << QStringLiteral("“/a").append(QChar(0)).append(QStringLiteral("b”：名称无效"))
            << "“/a\\0b”：名称无效。";
    }
    void endsTheSentenceInItsLanguage() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorMessageText(message), shown);
    }
};

QTEST_MAIN(TErrorDisplayTest)
#include "error_display_test.moc"
