// What a screen reader gets from the main window, read through Qt's accessibility interfaces as
// the AT-SPI bridge reads them.

#include <QAccessible>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/window_fixture.h"
#include "ui/widgets/up_down.h"

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    if (!found) qFatal("no accessible interface");
    return found;
}

QString NameOf(QObject* object) {
    return Accessible(object)->text(QAccessible::Name);
}

QString DescriptionOf(QObject* object) {
    return Accessible(object)->text(QAccessible::Description);
}

} // namespace

class TAccessibleNamesTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetErrorDisplay([](const QString& message) { QFAIL(qPrintable(message)); });
        m_namespace.emplace();
        QVERIFY(QDir().mkpath(m_namespace->desk(QStringLiteral("work/inner"))));
        makeFiles(m_namespace->desk(QStringLiteral("files")), {"a.txt", "b.txt"});
        QVERIFY(openWindow());
    }

    void cleanupTestCase() { closeWindow(); }

    // Each edit by its label and box, and its arrows, where it has them, by both.
    void namesEachEditByItsLabel_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("upDown"); // empty: none
        const QString numbering = QStringLiteral("批量序号"), deleting = QStringLiteral("删除字符");
        QTest::newRow("Edit1") << "Edit1" << QStringLiteral("开始") << numbering << "UpDown1";
        QTest::newRow("Edit2") << "Edit2" << QStringLiteral("位数") << numbering << "UpDown2";
        QTest::newRow("Edit3") << "Edit3" << QStringLiteral("前字符") << numbering << "";
        QTest::newRow("Edit4") << "Edit4" << QStringLiteral("后字符") << numbering << "";
        QTest::newRow("Edit5") << "Edit5" << QStringLiteral("开始") << deleting << "UpDown3";
        QTest::newRow("Edit6") << "Edit6" << QStringLiteral("位数") << deleting << "UpDown4";
    }
    void namesEachEditByItsLabel() {
        QFETCH(QString, edit);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, upDown);
        auto* widget = child<QLineEdit>(qPrintable(edit));
        QCOMPARE(NameOf(widget), name);
        QCOMPARE(DescriptionOf(widget), description);
        // The label points at its edit, so a screen reader can also follow the relation.
        QStringList labelledBy;
        for (const auto& [label, relation] : Accessible(widget)->relations(QAccessible::Label))
            labelledBy << label->text(QAccessible::Name);
        QVERIFY2(labelledBy.contains(name), qPrintable(labelledBy.join(u',')));
        if (upDown.isEmpty()) return;
        const QString what = description + "：" + name;
        QAccessibleInterface* control = Accessible(child<QWidget>(qPrintable(upDown)));
        QCOMPARE(control->text(QAccessible::Name), what);
        QCOMPARE(control->childCount(), 2);
        const QStringList names{QStringLiteral("增加"), QStringLiteral("减少")};
        for (int i = 0; i < 2; ++i) {
            QAccessibleInterface* arrow = control->child(i);
            QCOMPARE(arrow->role(), QAccessible::Button);
            QCOMPARE(arrow->text(QAccessible::Name), names[i]);
            QCOMPARE(arrow->text(QAccessible::Description), what);
        }
        // Pressing 增加 through the accessible action steps the edit.
        QCOMPARE(child<TUpDown>(qPrintable(upDown))->buddy(), widget);
        const int before = widget->text().toInt();
        control->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(widget->text().toInt(), before + 1);
    }

    void namesThePanes() {
        QCOMPARE(NameOf(child<QWidget>("ShellTreeView1")), QStringLiteral("文件夹"));
        QAccessibleTableInterface* tree =
            Accessible(child<QWidget>("ShellTreeView1"))->tableInterface();
        QCOMPARE(tree->columnDescription(0), QStringLiteral("文件夹"));
        QCOMPARE(NameOf(child<QWidget>("ListView1")), QStringLiteral("文件列表"));
        QCOMPARE(NameOf(child<QWidget>("RzPanel1")), QStringLiteral("设置"));
        QCOMPARE(NameOf(child<QWidget>("StatusBar1")), child<QLabel>("StatusPanel")->text());
        QVERIFY(!NameOf(child<QWidget>("StatusBar1")).isEmpty());
        QCOMPARE(NameOf(child<QWidget>("Label3")), child<QLabel>("Label3")->text());
        QCOMPARE(DescriptionOf(child<QWidget>("Label3")), QStringLiteral("序号预览"));
    }

    // A second 应用改名 finds none of the entries the first renamed: every row fails.
    void describesAFailedRowByItsReason() {
        selectNode(QStringLiteral("files"));
        pressApply();
        pressApply();
        QAccessibleTableInterface* table =
            Accessible(child<QTreeView>("ListView1"))->tableInterface();
        QVERIFY(table);
        QTRY_COMPARE(table->rowCount(), 2); // the rows are laid out when the view next gets to it
        QAccessibleInterface* cell = table->cellAt(1, TEntryModel::NewNameColumn);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), newNameShown(1));
        QVERIFY(newNameShown(1).endsWith(QStringLiteral(" b.txt")));
        QCOMPARE(cell->text(QAccessible::Description), QStringLiteral("找不到文件或文件夹"));
        QVERIFY(
            table->cellAt(1, TEntryModel::OldNameColumn)->text(QAccessible::Description).isEmpty());
    }

    // Qt's tree cells offer no expand action of their own (only Toggle, which selects); a screen
    // reader learns from the states and expands with the keyboard.
    void reportsAFolderAsExpandableAndExpandsIt() {
        auto* tree = child<TShellTreeView>("ShellTreeView1");
        const QList<QTreeWidgetItem*> work =
            tree->findItems(QStringLiteral("work"), Qt::MatchRecursive);
        QCOMPARE(work.size(), 1);
        QAccessibleTableInterface* table = Accessible(tree)->tableInterface();
        const auto workCell = [&]() -> QAccessibleInterface* {
            for (int row = 0; row < table->rowCount(); ++row)
                if (QAccessibleInterface* cell = table->cellAt(row, 0);
                    cell && cell->text(QAccessible::Name) == QStringLiteral("work"))
                    return cell;
            return nullptr;
        };
        QVERIFY(workCell());
        QVERIFY(workCell()->state().expandable);
        QVERIFY(!workCell()->state().expanded);
        tree->setFocus();
        tree->setCurrentItem(work.first());
        QTest::keyClick(tree, Qt::Key_Right);
        QTRY_VERIFY(workCell() && workCell()->state().expanded);
        QCOMPARE(work.first()->childCount(), 1);
        QCOMPARE(table->cellAt(table->rowCount() - 1, 0)->text(QAccessible::Name),
                 QStringLiteral("inner"));
    }
};

QTEST_MAIN(TAccessibleNamesTest)
#include "accessible_names_test.moc"
