#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/tree/folder_clipboard_linux.h"
#include "ui/tree/folder_paste_linux.h"

class TFolderPasteTest : public QObject {
    Q_OBJECT
private slots:
    void pastesWhatTheClipboardHolds_data();
    void pastesWhatTheClipboardHolds();
    void namesEachFailure();
};

void TFolderPasteTest::pastesWhatTheClipboardHolds_data() {
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("sourceRemains");
    QTest::newRow("copy keeps the source") << false << true;
    QTest::newRow("cut moves it") << true << false;
}

void TFolderPasteTest::pastesWhatTheClipboardHolds() {
    QFETCH(bool, cut);
    QTemporaryDir temp;
    const QString source = temp.path() + "/from/名称", target = temp.path() + "/to";
    QVERIFY(QDir().mkpath(source) && QDir().mkpath(target + "/名称"));
    const std::unique_ptr<QMimeData> data(MakeFolderClipboardData(
        {source.toUtf8()}, cut ? TClipboardAction::Cut : TClipboardAction::Copy));
    const auto results = PasteClipboardInto(target.toUtf8(), data.get());
    QCOMPARE(results.size(), size_t(1));
    QCOMPARE(QString::fromStdString(results[0].TargetName), QStringLiteral("名称 (2)"));
    QVERIFY(QFileInfo(target + "/名称 (2)").isDir());
    QTEST(QFileInfo::exists(source), "sourceRemains");
    QVERIFY(PasteFailureTexts(results).isEmpty());
}

void TFolderPasteTest::namesEachFailure() {
    QTemporaryDir temp;
    QMimeData data;
    data.setData("x-special/gnome-copied-files", "copy\nfile://" + temp.path().toUtf8() +
                                                     "/gone\nfile://" + temp.path().toUtf8() +
                                                     "/here");
    QVERIFY(QDir().mkpath(temp.path() + "/here"));
    const auto results = PasteClipboardInto(temp.path().toUtf8() + "/", &data);
    QCOMPARE(PasteFailureTexts(results),
             QStringList{"“" + temp.path() + "/gone”：找不到文件或文件夹"});
    QVERIFY(QFileInfo(temp.path() + "/here (2)").isDir());
}

QTEST_GUILESS_MAIN(TFolderPasteTest)
#include "folder_paste_test_linux.moc"
