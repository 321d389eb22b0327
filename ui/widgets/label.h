#pragma once
// A label that sizes itself to its caption, one line of text height high, and shows the
// caption exactly as given: a caption built from typed text ("<b>", "&") is never read as
// markup.

#include <QLabel>

#include "ui/widgets/text_height.h"

class TLabel : public QLabel {
public:
    explicit TLabel(QWidget* parent = nullptr) : QLabel(parent) { setTextFormat(Qt::PlainText); }
    void setCaption(const QString& caption) {
        setText(caption);
        resize(sizeHint().width(), TextHeight(font()));
    }
};
