#include "ui/window/command_line.h"

#include <cstdio>

int ReportCommandLine(const TCommandLine& commandLine) {
    std::fputs(commandLine.Output.toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.ErrorOutput.toLocal8Bit().constData(), stderr);
    return commandLine.ExitCode.value_or(0);
}
