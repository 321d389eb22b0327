// The folder tree's branches: no lines and no button for the top node; below it, dotted lines
// join each node to its siblings and parent, and nodes with sub-folders show an expand button.
#include <QApplication>
#include <QTest>

#include "tests/ui/temp_namespace.h"
#include "ui/tree/shell_tree_view.h"

namespace {

QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& label) {
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->text(0) == label) return node->child(i);
    return nullptr;
}

// How many pixels of the colour `color` lie in `area` of `image`.
int Count(const QImage& image, const QRect& area, QRgb color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == color;
    return count;
}

} // namespace

class TShellTreeLinesTest : public QObject {
    Q_OBJECT
private slots:
    void drawsLinesAndButtonsBelowTheTopNode() {
        const TTempNamespace shellNamespace;
        QVERIFY(QDir().mkpath(shellNamespace.desk(QStringLiteral("b/inner"))));
        QVERIFY(QDir().mkpath(shellNamespace.desk(QStringLiteral("c"))));
        TShellTreeView tree;
        tree.resize(300, 400);
        tree.buildRoot();
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QTreeWidgetItem* top = tree.topLevelItem(0);
        QTreeWidgetItem* withSubFolder = Child(top, QStringLiteral("b"));
        QTreeWidgetItem* leaf = Child(top, QStringLiteral("c"));
        QVERIFY(withSubFolder && leaf);
        // A shell may mark every folder as having sub-folders (Wine's does); the first expansion
        // of a folder without any takes its button away.
        leaf->setExpanded(true);

        const QImage image = tree.viewport()->grab().toImage();
        const QRgb line = tree.palette().color(QPalette::Dark).rgb();
        const auto branchOf = [&](QTreeWidgetItem* node) {
            const QRect item = tree.visualItemRect(node);
            return QRect(item.left() - tree.indentation(), item.top(), tree.indentation(),
                         item.height());
        };
        const QRect topRow = tree.visualItemRect(top);
        QCOMPARE(Count(image, QRect(0, topRow.top(), topRow.left() + 1, topRow.height()), line), 0);
        // A leaf: a dotted vertical line through its row and a dotted elbow to its label.
        const QRect leafBranch = branchOf(leaf);
        const int middle = leafBranch.left() + leafBranch.width() / 2;
        const int lineRows =
            Count(image, QRect(middle, leafBranch.top(), 1, leafBranch.height() / 2), line);
        QVERIFY2(lineRows >= leafBranch.height() / 4 - 1, qPrintable(QString::number(lineRows)));
        QVERIFY(Count(image,
                      QRect(middle + 1, leafBranch.top() + leafBranch.height() / 2,
                            leafBranch.width() / 2, 1),
                      line) >= leafBranch.width() / 4 - 1);
        // A node with a sub-folder: its expand button is a box drawn in the line colour.
        QVERIFY(Count(image, branchOf(withSubFolder), line) > Count(image, leafBranch, line) + 10);
    }
};

QTEST_MAIN(TShellTreeLinesTest)

#include "shell_tree_lines_test.moc"
