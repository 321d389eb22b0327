#pragma once
// A captioned group of radio items in columns, with one selected index (−1 for none).
// The group is one tab stop; the arrow keys move the mark.

#include <QList>

#include "ui/widgets/group_box.h"

class QRadioButton;

class TRadioGroup : public TGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(const QString& title, QWidget* parent = nullptr);
    void setItems(const QStringList& items);
    void setColumns(int columns);
    int itemCount() const { return static_cast<int>(m_buttons.size()); }
    int itemIndex() const { return m_itemIndex; }
    // Clamped to −1 … itemCount() − 1; an unchanged index does nothing.
    void setItemIndex(int index);

signals:
    void itemIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void placeItems();
    void onItemToggled(int index, bool checked);

    QList<QRadioButton*> m_buttons;
    int m_columns = 1;
    int m_itemIndex = -1;
};
