// The window's share of a large folder: listing through the list's model and view, and the
// batch rename with the new-name column filled, each against the engine alone.
#include <string>

#include <QApplication>
#include <QHeaderView>
#include <QTreeView>

#include "bench/bench.h"
#include "engine/engine.h"
#include "ui/window/entry_model.h"
#include "ui/window/regional_settings.h"

namespace {

constexpr int BenchEntries = 100000;
constexpr int Rounds = 5;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "zelvora-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

// A list shown as the window shows it: details view, uniform rows, four columns.
struct TShownList {
    TEntryModel model;
    QTreeView view;
    TShownList() {
        view.setRootIsDecorated(false);
        view.setUniformRowHeights(true);
        view.setModel(&model);
        view.resize(646, 430);
        view.show();
    }
};

void BenchWindowList() {
    Application();
    const std::string folder = bench::MakeBenchFolder(BenchEntries);
    const engine::TFormatSettings settings = ReadRegionalSettings();
    TShownList shown;
    const double engineAlone = bench::BestSeconds(Rounds, {}, [&] {
        engine::TFolderListing listing;
        engine::ListFolder(listing, folder, settings);
    });
    const double throughWindow = bench::BestSeconds(Rounds, {}, [&] {
        shown.model.listFolder(folder, settings);
        QApplication::processEvents(); // the view lays out and paints the new rows
    });
    bench::PrintRatio("window-list", throughWindow, engineAlone);
    bench::RemoveTree(folder);
}

void BenchWindowApply() {
    Application();
    const engine::TFormatSettings settings = ReadRegionalSettings();
    std::string folder;
    TShownList shown;
    const auto fresh = [&] {
        if (!folder.empty()) bench::RemoveTree(folder);
        folder = bench::MakeBenchFolder(BenchEntries);
        shown.model.listFolder(folder, settings);
        QApplication::processEvents();
    };
    engine::TFolderListing listing;
    const double engineAlone = bench::BestSeconds(
        3,
        [&] {
            fresh();
            listing = shown.model.listing();
        },
        [&] { engine::ApplyRenames(listing, engine::TRenameSettings{}); });
    const double throughWindow = bench::BestSeconds(3, fresh, [&] {
        shown.model.applyRenames(engine::TRenameSettings{});
        QApplication::processEvents(); // the new-name column is repainted
    });
    bench::PrintRatio("window-apply", throughWindow, engineAlone);
    bench::RemoveTree(folder);
}

const bench::TRegistrar listRegistrar("window-list", &BenchWindowList);
const bench::TRegistrar applyRegistrar("window-apply", &BenchWindowApply);

} // namespace
