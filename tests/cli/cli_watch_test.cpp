// zt5ctl watch against a real broker: mosquitto on a loopback port, three simulated meters on lines of
// their own, mosquitto_sub as the subscriber and promtool as the reader of the metrics page. The states
// hold what the simulated meter measures at the time they name; one meter stopped goes offline alone;
// the watcher killed leaves its last will, one that ends says goodbye; Home Assistant coming back gets
// the discovery configs again; the metrics page passes promtool with the meter's values.

#include "cli/cli_process.h"
#include "cli/collect_rig.h"
#include "sim/archive_generator.h"
#include "sim/sim_clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>

namespace {

struct Meter {
    std::uint32_t serial;
    std::uint32_t seed;
};
constexpr Meter kMeters[] = {{2001, 11}, {2002, 12}, {2003, 13}};

// Every message the subscriber printed ("topic payload", one a line), the newest last.
class Subscriber {
public:
    Subscriber(int port, const QStringList& topics)
    {
        QStringList arguments{QStringLiteral("-h"),      QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                              QString::number(port),     QStringLiteral("-v"),        QStringLiteral("-V"),
                              QStringLiteral("mqttv311")};
        for (const QString& topic : topics)
            arguments << QStringLiteral("-t") << topic;
        m_process.start(QStringLiteral("mosquitto_sub"), arguments);
    }
    ~Subscriber()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    // Waits until `done` holds for the messages seen so far.
    bool WaitUntil(const std::function<bool(const Subscriber&)>& done, int timeoutMs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done(*this)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            m_process.waitForReadyRead(100);
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                const int space = line.indexOf(u' ');
                m_messages.emplace_back(line.left(space), space < 0 ? QByteArray() : line.mid(space + 1).toUtf8());
            }
        }
        return true;
    }
    // The newest payload on `topic`, and how many messages came before it.
    std::optional<std::pair<QByteArray, std::size_t>> Latest(const QString& topic) const
    {
        for (std::size_t i = m_messages.size(); i-- > 0;)
            if (m_messages[i].first == topic)
                return std::pair{m_messages[i].second, i};
        return std::nullopt;
    }
    std::size_t Count() const { return m_messages.size(); }

private:
    QProcess m_process;
    std::vector<std::pair<QString, QByteArray>> m_messages;
};

QString Topic(std::uint32_t serial, const char* leaf)
{
    return QStringLiteral("zt5/%1/%2").arg(serial).arg(QLatin1String(leaf));
}

bool Has(const Subscriber& sub, const QString& topic, const QByteArray& payload = {})
{
    const auto latest = sub.Latest(topic);
    return latest && (payload.isEmpty() || latest->first == payload);
}

// The meter's clock reading a state or a sample names, back on the meter's calendar.
MeterSeconds MeterTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const QTime clock = local.time();
    return SecondsOf(DateTimeStamp{std::uint8_t(date.day()), std::uint8_t(date.month()),
                                   std::uint8_t(date.year() - kBaseYear), std::uint8_t(clock.hour()),
                                   std::uint8_t(clock.minute()), std::uint8_t(clock.second())});
}

// The state against what the simulated meter measures at the state's time: values exactly, totals
// between the time of the values and two seconds later (the totals are the next request).
void ExpectStateOfMeter(const QByteArray& payload, const Meter& meter)
{
    const QJsonObject state = QJsonDocument::fromJson(payload).object();
    ASSERT_EQ(state[QStringLiteral("serial")].toInteger(), meter.serial) << payload.toStdString();
    const QString timeText = state[QStringLiteral("time")].toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                    .match(timeText)
                    .hasMatch())
        << timeText.toStdString();
    const MeterSeconds at = MeterTime(QDateTime::fromString(timeText, Qt::ISODate));
    const ArchiveGenerator generator(meter.seed);
    const CurrentValues values = generator.Current(at, 0);
    EXPECT_FLOAT_EQ(float(state[QStringLiteral("t1_1")].toDouble()), values.t[0]);
    EXPECT_FLOAT_EQ(float(state[QStringLiteral("P2_1")].toDouble()), values.P[3]);
    EXPECT_FLOAT_EQ(float(state[QStringLiteral("Gv1_2")].toDouble()), values.Go[1]);
    EXPECT_FLOAT_EQ(float(state[QStringLiteral("dT_1")].toDouble()), values.dt[0]);
    const double heat = state[QStringLiteral("Qwi_1")].toDouble();
    EXPECT_GE(heat, generator.CurrentTotals(at, 0).body.inputs[0].Qtv - 1e-9);
    EXPECT_LE(heat, generator.CurrentTotals(at + 2, 0).body.inputs[0].Qtv + 1e-9);
    EXPECT_GT(heat, 0);
}

