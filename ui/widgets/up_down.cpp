#include "ui/widgets/up_down.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace {

QToolButton* MakeArrow(QWidget* parent, const char* name, Qt::ArrowType arrow,
                       const QString& spokenName) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(spokenName);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), m_up(MakeArrow(this, "up", Qt::UpArrow, QStringLiteral("增加"))),
      m_down(MakeArrow(this, "down", Qt::DownArrow, QStringLiteral("减少"))) {
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void TUpDown::setPosition(int position) {
    m_position = std::clamp(position, Minimum, Maximum);
    writePosition();
}

void TUpDown::setBuddy(QLineEdit* edit) {
    if (m_buddy) m_buddy->removeEventFilter(this);
    m_buddy = edit;
    if (!m_buddy) return;
    m_buddy->installEventFilter(this);
    writePosition();
}

void TUpDown::stepBy(int steps) {
    int start = m_position;
    if (m_buddy) {
        bool isNumber = false;
        const int typed = m_buddy->text().trimmed().toInt(&isNumber);
        if (isNumber) start = typed;
    }
    setPosition(std::clamp(start, Minimum, Maximum) + steps);
}

void TUpDown::describe(const QString& what) {
    setAccessibleName(what);
    m_up->setAccessibleDescription(what);
    m_down->setAccessibleDescription(what);
}

void TUpDown::writePosition() {
    const QString digits = QString::number(m_position);
    if (m_buddy && m_buddy->text() != digits) m_buddy->setText(digits);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent*) {
    const int upperHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upperHeight);
    m_down->setGeometry(0, upperHeight, width(), height() - upperHeight);
}
