#pragma once
// The renaming engine's whole API: the window uses nothing else of engine/ (the Linux tree's
// folder operations are in engine/folder_operations_linux.h).
// Names are raw bytes (std::string) from the disk to the rename; nothing here converts them.
// On Windows they are UTF-8 (WTF-8 for a name holding an unpaired surrogate), converted from
// and to the wide names of the system only in engine/platform/.

#include "engine/batch_rename.h"
#include "engine/date_texts.h"
#include "engine/error.h"
#include "engine/folder_listing.h"
#include "engine/folders.h"
#include "engine/undo.h"
