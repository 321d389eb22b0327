#pragma once
// Draws item view cells as usual; a cell whose text does not fit shows its whole text as a
// tool tip, unless the model gives the cell a tool tip of its own.

#include <QStyledItemDelegate>

class TCutTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether the cell at `index`, drawn in `option.rect`, shows less than its whole text.
    bool isCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
