#pragma once
// What the status bar says when a batch or an undo has ended:
// «已改名 11,840 个，失败 3 个，未处理 18,160 个（已取消）— Ctrl+Z 撤销».

#include <cstddef>
#include <vector>

#include <QString>

#include "engine/engine.h"

// How the rows of a batch ended.
struct TBatchOutcome {
    std::size_t Renamed = 0;
    std::size_t Unchanged = 0; // the new name was the old one
    std::size_t Failed = 0;
    std::size_t NotRun = 0; // the batch was stopped before them
};

// 12,345: grouped in threes whatever the locale, as the status texts are written. Pure.
QString GroupedCount(std::size_t count);

// The outcome of rows a batch has run over. Pure.
TBatchOutcome CountOutcome(const std::vector<engine::TFolderEntry>& rows);

// The counts that are not zero, in the order renamed, unchanged, failed, not run; «（已取消）»
// when rows were not run, and the way to undo when something was renamed. Pure.
QString BatchOutcomeText(const TBatchOutcome& outcome);

// «撤销改名：改回 12 个，失败 1 个», zero counts left out. Pure.
QString UndoOutcomeText(const engine::TUndoResult& result);
