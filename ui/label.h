#pragma once
// A label that sizes itself to its caption.

#include <QLabel>

class TLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setCaption(const QString& caption) {
        setText(caption);
        adjustSize();
    }
};
