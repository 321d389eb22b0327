#pragma once
// Two arrow buttons bound to an edit: each step writes the new position as plain decimal
// digits into the edit, within 0..100 and without wrapping. The edit's Up and Down keys step
// too. A step starts from the edit's number when it holds one, else from the last position.
// A screen reader sees the arrows as two buttons, 增加 and 减少.

#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    static constexpr int Minimum = 0;
    static constexpr int Maximum = 100;

    explicit TUpDown(QWidget* parent = nullptr);
    int position() const { return m_position; }
    void setPosition(int position);
    // Writes the position into the edit only when its text differs.
    void setBuddy(QLineEdit* edit);
    QLineEdit* buddy() const { return m_buddy; }
    void stepBy(int steps);
    // Tells a screen reader what the arrows change: `what` names the up-down and describes its
    // two arrows, which are named 增加 and 减少.
    void describe(const QString& what);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void writePosition();

    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_buddy = nullptr;
    int m_position = 0;
};
