#include "support/driver_rig.h"

#include "channel/port_table.h"
#include "config/older_layout.h"
#include "config/tunes_defaults.h"
#include "meter/register_map.h"
#include "protocol/config_checksums.h"

#include <QMutexLocker>

#include <cstring>

namespace {

constexpr int kRigPortNumber = 31;  // the COM number the simulator's pty is put under

SimOptions SimOptionsFor(const RigOptions& options)
{
    SimOptions sim;
    sim.endpoint = options.line == RigLine::kTcp ? SimOptions::Endpoint::Tcp : SimOptions::Endpoint::Pty;
    sim.framing = options.framing;
    sim.identity.firmwareLevel = options.firmwareLevel;
    sim.faults = options.faults;
    sim.faultDelayMs = options.faultDelayMs;
    sim.archives = options.archives;
    sim.baudDelay = options.baudDelay;
    sim.modem = options.modem;
    sim.blankConfiguration = options.blankConfiguration;
    return sim;
}

}  // namespace

void RecordingRequester::RefreshCommandStates()
{
    QMutexLocker lock(&m_mutex);
    m_calls << QStringLiteral("R");
}

void RecordingRequester::CommandFinished(int code)
{
    QMutexLocker lock(&m_mutex);
    m_calls << QString::number(code);
    ++m_notices;
}

QStringList RecordingRequester::Calls() const
{
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

int RecordingRequester::Notices() const
{
    QMutexLocker lock(&m_mutex);
    return m_notices;
}

DriverRig::DriverRig(const RigOptions& rigOptions)
    : options(rigOptions), meter(SimOptionsFor(rigOptions)), server(meter)
{}

DriverRig::~DriverRig()
{
    driver.StopThreads();
    driver.TransmitChanel().Disconnect();
    server.Stop();
    if (options.line == RigLine::kPty)
        PortTable::Global().Assign(kRigPortNumber, QString());
}

bool DriverRig::Start()
{
    QString error;
    if (!server.Start(&error))
        return false;
    ChannelSettings& settings = driver.TransmitChanel().Settings();
    if (options.line == RigLine::kTcp) {
        settings.kind = kChannelIp;
        settings.tcp = 1;
        settings.ipAddress = QStringLiteral("127.0.0.1");
        settings.ipPort = server.BoundPort();
    } else {
        PortTable::Global().Assign(kRigPortNumber, server.PtyPath());
        settings.kind = options.modem.enabled ? kChannelModem : kChannelDirect;
        settings.portNumber = kRigPortNumber;
        settings.byteSize = 8;
    }
    settings.framing = options.framing;
    settings.attempts = options.attempts;
    settings.answerTimeoutSec = options.timeoutSec;
    driver.ModbusMaster().SetFunctionSet(options.functionSet);
    driver.AttachHost(&host);
    if (options.threads)
        driver.StartThreads();
    return true;
}

bool DriverRig::Run(std::uint32_t code, CommandRequester* requester, int timeoutMs)
{
    return driver.QueueCommand(code, requester) && driver.WaitUntilIdle(timeoutMs);
}

void DriverRig::PutMeterConfiguration(const ConfigurationBlocks& blocks)
{
    WithImage([&](MeterImage& image) {
        std::uint8_t* record = image.Bytes() + AreaOffset(MeterArea::kTunes);
        const int recordBytes = AreaSize(MeterArea::kTunes, options.firmwareLevel);
        if (options.firmwareLevel < kLevelSeparateControls) {
            const OlderTunesImage older = JoinOlderTunes(blocks.tunes, blocks.controls);
            std::memcpy(record, older.data(), older.size());
        } else {
            std::memcpy(record, &blocks.tunes, sizeof blocks.tunes);
            std::memcpy(image.Bytes() + AreaOffset(MeterArea::kControls), &blocks.controls, sizeof blocks.controls);
        }
        std::uint8_t* open = image.Bytes() + AreaOffset(MeterArea::kOpenSettings);
        std::memcpy(open, &blocks.open, sizeof blocks.open);
        PutChecksumBlock(image.At(AreaRegister(MeterArea::kTunesChecksum)), 8, record, recordBytes);
        PutChecksumBlock(image.At(AreaRegister(MeterArea::kOpenChecksum)), 6, open, int(sizeof blocks.open));
    });
}

ConfigurationBlocks DriverRig::MeterConfiguration()
{
    ConfigurationBlocks blocks{};
    WithImage([&](MeterImage& image) {
        std::memcpy(&blocks.identity, image.Bytes(), sizeof blocks.identity);
        const std::uint8_t* record = image.Bytes() + AreaOffset(MeterArea::kTunes);
        if (options.firmwareLevel < kLevelSeparateControls) {
            OlderTunesImage older;
            std::memcpy(older.data(), record, older.size());
            SplitOlderTunes(older, blocks.tunes, blocks.controls);
        } else {
            std::memcpy(&blocks.tunes, record, sizeof blocks.tunes);
            std::memcpy(&blocks.controls, image.Bytes() + AreaOffset(MeterArea::kControls), sizeof blocks.controls);
        }
        std::memcpy(&blocks.open, image.Bytes() + AreaOffset(MeterArea::kOpenSettings), sizeof blocks.open);
    });
    return blocks;
}

void DriverRig::SetMeterClock(const QDateTime& localTime)
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    meter.Clock().Set(SecondsOf(StampOf(localTime)));
}

