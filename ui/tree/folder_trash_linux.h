#pragma once
// Deleting a folder from the tree: to the trash first; for good only when the user says so.

#include <functional>

#include <QByteArray>
#include <QString>

#include "ui/tree/folder_menu_hooks.h"

class QWidget;

// Whether an entry went to the trash, and GIO's reason when it did not.
struct TTrashResult {
    bool Trashed = false;
    QString ErrorText;
};

// Moves the entry at the absolute `path` to the trash in the freedesktop.org trash layout
// (the user's trash, or the trash at the top of another file system). Never deletes anything.
TTrashResult MoveToTrash(const QByteArray& path);

enum class TDeleteForGoodOutcome { Deleted, Kept, Failed };

struct TDeleteForGoodResult {
    TDeleteForGoodOutcome Outcome = TDeleteForGoodOutcome::Kept;
    QString ErrorText; // the reason a deletion failed
};

// The question asked before deleting `path` for good after the trash refused it.
QString DeleteForGoodQuestion(const QByteArray& path, const QString& trashError);

// For an entry the trash refused with `trashError`: asks `ask` and, only on yes, deletes `path`
// for good (a folder with everything inside, links removed and never followed).
TDeleteForGoodResult AskAndDeleteForGood(const QByteArray& path, const QString& trashError,
                                         const TDeleteQuestion& ask);

// A question asked with a Yes/No message box over `parent`; No is the default button.
TDeleteQuestion MessageBoxQuestion(QWidget* parent);
