// The real window on a 100,000-entry folder: selecting it in the tree until its last chunk is
// painted, and "应用改名" until the last new name is repainted, each against the engine alone;
// and the longest the event loop stood still meanwhile (a 1 ms timer probe), also while that
// batch is undone.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include "bench/bench.h"
#include "engine/engine.h"
#include "tests/ui/temp_namespace.h"
#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/window/Umain.h"
#include "ui/window/entry_model.h"
#include "ui/window/regional_settings.h"
#include "ui/window/undo_controller.h"

namespace {

constexpr int BenchEntries = 100000;
constexpr int Rounds = 5;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "zelvora-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit the window's libraries may still hold on to it.
    static QApplication* application = new QApplication(argc, argv);
    SetErrorDisplay(
        [](const QString& message) { std::fprintf(stderr, "error: %s\n", qPrintable(message)); });
    return *application;
}

// The longest gap between two turns of the event loop while it runs.
class TStallProbe {
public:
    TStallProbe() {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_sinceLast.restart()); });
    }
    void start() {
        m_longest = 0;
        m_sinceLast.start();
        m_timer.start();
    }
    double stopMilliseconds() {
        m_longest = std::max(m_longest, m_sinceLast.elapsed());
        m_timer.stop();
        return static_cast<double>(m_longest);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

// The window on a desktop that holds the bench folder "big" and an empty folder.
class TBenchWindow {
public:
    TBenchWindow() {
        Application();
        // Journals go to a temporary state folder, never the user's.
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
        QDir().mkpath(m_namespace.desk(QStringLiteral("empty")));
        renewBig();
        m_window.emplace();
        m_window->show();
        m_list = m_window->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport();
        m_tree = m_window->findChild<TShellTreeView*>(QStringLiteral("ShellTreeView1"));
    }
    ~TBenchWindow() {
        m_window.reset();
        if (!m_big.empty()) bench::RemoveTree(m_big);
    }

    // A fresh "big" folder, made as a user's folder is.
    void renewBig() {
        if (!m_big.empty()) bench::RemoveTree(m_big);
        const std::string made =
            bench::MakeBenchFolder(BenchEntries, TTempNamespace::bytes(m_namespace.desk()));
        m_big = TTempNamespace::bytes(m_namespace.desk(QStringLiteral("big")));
        std::rename(made.c_str(), m_big.c_str());
    }
    const std::string& big() const { return m_big; }
    TFrmMain& window() { return *m_window; }

    void select(const char* label) {
        const auto found = m_tree->findItems(QString::fromUtf8(label), Qt::MatchRecursive);
        m_tree->setCurrentItem(found.first());
    }
    // Runs the event loop until the window is idle and the list has painted after that.
    void waitForIdleAndPaint() {
        QEventLoop loop;
        bool idle = false;
        TPaintWatch watch([&] {
            if (idle) QTimer::singleShot(0, &loop, &QEventLoop::quit);
        });
        m_list->installEventFilter(&watch);
        const auto becameIdle = [&] {
            idle = true;
            m_list->update(); // the paint the user waits for
        };
        const QMetaObject::Connection connection =
            QObject::connect(&*m_window, &TFrmMain::workDone, becameIdle);
        if (!m_window->isBusy()) becameIdle();
        loop.exec();
        QObject::disconnect(connection);
        m_list->removeEventFilter(&watch);
    }

private:
    class TPaintWatch : public QObject {
    public:
        explicit TPaintWatch(std::function<void()> painted) : m_painted(std::move(painted)) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) m_painted();
            return false;
        }

    private:
        std::function<void()> m_painted;
    };

    QTemporaryDir m_state;
    TTempNamespace m_namespace;
    std::string m_big;
    std::optional<TFrmMain> m_window;
    QWidget* m_list = nullptr;
    TShellTreeView* m_tree = nullptr;
};

void BenchWindowList() {
    TBenchWindow bench;
    const engine::TFormatSettings settings = ReadRegionalSettings();
    TStallProbe probe;
    std::vector<double> stalls;
    const bench::TPairTimes times =
        bench::AlternatePairs(Rounds,
                              {[&] {
                                   bench.select("empty");
                                   bench.waitForIdleAndPaint();
                               },
                               [&] {
                                   probe.start();
                                   bench.select("big");
                                   bench.waitForIdleAndPaint();
                                   stalls.push_back(probe.stopMilliseconds());
                               }},
                              {nullptr, [&] {
                                   engine::TFolderListing listing;
                                   engine::ListFolder(listing, bench.big(), settings);
                               }});
    bench::PrintRatio("window-list", times);
    bench::PrintFigure("max-ui-stall-ms list", stalls, " ms");
}

void BenchWindowApply() {
    TBenchWindow bench;
    TStallProbe probe;
    std::vector<double> stalls;
    engine::TFolderListing listing;
    // Both sides start from a fresh folder, listed by the window and written back to disk.
    const auto fresh = [&] {
        bench.select("empty");
        bench.waitForIdleAndPaint();
        bench.renewBig();
        bench.select("big");
        bench.waitForIdleAndPaint();
        listing = bench.window().entries()->listing();
        bench::SyncDisks();
    };
    const bench::TPairTimes times =
        bench::AlternatePairs(Rounds,
                              {fresh,
                               [&] {
                                   probe.start();
                                   bench.window().RzBitBtn1Click();
                                   bench.waitForIdleAndPaint();
                                   stalls.push_back(probe.stopMilliseconds());
                               }},
                              // The window journals its batches: so does the engine alone here.
                              {fresh, [&] {
                                   engine::ApplyRenames(listing, engine::TRenameSettings{},
                                                        TUndoController::BatchControl());
                               }});
    bench::PrintRatio("window-apply", times);
    bench::PrintFigure("max-ui-stall-ms apply", stalls, " ms");
}

// From 撤销改名 in the list's menu until the folder, listed again, has painted its last chunk.
void BenchWindowUndo() {
    TBenchWindow bench;
    TStallProbe probe;
    std::vector<double> stalls;
    auto* undo = bench.window().findChild<QAction*>(QStringLiteral("UndoRenameAction"));
    for (int round = 0; round < Rounds; ++round) {
        bench.select("empty");
        bench.waitForIdleAndPaint();
        bench.renewBig();
        bench.select("big");
        bench.waitForIdleAndPaint();
        bench.window().RzBitBtn1Click();
        bench.waitForIdleAndPaint();
        bench::SyncDisks();
        probe.start();
        undo->trigger();
        bench.waitForIdleAndPaint();
        stalls.push_back(probe.stopMilliseconds());
    }
    bench::PrintFigure("max-ui-stall-ms undo", stalls, " ms");
}

const bench::TRegistrar listRegistrar("window-list", &BenchWindowList);
const bench::TRegistrar applyRegistrar("window-apply", &BenchWindowApply);
const bench::TRegistrar undoRegistrar("window-undo", &BenchWindowUndo);

} // namespace
