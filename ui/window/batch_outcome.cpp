#include "ui/window/batch_outcome.h"

#include <QLocale>
#include <QStringList>

namespace {

QString Count(const QString& pattern, std::size_t count) {
    return pattern.arg(GroupedCount(count));
}

} // namespace

QString GroupedCount(std::size_t count) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(count));
}

TBatchOutcome CountOutcome(const std::vector<engine::TFolderEntry>& rows) {
    TBatchOutcome outcome;
    for (const engine::TFolderEntry& row : rows) {
        switch (row.Status) {
        case engine::TRenameStatus::Renamed:
            ++outcome.Renamed;
            break;
        case engine::TRenameStatus::Skipped:
            ++outcome.Unchanged;
            break;
        case engine::TRenameStatus::Failed:
            ++outcome.Failed;
            break;
        case engine::TRenameStatus::NotRun:
            ++outcome.NotRun;
            break;
        }
    }
    return outcome;
}

// The closing bracket of «（已取消）» is wide enough to stand against the dash.
QString BatchOutcomeText(const TBatchOutcome& outcome) {
    QStringList counts;
    if (outcome.Renamed) counts << Count(QStringLiteral("已改名 %1 个"), outcome.Renamed);
    if (outcome.Unchanged) counts << Count(QStringLiteral("名称未变 %1 个"), outcome.Unchanged);
    if (outcome.Failed) counts << Count(QStringLiteral("失败 %1 个"), outcome.Failed);
    if (outcome.NotRun) counts << Count(QStringLiteral("未处理 %1 个"), outcome.NotRun);
    if (counts.isEmpty()) counts << Count(QStringLiteral("已改名 %1 个"), 0);
    QString text = counts.join(QStringLiteral("，"));
    if (outcome.NotRun) text += QStringLiteral("（已取消）");
    if (outcome.Renamed)
        text +=
            (outcome.NotRun ? QString() : QStringLiteral(" ")) + QStringLiteral("— Ctrl+Z 撤销");
    return text;
}

QString UndoOutcomeText(const engine::TUndoResult& result) {
    std::size_t back = 0, failed = 0;
    for (const engine::TUndoRow& row : result.Rows)
        ++(row.Error == 0 ? back : failed);
    QStringList counts;
    if (back || !failed) counts << Count(QStringLiteral("改回 %1 个"), back);
    if (failed) counts << Count(QStringLiteral("失败 %1 个"), failed);
    return QStringLiteral("撤销改名：") + counts.join(QStringLiteral("，"));
}
