// The folder a batch renames in, held in the tree: the verbs that would move, rename or delete
// it or a folder above it wait and say why, and come back when the hold ends.
#include <QGuiApplication>

#include "tree_clipboard_linux.h"
#include "tree_menu_fixture.h"

namespace {

const QStringList AllPlain{"open", "cut", "copy", "delete", "rename", "newfolder", "properties"};
const QStringList Waiting{"open", "copy", "newfolder", "properties"};

} // namespace

class TTreeHoldTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void init() {
        startTree({"outer/work", "other"});
        node("outer")->setExpanded(true);
        tree().setHeldFolder(bytes(desk("outer/work")) + "/");
        QGuiApplication::clipboard()->setText(QStringLiteral("not a path"));
    }
    void cleanup() { stopTree(); }
    void verbsWaitForTheHeldFolderAndWhatHoldsIt_data();
    void verbsWaitForTheHeldFolderAndWhatHoldsIt();
    void aCutPasteThatWouldMoveTheHeldFolderWaits_data();
    void aCutPasteThatWouldMoveTheHeldFolderWaits();
    void theLabelDoesNotOpenAndAnOpenOneDoesNotRename();
    void everythingComesBackWhenTheHoldEnds();

private:
    QTreeWidgetItem* work() const { return node("work", node("outer")); }
    QTreeWidgetItem* labelled(const QString& label) const {
        return label == "work" ? work() : node(label);
    }
};

void TTreeHoldTest::verbsWaitForTheHeldFolderAndWhatHoldsIt_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<int>("reasons");
    QTest::newRow("the held folder") << "work" << Waiting << 3;
    QTest::newRow("the folder holding it") << "outer" << Waiting << 3;
    QTest::newRow("another folder") << "other" << AllPlain << 0;
}

void TTreeHoldTest::verbsWaitForTheHeldFolderAndWhatHoldsIt() {
    QFETCH(QString, label);
    QFETCH(int, reasons);
    rightClick(labelled(label), {});
    QTEST(m_menu.enabled, "enabled");
    QCOMPARE(
        m_menu.waitReasons,
        QStringList(reasons,
                    QStringLiteral("批量改名正在这个文件夹里进行，结束后才能剪切、删除或重命名")));
}

void TTreeHoldTest::aCutPasteThatWouldMoveTheHeldFolderWaits_data() {
    QTest::addColumn<QString>("onClipboard");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("pastes");
    QTest::newRow("the held folder cut, pasted elsewhere")
        << "outer/work" << true << "other" << false;
    QTest::newRow("its holder cut, pasted elsewhere") << "outer" << true << "other" << false;
    QTest::newRow("the held folder copied") << "outer/work" << false << "other" << true;
    QTest::newRow("another folder cut into it") << "other" << true << "work" << false;
    QTest::newRow("another folder copied into it") << "other" << false << "work" << true;
}

void TTreeHoldTest::aCutPasteThatWouldMoveTheHeldFolderWaits() {
    QFETCH(QString, onClipboard);
    QFETCH(bool, cut);
    QFETCH(QString, target);
    QFETCH(bool, pastes);
    PutOnClipboard(desk(onClipboard), cut ? TClipboardAction::Cut : TClipboardAction::Copy);
    rightClick(labelled(target), "paste");
    QCOMPARE(m_menu.enabled.contains("paste"), pastes);
    QTRY_COMPARE(QFileInfo::exists(desk(onClipboard)), !(pastes && cut));
    QVERIFY(QFileInfo::exists(desk("outer/work")));
    QCOMPARE(m_errors, QStringList());
}

void TTreeHoldTest::theLabelDoesNotOpenAndAnOpenOneDoesNotRename() {
    tree().editItem(work(), 0);
    QVERIFY(!labelEditor());

    tree().setHeldFolder({});
    tree().editItem(work(), 0); // opened before a batch started
    QVERIFY(labelEditor());
    tree().setHeldFolder(bytes(desk("outer/work")));
    labelEditor()->setText(QStringLiteral("moved"));
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_VERIFY(!labelEditor());
    QVERIFY(QFileInfo::exists(desk("outer/work")));
    QCOMPARE(m_errors, QStringList{"批量改名正在这个文件夹里进行，结束后才能剪切、删除或重命名。"});
}

void TTreeHoldTest::everythingComesBackWhenTheHoldEnds() {
    tree().setHeldFolder({});
    rightClick(work(), "rename");
    QCOMPARE(m_menu.enabled, AllPlain);
    QVERIFY(labelEditor());
}

QTEST_MAIN(TTreeHoldTest)
#include "tree_hold_test_linux.moc"
