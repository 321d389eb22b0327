#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/time.h>

#include "engine/folder_operations_linux.h"
#include "ui/tree/folder_properties_dialog_linux.h"

namespace {

void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QString LabelText(const QDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

} // namespace

class TFolderPropertiesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheFiguresOfTheFolder() {
        QTemporaryDir temp;
        const QString folder = temp.path() + QStringLiteral("/资料 x");
        QVERIFY(QDir().mkpath(folder + "/sub"));
        Write(folder + "/big", QByteArray(1536, 'b'));
        Write(folder + "/sub/three", "abc");
        QVERIFY(QFile::link(QStringLiteral("/usr/bin"), folder + "/sub/link"));
        const QByteArray path = folder.toUtf8();
        QCOMPARE(::chmod(path.constData(), 0750), 0);
        const timeval times[2] = {{1614834367, 0}, {1614834367, 0}}; // 2021-03-04 05:06:07 UTC
        QCOMPARE(::utimes(path.constData(), times), 0);

        engine::TFormatSettings settings; // as a list shows it, with its own separators
        settings.ShortDatePattern = "yyyy/m/d";
        settings.LongTimePattern = "hh:nn:ss";
        settings.DateSeparator = '-';
        settings.TimeSeparator = '.';
        TFolderPropertiesDialog dialog(path, settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("属性"));
        QCOMPARE(LabelText(dialog, "PathLabel"), folder);
        QCOMPARE(LabelText(dialog, "SizeLabel"), QStringLiteral("1.5 KiB（1539 字节）"));
        QCOMPARE(LabelText(dialog, "ContentsLabel"), QStringLiteral("3 个文件，1 个文件夹"));
        QCOMPARE(LabelText(dialog, "ModifiedLabel"), QStringLiteral("2021-3-4 13.06.07"));
        QCOMPARE(LabelText(dialog, "PermissionsLabel"), QStringLiteral("drwxr-x---（0750）"));
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons[0]->text(), QStringLiteral("关闭"));
        dialog.show();
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }
};

int main(int argc, char* argv[]) {
    ::setenv("TZ", "Asia/Shanghai", 1); // the modification time is shown in local time
    QApplication app(argc, argv);
    TFolderPropertiesDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "folder_properties_dialog_test_linux.moc"
