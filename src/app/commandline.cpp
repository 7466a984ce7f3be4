#include "app/commandline.h"

#include "app/appinfo.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace commandline {

namespace {

QString helpText() {
    return QStringLiteral(
               "Usage: %1 [QT-OPTION]...\n"
               "Pick a colour from gradient bars: point at a bar to read its colour as RGB\n"
               "and hexadecimal values, drag it onto the swatch to keep it.\n"
               "\n"
               "      --help     display this help and exit\n"
               "      --version  output version information and exit\n"
               "\n"
               "Qt's own options are accepted, such as -platform NAME, -style NAME and\n"
               "-display DISPLAY.\n"
               "\n"
               "Exit status: 0 when the window is closed, 1 when no display can be opened\n"
               "or a run-time error ends the program, 2 for a command-line error.\n"
               "The manual page %1(1) says how to use the window.\n")
        .arg(app::Program);
}

QString versionText() {
    return QStringLiteral("%1 %2\n"
                          "%3\n"
                          "License MIT <https://spdx.org/licenses/MIT.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(app::Program, app::Version, app::Copyright);
}

Answer usageError(const QString& problem) {
    return {2, QString(),
            QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                .arg(app::Program, problem)};
}

Answer unknown(const QString& argument) {
    if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
        return usageError(QStringLiteral("unknown option '%1'").arg(argument));
    }
    return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
}

} // namespace

std::optional<Answer> answerBeforeQt(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help")) {
            return Answer{0, helpText(), QString()};
        }
        if (argument == QLatin1String("--version")) {
            return Answer{0, versionText(), QString()};
        }
        if (argument.startsWith(QLatin1String("--"))) {
            return unknown(argument);
        }
    }
    return std::nullopt;
}

std::optional<Answer> answerAfterQt(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return std::nullopt;
    }
    return unknown(arguments.first());
}

int deliver(const Answer& answer) {
    const bool written = std::fputs(answer.standardOutput.toLocal8Bit().constData(), stdout) >= 0 &&
                         std::fflush(stdout) == 0;
    const int writeError = errno;
    std::fputs(answer.standardError.toLocal8Bit().constData(), stderr);
    if (!written) {
        const QString message =
            QStringLiteral("%1: write error: %2\n")
                .arg(app::Program, QString::fromLocal8Bit(std::strerror(writeError)));
        std::fputs(message.toLocal8Bit().constData(), stderr);
        return EXIT_FAILURE;
    }
    return answer.status;
}

} // namespace commandline
