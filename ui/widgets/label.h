#pragma once
// A label that sizes itself to its caption and shows it exactly as given: a caption built from
// typed text ("<b>", "&") is never read as markup.

#include <QLabel>

class TLabel : public QLabel {
public:
    explicit TLabel(QWidget* parent = nullptr) : QLabel(parent) { setTextFormat(Qt::PlainText); }
    void setCaption(const QString& caption) {
        setText(caption);
        adjustSize();
    }
};
