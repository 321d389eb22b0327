#pragma once
// The rows of the file list: one engine::TFolderEntry per row, four columns. Names stay raw
// bytes; they are decoded for display only.

#include <cstddef>

#include <QAbstractTableModel>
#include <QIcon>
#include <QTimer>

#include "engine/engine.h"
#include "ui/widgets/image_list.h"

class TEntryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OldNameColumn, NewNameColumn, TypeColumn, ModifiedColumn, ColumnCount };

    explicit TEntryModel(QObject* parent = nullptr);
    // The pictures of the rows, by ImageIndex. The model keeps its own copy: the window's
    // list goes away before the views stop asking for pictures.
    void setImages(const TImageList& images);

    // Replaces the folder and all rows at once.
    void setListing(engine::TFolderListing&& listing);
    // Replaces the folder and the rows, showing the rows a chunk per turn of the event loop so
    // a large folder never holds the window still; revealed() comes after the last chunk.
    // Returns the listing replaced: freeing many rows takes time the caller may spend elsewhere.
    engine::TFolderListing setListingInChunks(engine::TFolderListing&& listing);
    bool revealing() const { return m_shownRows < m_listing.Rows.size(); }
    const engine::TFolderListing& listing() const { return m_listing; }
    const std::vector<engine::TFolderEntry>& rows() const { return m_listing.Rows; }
    // Lists `path` when it names a folder; any other text keeps the folder and rows as they are.
    void listFolder(const std::string& path, const engine::TFormatSettings& settings);
    // Marks the rows an undo could not take back like failed renames: the row listed under the
    // undo's From shows the name it should have gone back to, with the reason. Returns the
    // failures that match no row (their entry is gone, or lies in another folder).
    std::vector<engine::TUndoRow> markFailedUndo(const engine::TUndoResult& undo);
    // One dataChanged over the whole "新名称" column.
    void newNamesChanged();

    // A batch on another thread writes the rows' new names: beginBatch() clears them and hands
    // out the listing, which must then keep its rows until endBatch(). Only the first `done`
    // rows, given by settleRows(), are read again before endBatch(); the others show as not run.
    engine::TFolderListing& beginBatch();
    void settleRows(std::size_t done);
    void endBatch();
    bool inBatch() const { return m_inBatch; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void revealed();
    // The user gave a row another old name in place.
    void oldNameEdited();

private:
    void revealChunk();
    bool settled(const QModelIndex& index) const;
    const engine::TFolderEntry& entry(const QModelIndex& index) const;
    QVariant failureMark(const engine::TFolderEntry& row, int role) const;

    TImageList m_images;
    engine::TFolderListing m_listing;
    std::size_t m_shownRows = 0; // rows the views know of; the rest come chunk by chunk
    bool m_inBatch = false;
    std::size_t m_settledRows = 0; // during a batch: rows whose new name is final
    QTimer m_chunkTimer;
    mutable QIcon m_failedIcon;
};
