#include "app/platformstartguard.h"

#include "app/appinfo.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

std::mutex heldMutex;
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

QString firstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Qt's fatal message only says that no platform plugin could be started; the
// platform's own warning before it names the cause ("could not connect to
// display :5").
QString causeOfFailure(const QString& fatalText) {
    for (const HeldMessage& message : held) {
        if (message.category.startsWith("qt.qpa")) {
            return firstLine(message.text);
        }
    }
    return firstLine(fatalText);
}

void holdOrFail(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(heldMutex);
    if (type == QtFatalMsg) {
        const QString line = QStringLiteral("%1: cannot open the display: %2\n")
                                 .arg(app::Program, causeOfFailure(text));
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        // Qt is half constructed: no destructor may run now.
        std::_Exit(EXIT_FAILURE);
    }
    held.push_back({type, context.file, context.line, context.function, context.category, text});
}

} // namespace

PlatformStartGuard::PlatformStartGuard() {
    previousHandler = qInstallMessageHandler(holdOrFail);
}

PlatformStartGuard::~PlatformStartGuard() {
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard lock(heldMutex);
        messages.swap(held);
    }
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}
