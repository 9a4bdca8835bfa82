#include "cli/commands_watch.h"

#include "app/app_environment.h"
#include "cli/cli_context.h"
#include "cli/interrupt.h"
#include "cli/terminal_output.h"
#include "lines/line_threads.h"
#include "watch/watcher.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QSysInfo>

namespace {

constexpr int kDefaultIntervalSec = 60;

QString CheckWatchOptions(const CliOptions& options)
{
    if (!options.arguments.isEmpty())
        return QStringLiteral("watch не ждет слов после себя");
    if (!options.tcp.isEmpty() || !options.udp.isEmpty() || !options.serial.isEmpty() || !options.modem.isEmpty()
        || options.demo)
        return QStringLiteral(
            "watch берет приборы из базы узлов: --node ИМЯ или --kind, без --tcp, --udp, --serial, --modem и --demo");
    return {};
}

// The broker's password: ZT5_MQTT_PASSWORD, else the first line of the file ZT5_MQTT_PASSWORD_FILE names.
bool BrokerPassword(QString* password, QString* error)
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (environment.contains(QStringLiteral("ZT5_MQTT_PASSWORD"))) {
        *password = environment.value(QStringLiteral("ZT5_MQTT_PASSWORD"));
        return true;
    }
    const QString path = environment.value(QStringLiteral("ZT5_MQTT_PASSWORD_FILE"));
    if (path.isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Файл пароля MQTT %1 не прочитан: %2").arg(path, file.errorString());
        return false;
    }
    *password = QString::fromUtf8(file.readLine()).trimmed();
    return true;
}

bool BrokerTarget(const CliOptions& options, std::optional<MqttTarget>* target, QString* error)
{
    if (options.mqtt.isEmpty())
        return true;
    MqttTarget parsed;
    if (!ParseMqttUrl(options.mqtt, &parsed, error) || !BrokerPassword(&parsed.password, error))
        return false;
    *target = parsed;
    return true;
}

}  // namespace

int RunWatch(CliContext& context)
{
    const CliOptions& options = context.Options();
    if (const QString usage = CheckWatchOptions(options); !usage.isEmpty())
        return UsageError(usage);
    WatchSettings settings;
    QString error;
    if (!BrokerTarget(options, &settings.mqtt, &error))
        return UsageError(error);
    CollectChoice choice;
    choice.names = options.nodes;
    if (!options.kind.isEmpty())
        choice.kind = CollectKindFromName(options.kind);
    NodeBase base;
    UserMessage failure;
    if (!context.Environment().LoadNodeBase(base, &failure)) {
        context.Host().ShowMessage(failure);
        return kExitFile;
    }
    if (!PlanCollect(base, choice, &settings.lines, &error))
        return UsageError(error);
    if (settings.lines.empty())
        PrintNotice(
            QStringLiteral("Нет приборов для опроса: в базе узлов нет узлов с прямым подключением, "
                           "модемом или по сети (USB не опрашиваются)\n"));
    settings.jobs = options.jobs ? *options.jobs : DefaultLineJobs(settings.lines.size());
    settings.verbose = options.verbose;
    settings.intervalSec = options.intervalSec.value_or(kDefaultIntervalSec);
    settings.prefix = options.mqttPrefix;
    settings.discoveryPrefix = options.discoveryPrefix;
    settings.host = QSysInfo::machineHostName();
    settings.http = options.http;

    Watcher watcher(std::move(settings));
    if (!watcher.Start(&error)) {
        PrintFailure(error);
        return kExitNoAnswer;
    }
    int code = kExitOk;
    if (options.once)
        code = watcher.RunRound(Interrupted) ? kExitOk : kExitPartial;
    else
        watcher.RunUntilStopped(Interrupted);
    watcher.Finish();
    return code;
}
