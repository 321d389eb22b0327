#include <QHeaderView>
#include <QHelpEvent>
#include <QStandardItemModel>
#include <QToolTip>
#include <QTreeView>
#include <QtTest>

#include "ui/widgets/cut_text_delegate.h"

class TCutTextDelegateTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        m_model.setItem(0, 0, new QStandardItem(QStringLiteral("short")));
        m_model.setItem(0, 1,
                        new QStandardItem(QStringLiteral("a text far too long for its cell")));
        auto* reasoned =
            new QStandardItem(QStringLiteral("another text far too long for its cell"));
        reasoned->setToolTip(QStringLiteral("目标已存在"));
        m_model.setItem(0, 2, reasoned);
        m_model.setItem(0, 3, new QStandardItem(QString()));
        m_view.setModel(&m_model);
        m_view.setItemDelegate(new TCutTextDelegate(&m_view));
        m_view.setRootIsDecorated(false);
        for (int column = 0; column < m_model.columnCount(); ++column)
            m_view.header()->resizeSection(column, 80);
        m_view.resize(400, 200);
        m_view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_view));
    }

    void showsTheWholeTextOfCutCellsOnly_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("tip"); // empty: no tip at all
        QTest::newRow("a text that fits") << 0 << QString();
        QTest::newRow("a cut text") << 1 << QStringLiteral("a text far too long for its cell");
        QTest::newRow("the model's own tip first") << 2 << QStringLiteral("目标已存在");
        QTest::newRow("an empty cell") << 3 << QString();
    }
    void showsTheWholeTextOfCutCellsOnly() {
        QFETCH(int, column);
        QFETCH(QString, tip);
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        const QPoint at = m_view.visualRect(m_model.index(0, column)).center();
        QHelpEvent help(QEvent::ToolTip, at, m_view.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(m_view.viewport(), &help);
        QCOMPARE(QToolTip::isVisible(), !tip.isEmpty());
        if (!tip.isEmpty()) QCOMPARE(QToolTip::text(), tip);
    }

private:
    QStandardItemModel m_model{1, 4};
    QTreeView m_view;
};

QTEST_MAIN(TCutTextDelegateTest)
#include "cut_text_delegate_test.moc"
