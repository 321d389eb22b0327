#include "ui/window/batch_status.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "ui/window/batch_outcome.h"

namespace {

constexpr int BarSteps = 1000;

} // namespace

TBatchStatus::TBatchStatus(QStatusBar* bar, QLabel* credit, QObject* parent)
    : QObject(parent), m_statusBar(bar), m_credit(credit), m_text(new QLabel(bar)),
      m_bar(new QProgressBar(bar)) {
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

void TBatchStatus::start(std::size_t total, TWork work) {
    clearOutcome();
    m_done = 0;
    m_total = total;
    m_work = work;
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

// An undo learns its row count with its first row, after reading its journal: until then the
// bar only shows that it works.
void TBatchStatus::update() {
    const QString doing =
        m_work == TWork::Undo ? QStringLiteral("正在撤销") : QStringLiteral("正在改名");
    if (m_total == 0) {
        m_text->setText(QStringLiteral("%1 — Esc 取消").arg(doing));
        m_bar->setRange(0, 0);
        return;
    }
    m_text->setText(QStringLiteral("%1 %2 / %3 — Esc 取消")
                        .arg(doing, GroupedCount(m_done), GroupedCount(m_total)));
    m_bar->setRange(0, BarSteps);
    m_bar->setValue(static_cast<int>(m_done * BarSteps / m_total));
}

void TBatchStatus::finish() {
    m_showTimer.stop();
    m_bar->hide();
    showCredit();
}

void TBatchStatus::showOutcome(const QString& text) {
    m_showsOutcome = true;
    showText(text);
}

void TBatchStatus::clearOutcome() {
    if (m_showsOutcome) showCredit();
}

void TBatchStatus::showText(const QString& text) {
    m_text->setText(text);
    m_credit->hide();
    m_text->show();
    m_statusBar->setAccessibleName(text); // announced as a name change
}

void TBatchStatus::showCredit() {
    m_showsOutcome = false;
    m_text->hide();
    m_credit->show();
    m_statusBar->setAccessibleName(m_credit->text());
}
