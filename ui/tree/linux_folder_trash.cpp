#include "ui/tree/linux_folder_trash.h"

#include <memory>

// GLib's headers use the name "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QMessageBox>

#include "engine/engine.h"

namespace {

struct TGObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

struct TGErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

QString DisplayPath(const QByteArray& path) { return QString::fromUtf8(path); }

} // namespace

TTrashResult MoveToTrash(const QByteArray& path) {
    const std::unique_ptr<GFile, TGObjectUnref> file(g_file_new_for_path(path.constData()));
    GError* rawError = nullptr;
    if (g_file_trash(file.get(), nullptr, &rawError)) return {true, {}};
    const std::unique_ptr<GError, TGErrorFree> error(rawError);
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
