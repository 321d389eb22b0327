#pragma once
// The status bar's work texts. While a batch runs: «正在改名 12,345 / 100,000 — Esc 取消» (an
// undo: «正在撤销 1,234 / 3,000 — Esc 取消») and a progress bar in place of the credit line; a
// batch that ends within ShowAfter shows no progress, so a short run does not flicker. When a
// batch or an undo has ended: its outcome, until the user changes the list or the settings. A
// screen reader reads the bar by its name, which follows the text shown.

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

    // `credit` is the bar's usual content, hidden while progress or an outcome shows.
    TBatchStatus(QStatusBar* bar, QLabel* credit, QObject* parent = nullptr);

    enum class TWork { Rename, Undo };

    // `total` may be 0 until the first progress tells it.
    void start(std::size_t total, TWork work = TWork::Rename);
    void progress(std::size_t done, std::size_t total);
    // Back to the credit line.
    void finish();
    // Shows `text` in place of the credit line and names the bar by it.
    void showOutcome(const QString& text);
    // Back to the credit line when an outcome shows.
    void clearOutcome();

private:
    void showProgress();
    void update();
    void showText(const QString& text);
    void showCredit();

    QStatusBar* m_statusBar;
    QLabel* m_credit;
    QLabel* m_text;
    QProgressBar* m_bar;
    QTimer m_showTimer;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    TWork m_work = TWork::Rename;
    bool m_showsOutcome = false;
};
