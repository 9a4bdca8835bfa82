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

QString ModemHelpText()
{
    return QStringLiteral(
        "Модем перед прибором:\n"
        "  --modem-pty            создать псевдотерминал с модемом (команды AT), за которым прибор;\n"
        "                         путь печатается в stdout. Сигнал SIGUSR1 обрывает связь (NO CARRIER)\n"
        "  --modem-speed N        скорость, на которой модем понимает команды (по умолчанию 115200);\n"
        "                         на других скоростях он молчит\n"
        "  --modem-answer ИТОГ    чем кончается набор номера: connect (по умолчанию), busy,\n"
        "                         no-dialtone, no-carrier\n"
        "  --modem-guard-ms N     пауза до и после \"+++\" (по умолчанию 1000)\n"
        "  --modem-dial-ms N      время от команды ATD до ее итога (по умолчанию 500)\n"
        "\n");
}
