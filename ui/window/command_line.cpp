#include "ui/window/command_line.h"

#include <QCommandLineParser>
#include <QTimer>

#include "ui/common/error_display.h"
#include "ui/widgets/text.h"
#include "ui/window/Umain.h"

#ifndef ZELVORA_VERSION
#error "the build defines ZELVORA_VERSION"
#endif

namespace {

// The parser sees decoded text, which loses the bytes of a name that is not UTF-8: each
// positional argument is matched back to the raw argument it came from.
std::vector<std::string> RawPositionals(const std::vector<std::string>& arguments,
                                        const QStringList& positionals) {
    std::vector<std::string> raw;
    std::size_t next = 1;
    for (const QString& text : positionals) {
        while (next < arguments.size() && TextOf(arguments[next]) != text)
            ++next;
        raw.push_back(next < arguments.size() ? arguments[next++] : text.toStdString());
    }
    return raw;
}

// Without an application object Qt calls the program "<executable_name>".
QString HelpText(const QCommandLineParser& parser) {
    const QString text = parser.helpText();
    return QStringLiteral("Usage: zelvora") + text.mid(text.indexOf(u" [options]"));
}

TCommandLine UsageError(const QString& message) {
    return {1, {}, QStringLiteral("zelvora: %1\nTry 'zelvora --help'.\n").arg(message), {}};
}

} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                              std::string_view currentFolder) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Zelvora renames every entry of a folder in one action.\n"
                       "Zelvora 一次为文件夹中的所有条目批量改名。"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The folder to open: a path or a file:// URL."),
                                 QStringLiteral("[FOLDER]"));
    QStringList texts;
    for (const std::string& argument : arguments)
        texts << TextOf(argument);
    const bool parsed = parser.parse(texts);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return {0, HelpText(parser), {}, {}};
    if (parser.isSet(version))
        return {0, QStringLiteral("zelvora %1\n").arg(QStringLiteral(ZELVORA_VERSION)), {}, {}};
    if (!parsed) return UsageError(parser.errorText());
    const std::vector<std::string> folders =
        RawPositionals(arguments, parser.positionalArguments());
    if (folders.size() > 1) return UsageError(QStringLiteral("Only one folder can be opened."));
    if (folders.empty()) return {};
    return {{}, {}, {}, ChooseFolder(folders.front(), currentFolder, false)};
}

void OpenStartFolder(TFrmMain& window, const TFolderChoice& startFolder) {
    QString error = startFolder.Error;
    if (!startFolder.Folder.empty() && !window.showFolder(startFolder.Folder))
        error = FolderNotInTreeMessage(startFolder.Folder);
    if (error.isEmpty()) return;
    QTimer::singleShot(0, &window, [error] { ShowError(error); });
}