QByteArray HttpGet(int port, const char* path)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(QByteArray("GET ") + path + " HTTP/1.1\r\nHost: localhost\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000))
        answer += socket.readAll();
    return answer;
}

// One sample of the page: "name{labels} value".
std::optional<double> Sample(const QByteArray& page, const QString& series)
{
    for (const QByteArray& line : page.split('\n'))
        if (line.startsWith(series.toUtf8() + ' '))
            return line.mid(series.toUtf8().size() + 1).toDouble();
    return std::nullopt;
}

bool ReadersMissing(std::string* why)
{
    for (const char* program : {"mosquitto", "mosquitto_sub", "promtool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty()
            && QStandardPaths::findExecutable(QLatin1String(program), {QStringLiteral("/usr/sbin")}).isEmpty()) {
            *why = std::string(program) + " is not installed (scripts/install-deps.sh --tests)";
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(CliWatch, StatesOnMqttASilentMeterAloneTheWillMetricsThroughPromtool)
{
    std::string why;
    if (ReadersMissing(&why)) {
        if (qEnvironmentVariableIsSet("ZT5_REQUIRE_READERS"))
            FAIL() << why;
        GTEST_SKIP() << why;
    }
    QTemporaryDir broker;
    const int mqttPort = ClosedTcpPort();
    QFile conf(broker.filePath(QStringLiteral("mosquitto.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(
        QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n").arg(mqttPort).toUtf8());
    conf.close();
    QProcess mosquitto;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin")});
    mosquitto.start(program.isEmpty() ? QStringLiteral("mosquitto") : program, {QStringLiteral("-c"), conf.fileName()});
    ASSERT_TRUE(mosquitto.waitForStarted());

    std::map<std::uint32_t, std::unique_ptr<SimProcess>> sims;
    CollectRig rig;
    for (const Meter& meter : kMeters) {
        sims[meter.serial] = std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--serial-number"),
                        QString::number(meter.serial), QStringLiteral("--seed"), QString::number(meter.seed)});
        ASSERT_FALSE(sims[meter.serial]->Place().isEmpty());
        rig.AddTcpNode(QStringLiteral("Узел %1").arg(meter.serial), sims[meter.serial]->Place(), 1, 1, meter.serial);
    }
    ASSERT_TRUE(rig.Save());
    const QString status = QStringLiteral("zt5/watch/%1/status").arg(QSysInfo::machineHostName());
    Subscriber sub(mqttPort, {QStringLiteral("zt5/#"), QStringLiteral("homeassistant/#")});
    const int httpPort = ClosedTcpPort();
    QStringList arguments{QStringLiteral("watch"),
                          QStringLiteral("--interval"),
                          QStringLiteral("1"),
                          QStringLiteral("--mqtt"),
                          QStringLiteral("mqtt://127.0.0.1:%1").arg(mqttPort),
                          QStringLiteral("--http"),
                          QStringLiteral("127.0.0.1:%1").arg(httpPort)};
    std::unique_ptr<QProcess> watcher = StartZt5Ctl(arguments + rig.Place(rig.SqliteTarget()).mid(0, 4));

    // Every meter's state, its discovery and the watcher online.
    ASSERT_TRUE(sub.WaitUntil([&](const Subscriber& s) {
        for (const Meter& meter : kMeters)
            if (!Has(s, Topic(meter.serial, "state")) || !Has(s, Topic(meter.serial, "availability"), "online"))
                return false;
        return Has(s, status, "online");
    })) << watcher->readAllStandardError().toStdString();
    for (const Meter& meter : kMeters)
        ExpectStateOfMeter(sub.Latest(Topic(meter.serial, "state"))->first, meter);
    const auto heat = sub.Latest(QStringLiteral("homeassistant/sensor/zt5_2001/Qwi_1/config"));
    ASSERT_TRUE(heat);
    const QJsonObject config = QJsonDocument::fromJson(heat->first).object();
    EXPECT_EQ(config[QStringLiteral("unit_of_measurement")].toString(), QStringLiteral("Gcal"));
    EXPECT_EQ(config[QStringLiteral("state_class")].toString(), QStringLiteral("total_increasing"));
    EXPECT_EQ(config[QStringLiteral("availability_mode")].toString(), QStringLiteral("all"));
    EXPECT_EQ(config[QStringLiteral("device")].toObject()[QStringLiteral("manufacturer")].toString(),
              QStringLiteral("ЗТ5"));
    EXPECT_TRUE(Has(sub, QStringLiteral("homeassistant/binary_sensor/zt5_2003/Wi_Ns_1/config")));
    // Home Assistant started again: the configs come again.
    const QString heatConfig = QStringLiteral("homeassistant/sensor/zt5_2001/Qwi_1/config");
    const std::size_t configAt = heat->second;
    ASSERT_EQ(
        QProcess::execute(QStringLiteral("mosquitto_pub"),
                          {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                           QString::number(mqttPort), QStringLiteral("-t"), QStringLiteral("homeassistant/status"),
                           QStringLiteral("-m"), QStringLiteral("online")}),
        0);
    EXPECT_TRUE(sub.WaitUntil([&](const Subscriber& s) { return s.Latest(heatConfig)->second > configAt; }));

    // The metrics page passes promtool and shows the meter's values at the time it names.
    const QByteArray answer = HttpGet(httpPort, "/metrics");
    ASSERT_TRUE(answer.startsWith("HTTP/1.0 200")) << answer.left(200).toStdString();
    const QByteArray page = answer.mid(answer.indexOf("\r\n\r\n") + 4);
    QProcess promtool;
    promtool.start(QStringLiteral("promtool"), {QStringLiteral("check"), QStringLiteral("metrics")});
    promtool.write(page);
    promtool.closeWriteChannel();
    ASSERT_TRUE(promtool.waitForFinished(30000));
    EXPECT_EQ(promtool.exitCode(), 0) << promtool.readAll().toStdString() << page.toStdString();
    const auto stamp = Sample(page, QStringLiteral("zt5_meter_values_timestamp_seconds{serial=\"2002\"}"));
    const auto temperature = Sample(page, QStringLiteral("zt5_pipe_temperature_celsius{serial=\"2002\",pipe=\"4\"}"));
    const auto pressure = Sample(page, QStringLiteral("zt5_pipe_pressure_pascals{serial=\"2002\",pipe=\"1\"}"));
    ASSERT_TRUE(stamp && temperature && pressure) << page.toStdString();
    const CurrentValues values = ArchiveGenerator(12).Current(MeterTime(QDateTime::fromSecsSinceEpoch(qint64(*stamp))),
                                                              0);
    EXPECT_FLOAT_EQ(float(*temperature), values.t[3]);
    EXPECT_NEAR(*pressure, double(values.P[0]) * 1e6, 1e-3 * 1e6 * double(values.P[0]));
    EXPECT_EQ(Sample(page, QStringLiteral("zt5_meter_up{serial=\"2002\"}")), 1.0);
    EXPECT_TRUE(HttpGet(httpPort, "/healthz").startsWith("HTTP/1.0 200"));

    // One meter stopped: it goes offline, the others keep getting states after that.
    sims.erase(2002);
    ASSERT_TRUE(sub.WaitUntil([&](const Subscriber& s) { return Has(s, Topic(2002, "availability"), "offline"); }));
    const std::size_t offlineAt = sub.Latest(Topic(2002, "availability"))->second;
    const std::size_t stateBefore = sub.Latest(Topic(2002, "state"))->second;
    ASSERT_TRUE(sub.WaitUntil([&](const Subscriber& s) {
        return s.Latest(Topic(2001, "state"))->second > offlineAt && s.Latest(Topic(2003, "state"))->second > offlineAt;
    }));
    EXPECT_TRUE(Has(sub, Topic(2001, "availability"), "online"));
    EXPECT_TRUE(Has(sub, Topic(2003, "availability"), "online"));
    EXPECT_EQ(sub.Latest(Topic(2002, "state"))->second, stateBefore) << "a silent meter got a state";
    const QByteArray downPage = HttpGet(httpPort, "/metrics");
    EXPECT_TRUE(downPage.contains("zt5_meter_up{serial=\"2002\"} 0"));
    EXPECT_FALSE(downPage.contains("zt5_pipe_temperature_celsius{serial=\"2002\""));

    // Killed without a word: the broker says it for the watcher.
    ::kill(pid_t(watcher->processId()), SIGKILL);
    watcher->waitForFinished();
    EXPECT_TRUE(sub.WaitUntil([&](const Subscriber& s) { return Has(s, status, "offline"); }));

    // One round with the stopped meter: it fails, and so does the round; the watcher says goodbye.
    const std::size_t willAt = sub.Latest(status)->second;
    const CliRun once = RunZt5Ctl(QStringList{QStringLiteral("watch"), QStringLiteral("--once"),
                                              QStringLiteral("--mqtt"),
                                              QStringLiteral("mqtt://127.0.0.1:%1").arg(mqttPort)}
                                  + rig.Place(rig.SqliteTarget()).mid(0, 4));
    EXPECT_EQ(once.exitCode, 1) << once.err.toStdString();
    EXPECT_TRUE(once.err.contains(QStringLiteral("ответили 2"))) << once.err.toStdString();
    EXPECT_TRUE(sub.WaitUntil([&](const Subscriber& s) {
        const auto latest = s.Latest(status);
        return latest->first == "offline" && latest->second > willAt;
    }));
    mosquitto.terminate();
    mosquitto.waitForFinished();
}
