#include "ui/window/entry_model.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include <QApplication>
#include <QColor>
#include <QStyle>

#include "ui/widgets/image_list.h"
#include "ui/widgets/text.h"

namespace {

// Rows handed to the views per turn of the event loop while a large listing is shown.
constexpr std::size_t ChunkRows = 10000;

} // namespace

TEntryModel::TEntryModel(QObject* parent) : QAbstractTableModel(parent) {
    m_chunkTimer.setInterval(0);
    connect(&m_chunkTimer, &QTimer::timeout, this, &TEntryModel::revealChunk);
}

void TEntryModel::setImages(const TImageList& images) {
    m_images = images;
    if (rowCount() > 0)
        emit dataChanged(index(0, OldNameColumn), index(rowCount() - 1, OldNameColumn),
                         {Qt::DecorationRole});
}

void TEntryModel::listFolder(const std::string& path, const engine::TFormatSettings& settings) {
    engine::TFolderListing listing;
    engine::ListFolder(listing, path, settings);
    if (listing.CurrentFolder.empty()) return; // not a folder's path: nothing changes
    setListing(std::move(listing));
}

std::vector<engine::TUndoRow> TEntryModel::markFailedUndo(const engine::TUndoResult& undo) {
    const bool anyFailed = std::any_of(undo.Rows.begin(), undo.Rows.end(),
                                       [](const engine::TUndoRow& row) { return row.Error != 0; });
    // The rows are looked up only for a failure: a large folder undone whole costs no index.
    std::unordered_map<std::string_view, engine::TFolderEntry*> rowsByName;
    if (anyFailed && undo.Folder == m_listing.CurrentFolder)
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
    Q_ASSERT(!m_inBatch);
    m_chunkTimer.stop();
    beginResetModel();
    m_listing = std::move(listing);
    m_shownRows = m_listing.Rows.size();
    endResetModel();
}

engine::TFolderListing TEntryModel::setListingInChunks(engine::TFolderListing&& listing) {
    Q_ASSERT(!m_inBatch);
    m_chunkTimer.stop();
    beginResetModel();
    engine::TFolderListing replaced = std::exchange(m_listing, std::move(listing));
    m_shownRows = std::min(m_listing.Rows.size(), ChunkRows);
    endResetModel();
    if (revealing())
        m_chunkTimer.start();
    else
        emit revealed();
    return replaced;
}

void TEntryModel::revealChunk() {
    const std::size_t end = std::min(m_listing.Rows.size(), m_shownRows + ChunkRows);
    beginInsertRows({}, static_cast<int>(m_shownRows), static_cast<int>(end) - 1);
    m_shownRows = end;
    endInsertRows();
    if (revealing()) return;
    m_chunkTimer.stop();
    emit revealed();
}

engine::TFolderListing& TEntryModel::beginBatch() {
    Q_ASSERT(!m_inBatch && !revealing());
    for (engine::TFolderEntry& row : m_listing.Rows) {
        row.NewName.clear();
        row.Status = engine::TRenameStatus::NotRun;
        row.Error = 0;
    }
    m_inBatch = true;
    m_settledRows = 0;
    newNamesChanged();
    return m_listing;
}

void TEntryModel::settleRows(std::size_t done) {
    if (!m_inBatch || done <= m_settledRows) return;
    const std::size_t first = m_settledRows;
    m_settledRows = std::min(done, m_listing.Rows.size());
    emit dataChanged(index(static_cast<int>(first), NewNameColumn),
                     index(static_cast<int>(m_settledRows) - 1, NewNameColumn));
}

void TEntryModel::endBatch() {
    settleRows(m_listing.Rows.size());
    m_inBatch = false;
}

bool TEntryModel::settled(const QModelIndex& index) const {
    return !m_inBatch || static_cast<std::size_t>(index.row()) < m_settledRows;
}

void TEntryModel::newNamesChanged() {
    if (rowCount() == 0) return;
    emit dataChanged(index(0, NewNameColumn), index(rowCount() - 1, NewNameColumn));
}

int TEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shownRows);
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
    // A row the running batch has not finished shows as not run: no new name yet.
    if (index.column() == NewNameColumn && !settled(index)) return {};
    if (index.column() == NewNameColumn && row.Status == engine::TRenameStatus::Failed &&
        role != Qt::DisplayRole && role != Qt::EditRole)
        return failureMark(row, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case OldNameColumn:
        return TextOf(row.OldName);
    case NewNameColumn:
        return TextOf(row.NewName);
    case TypeColumn:
        return TextOf(row.TypeText);
    case ModifiedColumn:
        return TextOf(row.ModifiedText);
    default:
        return {};
    }
}

// A failed rename shows its composed name in red with a warning icon; the reason is its tip
// and what a screen reader says after the name.
QVariant TEntryModel::failureMark(const engine::TFolderEntry& row, int role) const {
    switch (role) {
    case Qt::ForegroundRole:
        return QColor(Qt::red);
    case Qt::DecorationRole:
        // Looked up on the first failure: the icon theme is not read before the first paint.
        if (m_failedIcon.isNull())
            m_failedIcon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return m_failedIcon;
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return QString::fromStdString(engine::RenameFailureText(row.Error));
    default:
        return {};
    }
}

bool TEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != OldNameColumn || m_inBatch ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    engine::TFolderEntry& row = m_listing.Rows[static_cast<std::size_t>(index.row())];
    const QString typed = value.toString();
    // An edit committed unchanged must keep a name whose bytes are not valid UTF-8.
    if (typed == TextOf(row.OldName)) return true;
    row.OldName = typed.toStdString();
    engine::RelistIdentity(m_listing.CurrentFolder, row);
    emit dataChanged(index, index);
    emit oldNameEdited();
    return true;
}

Qt::ItemFlags TEntryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == OldNameColumn && !m_inBatch) result |= Qt::ItemIsEditable;
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