DateTimeStamp DriverRig::MeterClock()
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    return meter.Clock().NowStamp();
}

QList<SentUnit> DriverRig::SentRequests() const
{
    QList<SentUnit> units;
    for (const QString& line : host.LogLines()) {
        const int data = line.indexOf(QStringLiteral("==>>"));
        if (data < 0 || !line.left(data).contains(QStringLiteral(" Out ")))
            continue;
        const QByteArray bytes = QByteArray::fromHex(line.mid(data + 4).toLatin1());
        if (bytes.size() < 6)
            continue;
        const auto at = [&](int i) {
            return GetBigEndian16(reinterpret_cast<const std::uint8_t*>(bytes.constData()) + i);
        };
        SentUnit unit;
        unit.function = std::uint8_t(bytes[1]);
        unit.start = at(2);
        unit.count = at(4);
        if (unit.function == 0x48 && bytes.size() >= 10) {
            unit.writeStart = at(6);
            unit.writeCount = at(8);
        }
        units << unit;
    }
    return units;
}

QStringList DriverRig::Messages() const
{
    QStringList lines;
    for (const QString& line : host.LogLines()) {
        if (!line.contains(QStringLiteral("==>>")))
            lines << (line.endsWith(QStringLiteral("\r\n")) ? line.chopped(2) : line);
    }
    return lines;
}

QStringList DriverRig::BoxTexts() const
{
    QStringList texts;
    for (const RecordedBox& box : host.Boxes())
        texts << box.text;
    return texts;
}

QString DriverRig::LastOperationText() const
{
    const QStringList texts = host.OperationTexts();
    return texts.isEmpty() ? QString() : texts.last();
}

ConfigurationBlocks DistinctConfiguration(std::uint8_t model, int variant)
{
    ConfigurationBlocks blocks{};
    MakeDefaultConfiguration(blocks);
    blocks.identity.modelIndex = model;
    TunesRecord& tunes = blocks.tunes;
    tunes.reportHour = std::uint8_t(7 + variant);
    tunes.reportDay = std::uint8_t(3 + variant);
    tunes.SetDb2Used(variant % 2 != 0);
    tunes.db[0].inputs[0].maxImbalance = 2.5f + float(variant);
    tunes.db[1].pipes[1][2].contractTemperature = 41.25f + float(variant);
    tunes.extra.hourlyMax = 123.5f + float(variant);
    std::memcpy(blocks.open.organisationCode, variant ? "ORG000002" : "ORG000001", 10);
    std::memcpy(blocks.open.contract, "CONTRACT9", 10);
    blocks.open.networkAddress = std::uint8_t(17 + variant);
    blocks.controls.controls[0].SetKind(kControlPipe);
    blocks.controls.controls[0].SetNumber(std::uint8_t(1 + variant));
    blocks.controls.controls[0].minimum = -5.0f;
    blocks.controls.controls[3].maximum = 99.0f + float(variant);
    blocks.controls.alarms[2].SetEventOn(4 + variant, true);
    return blocks;
}
