#include "logging.h"

#include "platform/lasterror.h"

Q_LOGGING_CATEGORY(lcStart, "qvkiosk.start", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOpen, "qvkiosk.open", QtWarningMsg)
Q_LOGGING_CATEGORY(lcGuard, "qvkiosk.guard", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHandoff, "qvkiosk.handoff", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRelay, "qvkiosk.relay", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "qvkiosk.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcJournal, "qvkiosk.journal", QtWarningMsg)

void installLogPattern()
{
    if (qEnvironmentVariableIsSet("QT_MESSAGE_PATTERN"))
        return;
    qSetMessagePattern(QStringLiteral("qvkiosk[%{pid}] %{category}: %{message}"));
}

QString systemErrorText(std::uint32_t code)
{
    return QStringLiteral("%1 (error %2)")
        .arg(QString::fromStdString(platform::errorText(code)))
        .arg(code);
}
