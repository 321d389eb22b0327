#include "ui/window/batch_status.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QStatusBar>

namespace {

constexpr int BarSteps = 1000;

// 12,345: grouped in threes whatever the locale, as the status text is written.
QString Grouped(std::size_t count) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(count));
}

} // namespace

TBatchStatus::TBatchStatus(QStatusBar* bar, QWidget* credit, QObject* parent)
    : QObject(parent), m_credit(credit), m_text(new QLabel(bar)), m_bar(new QProgressBar(bar)) {
    m_text->setObjectName(QStringLiteral("BatchProgressText"));
    m_bar->setObjectName(QStringLiteral("BatchProgressBar"));
    m_bar->setRange(0, BarSteps);
    m_bar->setTextVisible(false);
    bar->addWidget(m_text, 1);
    bar->addWidget(m_bar, 1);
    m_text->hide();
    m_bar->hide();
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(ShowAfterMilliseconds);
    connect(&m_showTimer, &QTimer::timeout, this, &TBatchStatus::showProgress);
}

void TBatchStatus::start(std::size_t total) {
    m_done = 0;
    m_total = total;
    m_showTimer.start();
}

void TBatchStatus::progress(std::size_t done, std::size_t total) {
    m_done = done;
    m_total = total;
    if (m_bar->isVisible()) update();
}

void TBatchStatus::showProgress() {
    update();
    m_credit->hide();
    m_text->show();
    m_bar->show();
}

void TBatchStatus::update() {
    m_text->setText(
        QStringLiteral("正在改名 %1 / %2 — Esc 取消").arg(Grouped(m_done), Grouped(m_total)));
    m_bar->setValue(m_total == 0 ? 0 : static_cast<int>(m_done * BarSteps / m_total));
}

void TBatchStatus::finish() {
    m_showTimer.stop();
    m_text->hide();
    m_bar->hide();
    m_credit->show();
}
