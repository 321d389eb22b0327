#pragma once
// The journal folder: how its journals are named and found, what each says at a glance, and
// pruning the ones no undo needs; ReadJournals and NextUndo of engine.h are made here (one
// journal's format is in engine/journal.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/journal.h"

namespace engine {

// The file name of journal `number`: ten digits or more, so that names sort by age. Pure.
std::string JournalName(std::uint64_t number);
// The number after the newest journal's in `journalFolder`. Reads the disk; throws TError when
// the numbers are used up.
std::uint64_t NextJournalNumber(const std::string& journalFolder);

// `journalFolder` + separator + `name`. Pure.
std::string JournalPath(const std::string& journalFolder, const std::string& name);

// Journal names in `journalFolder`, oldest first. Reads the disk.
std::vector<std::string> JournalNames(const std::string& journalFolder);

// The begin record of the journal at `path`, read from its first bytes only; nothing when it
// can't be read or has none. `error` receives the error code of reading it. Reads the disk.
std::optional<TJournalHead> ReadJournalHead(const std::string& path, int& error);

// Removes what no undo needs, unless a batch or an undo at work holds it: closed journals
// beyond the newest `kept`, and journals whose begin record never got written. Changes the
// disk.
void PruneJournals(const std::string& journalFolder, std::size_t kept = JournalsKept);

} // namespace engine
