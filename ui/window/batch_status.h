#pragma once
// The status bar while a batch runs: «正在改名 12,345 / 100,000 — Esc 取消» and a progress bar
// in place of the credit line. A batch that ends within ShowAfter shows nothing, so a short
// run does not flicker.

#include <cstddef>

#include <QObject>
#include <QTimer>

class QLabel;
class QProgressBar;
class QStatusBar;

class TBatchStatus : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowAfterMilliseconds = 200;

    // `credit` is the bar's usual content, hidden while the progress shows.
    TBatchStatus(QStatusBar* bar, QWidget* credit, QObject* parent = nullptr);

    void start(std::size_t total);
    void progress(std::size_t done, std::size_t total);
    // Back to the credit line.
    void finish();

private:
    void showProgress();
    void update();

    QWidget* m_credit;
    QLabel* m_text;
    QProgressBar* m_bar;
    QTimer m_showTimer;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
};
