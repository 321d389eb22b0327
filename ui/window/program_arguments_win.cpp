#include "ui/window/program_arguments_win.h"

#include <windows.h>

#include <shellapi.h>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "ui/window/program_arguments.h"

std::string ArgumentAsGiven(std::string argument) {
    if (argument.ends_with(":\"")) argument.back() = '\\';
    return argument;
}

std::vector<std::string> ArgumentsOfCommandLine(std::wstring_view commandLine) {
    std::vector<std::string> arguments;
    int count = 0;
    const std::wstring line(commandLine); // CommandLineToArgvW needs the terminating NUL
    LPWSTR* wide = CommandLineToArgvW(line.c_str(), &count);
    for (int i = 0; wide && i < count; ++i)
        arguments.push_back(ArgumentAsGiven(QString::fromWCharArray(wide[i]).toStdString()));
    LocalFree(wide);
    return arguments;
}

std::vector<std::string> ProgramArguments(int, char**) {
    if (!QCoreApplication::instance()) return ArgumentsOfCommandLine(GetCommandLineW());
    // Qt splits the wide command line by the same rules, and takes out its own options.
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.push_back(ArgumentAsGiven(argument.toStdString()));
    return arguments;
}
