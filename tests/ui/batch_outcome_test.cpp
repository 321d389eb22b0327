// The status bar's words for the end of a batch and of an undo.
#include <QtTest>

#include "ui/window/batch_outcome.h"

namespace {

std::vector<engine::TFolderEntry> Rows(int renamed, int unchanged, int failed, int notRun) {
    std::vector<engine::TFolderEntry> rows;
    const auto add = [&rows](int count, engine::TRenameStatus status) {
        for (int i = 0; i < count; ++i) {
            rows.emplace_back();
            rows.back().Status = status;
        }
    };
    add(notRun, engine::TRenameStatus::NotRun); // the order of the rows does not matter
    add(failed, engine::TRenameStatus::Failed);
    add(renamed, engine::TRenameStatus::Renamed);
    add(unchanged, engine::TRenameStatus::Skipped);
    return rows;
}

} // namespace

class TBatchOutcomeTest : public QObject {
    Q_OBJECT
private slots:
    void tellsTheCountsThatAreNotZero_data() {
        QTest::addColumn<int>("renamed");
        QTest::addColumn<int>("unchanged");
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("notRun");
        QTest::addColumn<QString>("text");
        QTest::newRow("stopped with failures")
            << 11840 << 0 << 3 << 18160
            << "已改名 11,840 个，失败 3 个，未处理 18,160 个（已取消）— Ctrl+Z 撤销";
        QTest::newRow("everything renamed") << 12 << 0 << 0 << 0 << "已改名 12 个 — Ctrl+Z 撤销";
        QTest::newRow("some failed")
            << 1000 << 0 << 1 << 0 << "已改名 1,000 个，失败 1 个 — Ctrl+Z 撤销";
        QTest::newRow("nothing to undo") << 0 << 0 << 4 << 0 << "失败 4 个";
        QTest::newRow("stopped before the first row")
            << 0 << 0 << 0 << 7 << "未处理 7 个（已取消）";
        QTest::newRow("names already as wanted") << 0 << 5 << 0 << 0 << "名称未变 5 个";
        QTest::newRow("some already as wanted")
            << 2 << 1 << 0 << 0 << "已改名 2 个，名称未变 1 个 — Ctrl+Z 撤销";
        QTest::newRow("empty folder") << 0 << 0 << 0 << 0 << "已改名 0 个";
    }
    void tellsTheCountsThatAreNotZero() {
        QFETCH(int, renamed);
        QFETCH(int, unchanged);
        QFETCH(int, failed);
        QFETCH(int, notRun);
        QFETCH(QString, text);
        QCOMPARE(BatchOutcomeText(CountOutcome(Rows(renamed, unchanged, failed, notRun))), text);
    }

    void tellsAnUndoLikewise_data() {
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<QString>("text");
        QTest::newRow("all back") << QList<int>{0, 0, 0} << "撤销改名：改回 3 个";
        QTest::newRow("one stayed") << QList<int>{0, EEXIST, 0} << "撤销改名：改回 2 个，失败 1 个";
        QTest::newRow("none back") << QList<int>{ENOENT} << "撤销改名：失败 1 个";
        QTest::newRow("nothing to take back") << QList<int>{} << "撤销改名：改回 0 个";
    }
    void tellsAnUndoLikewise() {
        QFETCH(QList<int>, errors);
        engine::TUndoResult result;
        for (const int error : errors)
            result.Rows.push_back({"from", "to", error});
        QTEST(UndoOutcomeText(result), "text");
    }
};

QTEST_GUILESS_MAIN(TBatchOutcomeTest)
#include "batch_outcome_test.moc"
