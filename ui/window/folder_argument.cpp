#include "ui/window/folder_argument.h"

#include <QByteArray>
#include <QUrl>

#include "engine/engine.h"
#include "ui/widgets/text.h"

namespace {

bool IsFileUrl(std::string_view text) {
    return QByteArray::fromRawData(text.data(), qsizetype(text.size()))
        .startsWith(QByteArrayLiteral("file:"));
}

QString FolderError(int error, std::string_view argument) {
    switch (ProbeProblemOf(error)) {
    case TProbeProblem::NotFound:
        return QStringLiteral("找不到文件夹“%1”").arg(TextOf(argument));
    case TProbeProblem::NotAFolder:
        return QStringLiteral("“%1”不是文件夹").arg(TextOf(argument));
    default:
        return QStringLiteral("无法打开文件夹“%1”：%2")
            .arg(TextOf(argument), QString::fromStdString(engine::RenameFailureText(error)));
    }
}

} // namespace

std::optional<std::string> LocalPathOfUrl(std::string_view text) {
    const QUrl url = QUrl::fromEncoded(QByteArray(text.data(), qsizetype(text.size())));
    if (!url.isValid() || url.scheme() != u"file") return std::nullopt;
    if (!url.host().isEmpty() && url.host() != u"localhost") return std::nullopt;
    return LocalPathOfUrlPath(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

TFolderChoice ChooseFolder(std::string_view argument, std::string_view currentFolder,
                           bool fileGivesItsFolder) {
    if (argument.empty()) return {{}, FolderError(ENOENT, argument)};
    std::string path;
    if (IsFileUrl(argument)) {
        const auto local = LocalPathOfUrl(argument);
        if (!local) return {{}, QStringLiteral("“%1”不是本地文件夹").arg(TextOf(argument))};
        path = AbsolutePath(*local, {});
    } else {
        path = AbsolutePath(argument, currentFolder);
    }
    const engine::TFolderProbe probe = engine::ProbeFolder(path);
    if (ProbeProblemOf(probe.Error) == TProbeProblem::NotAFolder && fileGivesItsFolder &&
        engine::ProbeFolder(ParentFolderOf(path)).IsFolder)
        return {ParentFolderOf(path), {}};
    if (!probe.IsFolder) return {{}, FolderError(probe.Error, argument)};
    return {path, {}};
}

QString FolderNotInTreeMessage(const std::string& folder) {
    return QStringLiteral("文件夹树中没有“%1”：隐藏的文件夹不在树中").arg(TextOf(folder));
}
