#include "ui/widgets/radio_group.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionFocusRect>

#include "ui/widgets/text_height.h"

TRadioGroup::TRadioGroup(const QString& title, QWidget* parent) : TGroupBox(title, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void TRadioGroup::setItems(const QStringList& items) {
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_itemIndex = -1;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QRadioButton::toggled, this,
                [this, i](bool checked) { onItemToggled(i, checked); });
        connect(button, &QRadioButton::clicked, this, [this] { setFocus(Qt::MouseFocusReason); });
        m_buttons.append(button);
    }
    placeItems();
}

void TRadioGroup::setColumns(int columns) {
    m_columns = std::max(columns, 1);
    placeItems();
}

void TRadioGroup::setItemIndex(int index) {
    index = std::clamp(index, -1, itemCount() - 1);
    if (index == m_itemIndex) return;
    if (m_itemIndex >= 0) {
        QRadioButton* old = m_buttons[m_itemIndex];
        old->setAutoExclusive(false);
        old->setChecked(false);
        old->setAutoExclusive(true);
    }
    m_itemIndex = index;
    if (index >= 0) m_buttons[index]->setChecked(true);
    update();
    emit itemIndexChanged(index);
}

void TRadioGroup::onItemToggled(int index, bool checked) {
    if (checked && index != m_itemIndex) {
        m_itemIndex = index;
        update();
    }
}

// Columns share the width less 10 pixels; the row starts one pixel below the caption's text
// height and takes the rest of the group less 5 pixels.
void TRadioGroup::placeItems() {
    if (m_buttons.isEmpty()) return;
    const int textHeight = TextHeight(font());
    const int columnWidth = (width() - 10) / m_columns;
    const int rowCount = (itemCount() + m_columns - 1) / m_columns;
    const int rowHeight = (height() - textHeight - 5) / rowCount;
    for (int i = 0; i < itemCount(); ++i) {
        const int column = i / rowCount;
        const int row = i % rowCount;
        m_buttons[i]->setGeometry(8 + columnWidth * column, textHeight + 1 + rowHeight * row,
                                  columnWidth, rowHeight);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    TGroupBox::resizeEvent(event);
    placeItems();
}

void TRadioGroup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        setItemIndex(std::max(m_itemIndex - 1, 0));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        setItemIndex(m_itemIndex + 1);
        break;
    default:
        TGroupBox::keyPressEvent(event);
    }
}

void TRadioGroup::paintEvent(QPaintEvent* event) {
    TGroupBox::paintEvent(event);
    if (!hasFocus()) return;
    const QWidget* marked = m_itemIndex >= 0 ? m_buttons[m_itemIndex] : nullptr;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = marked ? marked->geometry() : contentsRect();
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void TRadioGroup::focusInEvent(QFocusEvent* event) {
    TGroupBox::focusInEvent(event);
    update();
}

void TRadioGroup::focusOutEvent(QFocusEvent* event) {
    TGroupBox::focusOutEvent(event);
    update();
}
