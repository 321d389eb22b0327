#include <QtTest>

#include "ui/widgets/error_display.h"

class TErrorDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void appendsAFullStopAfterACharacterAboveIt_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "'1a' is not a valid integer value"
                                << "'1a' is not a valid integer value.";
        QTest::newRow("full stop already") << "done." << "done.";
        QTest::newRow("closing bracket is below") << "(x)" << "(x)";
        QTest::newRow("hyphen is below") << "a-" << "a-";
        QTest::newRow("slash is above") << "a/" << "a/.";
        QTest::newRow("Chinese character counts whole") << "重命名失败" << "重命名失败.";
        QTest::newRow("empty stays empty") << "" << "";
        QTest::newRow("NUL shows, the text goes on")
            << QStringLiteral("“/a").append(QChar(0)).append(QStringLiteral("b”：名称无效"))
            << "“/a\\0b”：名称无效.";
    }
    void appendsAFullStopAfterACharacterAboveIt() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorMessageText(message), shown);
    }
};

QTEST_MAIN(TErrorDisplayTest)
#include "error_display_test.moc"
