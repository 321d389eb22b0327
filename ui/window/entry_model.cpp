#include "ui/window/entry_model.h"

#include <string_view>
#include <unordered_map>

#include <QApplication>
#include <QColor>
#include <QScopeGuard>
#include <QStyle>

#include "ui/widgets/image_list.h"

namespace {

QString Shown(const std::string& bytes) {
    // Invalid UTF-8 shows as U+FFFD; the text is never turned back into a name.
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

TEntryModel::TEntryModel(QObject* parent)
    : QAbstractTableModel(parent),
      m_failedIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)) {}

void TEntryModel::setImages(const TImageList& images) {
    m_images = images;
    if (!m_listing.Rows.empty())
        emit dataChanged(index(0, OldNameColumn), index(rowCount() - 1, OldNameColumn),
                         {Qt::DecorationRole});
}

void TEntryModel::listFolder(const std::string& path, const engine::TFormatSettings& settings) {
    engine::TFolderListing listing;
    engine::ListFolder(listing, path, settings);
    if (listing.CurrentFolder.empty()) return; // not a folder's path: nothing changes
    setListing(std::move(listing));
}

void TEntryModel::applyRenames(const engine::TRenameSettings& settings,
                               const engine::TBatchControl& control) {
    const auto showNewNames = qScopeGuard([this] { newNamesChanged(); });
    engine::ApplyRenames(m_listing, settings, control);
}

std::vector<engine::TUndoRow> TEntryModel::markFailedUndo(const engine::TUndoResult& undo) {
    std::unordered_map<std::string_view, engine::TFolderEntry*> rowsByName;
    if (undo.Folder == m_listing.CurrentFolder)
        for (engine::TFolderEntry& row : m_listing.Rows)
            rowsByName.emplace(row.OldName, &row);
    std::vector<engine::TUndoRow> unmarked;
    for (const engine::TUndoRow& failed : undo.Rows) {
        if (failed.Error == 0) continue;
        const auto found = rowsByName.find(failed.From);
        if (found == rowsByName.end()) {
            unmarked.push_back(failed);
            continue;
        }
        found->second->NewName = failed.To;
        found->second->Status = engine::TRenameStatus::Failed;
        found->second->Error = failed.Error;
    }
    newNamesChanged();
    return unmarked;
}

void TEntryModel::setListing(engine::TFolderListing&& listing) {
    beginResetModel();
    m_listing = std::move(listing);
    endResetModel();
}

void TEntryModel::newNamesChanged() {
    if (m_listing.Rows.empty()) return;
    emit dataChanged(index(0, NewNameColumn), index(rowCount() - 1, NewNameColumn));
}

int TEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_listing.Rows.size());
}

int TEntryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const engine::TFolderEntry& TEntryModel::entry(const QModelIndex& index) const {
    return m_listing.Rows[static_cast<std::size_t>(index.row())];
}

QVariant TEntryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const engine::TFolderEntry& row = entry(index);
    if (role == Qt::DecorationRole && index.column() == OldNameColumn)
        return m_images.icon(row.ImageIndex);
    if (index.column() == NewNameColumn && row.Status == engine::TRenameStatus::Failed &&
        role != Qt::DisplayRole && role != Qt::EditRole)
        return failureMark(row, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case OldNameColumn:
        return Shown(row.OldName);
    case NewNameColumn:
        return Shown(row.NewName);
    case TypeColumn:
        return Shown(row.TypeText);
    case ModifiedColumn:
        return Shown(row.ModifiedText);
    default:
        return {};
    }
}

// A failed rename shows its composed name in red with a warning icon and the reason as tip.
QVariant TEntryModel::failureMark(const engine::TFolderEntry& row, int role) const {
    switch (role) {
    case Qt::ForegroundRole:
        return QColor(Qt::red);
    case Qt::DecorationRole:
        return m_failedIcon;
    case Qt::ToolTipRole:
        return QString::fromStdString(engine::RenameFailureText(row.Error));
    default:
        return {};
    }
}

bool TEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != OldNameColumn ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    engine::TFolderEntry& row = m_listing.Rows[static_cast<std::size_t>(index.row())];
    const QString typed = value.toString();
    // An edit committed unchanged must keep a name whose bytes are not valid UTF-8.
    if (typed == Shown(row.OldName)) return true;
    row.OldName = typed.toStdString();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TEntryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == OldNameColumn) result |= Qt::ItemIsEditable;
    return result;
}

QVariant TEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case OldNameColumn:
        return QStringLiteral("旧名称");
    case NewNameColumn:
        return QStringLiteral("新名称");
    case TypeColumn:
        return QStringLiteral("类型");
    case ModifiedColumn:
        return QStringLiteral("修改时间");
    default:
        return {};
    }
}
