#include <QtTest>

#include "ui/common/error_display.h"

class TErrorDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void endsTheSentenceInItsLanguage_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const QString& message, const QString& shown) {
            QTest::newRow(name) << message << shown;
        };
        row("letter", "'1a' is not a valid integer value", "'1a' is not a valid integer value.");
        row("full stop already", "done.", "done.");
        row("closing bracket is below", "(x)", "(x)");
        row("hyphen is below", "a-", "a-");
        row("slash is above", "a/", "a/.");
        row("Chinese ends with its own full stop", "重命名失败", "重命名失败。");
        row("Chinese ending in a quoted name", "无法打开文件夹“C:\\x”", "无法打开文件夹“C:\\x”。");
        row("Chinese starting with a quoted name", "“a.”不是文件夹", "“a.”不是文件夹。");
        row("Chinese ending in a system's English reason", "无法打开文件夹“/a”：Input/output error",
            "无法打开文件夹“/a”：Input/output error。");
        row("Chinese with a full stop inside", "无法写入改名记录“j”：拒绝访问。没有改名任何条目",
            "无法写入改名记录“j”：拒绝访问。没有改名任何条目。");
        row("Chinese full stop already", "永久删除后无法恢复。", "永久删除后无法恢复。");
        row("Chinese question", "是否永久删除？", "是否永久删除？");
        row("Chinese list cut short", "有 30 个条目：\n……", "有 30 个条目：\n……");
        row("English quoting Chinese", "'一' is not a valid integer value",
            "'一' is not a valid integer value.");
        row("empty stays empty", "", "");
        row("NUL shows, the text goes on",
            QStringLiteral("“/a").append(QChar(0)).append(QStringLiteral("b”：名称无效")),
            "“/a\\0b”：名称无效。");
    }
    void endsTheSentenceInItsLanguage() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorMessageText(message), shown);
    }
};

QTEST_MAIN(TErrorDisplayTest)
#include "error_display_test.moc"
