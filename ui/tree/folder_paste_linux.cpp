#include "ui/tree/folder_paste_linux.h"
#include "engine/folder_operations_linux.h"

#include "ui/tree/folder_clipboard_linux.h"

std::vector<engine::TPasteResult> PasteClipboardInto(const QByteArray& targetFolder,
                                                     const QMimeData* data) {
    const TClipboardPaste paste = ReadClipboardPaste(data);
    std::vector<std::string> sources;
    for (const QByteArray& path : paste.Paths)
        sources.push_back(path.toStdString());
    return engine::PasteInto(targetFolder.toStdString(), sources,
                             paste.IsCut ? engine::TPasteMode::pmMove : engine::TPasteMode::pmCopy);
}

QStringList PasteFailureTexts(const std::vector<engine::TPasteResult>& results) {
    QStringList texts;
    for (const engine::TPasteResult& result : results) {
        if (result.Error == 0) continue;
        texts << QStringLiteral("“%1”：%2")
                     .arg(QString::fromStdString(result.Source),
                          QString::fromStdString(engine::RenameFailureText(result.Error)));
    }
    return texts;
}
