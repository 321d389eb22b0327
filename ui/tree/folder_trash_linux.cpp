#include "ui/tree/folder_trash_linux.h"

#include <memory>

// GLib's headers use the name "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QLibrary>
#include <QMessageBox>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "ui/namespace/messages.h"
#include "ui/widgets/text.h"

namespace {

// GIO is loaded when something first goes to the trash: linked to the program, its libraries
// and their initialisers cost every start-up a few milliseconds before the first paint.
struct TGio {
    decltype(&g_file_new_for_path) FileNewForPath = nullptr;
    decltype(&g_file_trash) FileTrash = nullptr;
    decltype(&g_object_unref) ObjectUnref = nullptr; // found through GIO's own dependencies
    decltype(&g_error_free) ErrorFree = nullptr;

    bool loaded() const { return FileNewForPath && FileTrash && ObjectUnref && ErrorFree; }
};

template <typename TFunction> void Resolve(QLibrary& library, const char* name, TFunction& into) {
    into = reinterpret_cast<TFunction>(library.resolve(name));
}

// The library stays loaded for the rest of the run.
const TGio& Gio() {
    static const TGio gio = [] {
        TGio found;
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        if (!library.load()) return found;
        Resolve(library, "g_file_new_for_path", found.FileNewForPath);
        Resolve(library, "g_file_trash", found.FileTrash);
        Resolve(library, "g_object_unref", found.ObjectUnref);
        Resolve(library, "g_error_free", found.ErrorFree);
        return found;
    }();
    return gio;
}

QString DisplayPath(const QByteArray& path) {
    return QString::fromUtf8(path);
}

} // namespace

TTrashResult MoveToTrash(const QByteArray& path) {
    const TGio& gio = Gio();
    if (!gio.loaded()) return {false, TextOf(messages::TrashUnavailable)};
    const std::unique_ptr<GFile, decltype(gio.ObjectUnref)> file(
        gio.FileNewForPath(path.constData()), gio.ObjectUnref);
    GError* rawError = nullptr;
    if (gio.FileTrash(file.get(), nullptr, &rawError)) return {true, {}};
    const std::unique_ptr<GError, decltype(gio.ErrorFree)> error(rawError, gio.ErrorFree);
    return {false, QString::fromUtf8(error ? error->message : "")};
}

QString DeleteForGoodQuestion(const QByteArray& path, const QString& trashError) {
    return QStringLiteral("无法将“%1”移到回收站：%2\n是否永久删除？永久删除后无法恢复。")
        .arg(DisplayPath(path), trashError);
}

TDeleteForGoodResult AskAndDeleteForGood(const QByteArray& path, const QString& trashError,
                                         const TDeleteQuestion& ask) {
    if (!ask(DeleteForGoodQuestion(path, trashError))) return {TDeleteForGoodOutcome::Kept, {}};
    const int error = engine::DeleteTree(path.toStdString());
    if (error == 0) return {TDeleteForGoodOutcome::Deleted, {}};
    return {TDeleteForGoodOutcome::Failed,
            QStringLiteral("无法删除“%1”：%2")
                .arg(DisplayPath(path), QString::fromStdString(engine::RenameFailureText(error)))};
}

TDeleteQuestion MessageBoxQuestion(QWidget* parent) {
    return [parent](const QString& question) {
        return QMessageBox::question(parent, QStringLiteral("删除"), question,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}
