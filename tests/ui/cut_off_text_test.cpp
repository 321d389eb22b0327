// Texts that don't fit where the window shows them: list cells and the preview label, under
// Chinese regional settings.
#include <ctime>

#include <QDateTime>
#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

#include "tests/ui/scoped_environment.h"
#include "tests/ui/window_fixture.h"

namespace {

const QString LongName = QStringLiteral("a-name-far-too-long-to-be-shown-whole-in-its-column.txt");

// Asks `widget` for the tool tip at `at` as a resting pointer would.
void RequestTip(QWidget* widget, QPoint at) {
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &help);
}

} // namespace

class TCutOffTextTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetErrorDisplay([](const QString& message) { QFAIL(qPrintable(message)); });
        m_timeZone.emplace("TZ", "UTC");
        ::tzset();
        m_locale.emplace("LC_ALL", "zh_CN.UTF-8");
        m_namespace.emplace();
        for (const QString& name : {LongName, QStringLiteral("b.txt")}) {
            QFile file(m_namespace->desk(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 17), Qt::UTC),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(openWindow(RegionalSettingsOf(QLocale(QStringLiteral("zh_CN")))));
        m_list = m_window->findChild<QTreeView*>(QStringLiteral("ListView1"));
        QCOMPARE(m_list->model()->rowCount(), 2);
    }

    void init() {
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void cleanupTestCase() {
        closeWindow();
        m_locale.reset();
        m_timeZone.reset();
        ::tzset();
    }

    void aCutCellShowsItsWholeText() {
        QCOMPARE(cell(0, TEntryModel::OldNameColumn).data().toString(), LongName);
        requestCellTip(0, TEntryModel::OldNameColumn);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), LongName); // a text that fits is cut_text_delegate_test's
    }

    void theChineseModificationTimeFits() {
        const QModelIndex modified = cell(0, TEntryModel::ModifiedColumn);
        QCOMPARE(modified.data().toString(), QStringLiteral("2026/12/7 12:00:17"));
        requestCellTip(0, TEntryModel::ModifiedColumn);
        QVERIFY(!QToolTip::isVisible());
    }

    void theClippedPreviewShowsItsWholeText() {
        auto* label3 = m_window->findChild<QLabel*>(QStringLiteral("Label3"));
        typeInto("Edit2", QStringLiteral("1"));
        typeInto("Edit3", QStringLiteral("x"));
        QCOMPARE(label3->text(), QStringLiteral("例：x1 "));
        RequestTip(label3, {2, label3->height() / 2});
        QVERIFY(!QToolTip::isVisible());
        typeInto("Edit3", QStringLiteral("a leading text far too long for the box"));
        const QString whole = QStringLiteral("例：a leading text far too long for the box1 ");
        QCOMPARE(label3->text(), whole);
        RequestTip(label3, {2, label3->height() / 2});
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), whole);
    }

private:
    QModelIndex cell(int row, int column) const { return m_list->model()->index(row, column); }
    void requestCellTip(int row, int column) {
        RequestTip(m_list->viewport(), m_list->visualRect(cell(row, column)).center());
    }

    std::optional<TScopedVariable> m_timeZone, m_locale;
    QTreeView* m_list = nullptr;
};

QTEST_MAIN(TCutOffTextTest)
#include "cut_off_text_test.moc"
