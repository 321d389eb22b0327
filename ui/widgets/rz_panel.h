#pragma once
// The bottom strip: an etched groove two pixels wide around a vertical colour run from the
// window colour at the top to the button face darkened by 10 at the bottom.

#include <QWidget>

class TRzPanel : public QWidget {
    Q_OBJECT
public:
    explicit TRzPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintGroove(QPainter& painter) const;
    void paintGradient(QPainter& painter) const;
};
