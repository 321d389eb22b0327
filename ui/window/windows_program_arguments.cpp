#include "ui/window/program_arguments.h"

#include <windows.h>

#include <shellapi.h>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    if (QCoreApplication::instance()) { // Qt reads the wide command line, less its own options
        for (const QString& argument : QCoreApplication::arguments())
            arguments.push_back(argument.toStdString());
        return arguments;
    }
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; wide && i < count; ++i)
        arguments.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
    return arguments;
}
