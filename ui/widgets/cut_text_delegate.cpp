#include "ui/widgets/cut_text_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

bool TCutTextDelegate::isCut(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return index.isValid() && !index.data(Qt::DisplayRole).toString().isEmpty() &&
           sizeHint(option, index).width() > option.rect.width();
}

bool TCutTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid() ||
        index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (isCut(option, index))
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(),
                           view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}
