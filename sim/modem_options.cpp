#include "modem_options.h"

namespace {

bool ParseBounded(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

}  // namespace

bool ParseModemOption(const QString& option, const std::function<bool(QString&)>& value, HayesModemSettings& modem,
                      bool& ptyWanted, QString& error)
{
    QString text;
    if (option == QLatin1String("--modem-pty")) {
        modem.enabled = true;
        ptyWanted = true;
    } else if (option == QLatin1String("--modem-speed")) {
        if (!value(text) || !ParseBounded(text, 50, 4000000, modem.speed))
            error = QStringLiteral("--modem-speed ждет скорость в бодах");
    } else if (option == QLatin1String("--modem-answer")) {
        if (!value(text) || !ParseModemCallOutcome(text, modem.outcome))
            error = QStringLiteral("--modem-answer ждет connect, busy, no-dialtone или no-carrier");
    } else if (option == QLatin1String("--modem-guard-ms")) {
        if (!value(text) || !ParseBounded(text, 0, 10000, modem.guardMs))
            error = QStringLiteral("--modem-guard-ms ждет число миллисекунд 0..10000");
    } else if (option == QLatin1String("--modem-dial-ms")) {
        if (!value(text) || !ParseBounded(text, 0, 600000, modem.dialMs))
            error = QStringLiteral("--modem-dial-ms ждет число миллисекунд 0..600000");
    } else {
        return false;
    }
    return true;
}
