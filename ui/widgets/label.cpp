#include "ui/widgets/label.h"

#include <QHelpEvent>
#include <QToolTip>

bool TLabel::isClipped() const {
    const QWidget* parent = parentWidget();
    return parent && !parent->rect().contains(geometry());
}

bool TLabel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !toolTip().isEmpty() || !isClipped())
        return QLabel::event(event);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this, rect());
    return true;
}
