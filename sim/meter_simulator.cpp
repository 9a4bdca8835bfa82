#include "meter_simulator.h"

#include "archive_area.h"
#include "clock_commands.h"
#include "configuration_area.h"
#include "event_logs.h"
#include "flash_area.h"
#include "identity_area.h"
#include "maintenance_commands.h"
#include "meter_archives.h"
#include "parameter_area.h"
#include "read_only_areas.h"
#include "service_commands.h"
#include "service_data_area.h"

struct MeterSimulator::Areas {
    Areas(const SimOptions& options, SimClock& clock, MeterState& state, const ModbusSlave& slave, FaultPlan& faults)
        : archives(options.seed, options.archives, clock.Now()),
          logs(options.seed, archives.ResetTime(), archives.Now(clock.Now())),
          configuration(logs, clock),
          parameters(options.password, configuration, clock, logs, state),
          clockCommands(clock, archives, logs),
          maintenance(archives, clock, logs, state),
          archiveArea(archives, logs, clock, state, slave, faults),
          flash(options.seed)
    {
        serviceCommands.AddHandler(&configuration);
        serviceCommands.AddHandler(&clockCommands);
        serviceCommands.AddHandler(&parameters);
        serviceCommands.AddHandler(&maintenance);
    }

    void Register(ModbusSlave& slave)
    {
        // Refusals first: a write some area refuses reaches none of them.
        for (AreaBehaviour* behaviour : std::initializer_list<AreaBehaviour*>{
                 &readOnly, &configuration, &serviceData, &parameters, &serviceCommands, &archiveArea, &logs, &flash})
            slave.AddBehaviour(behaviour);
    }

    MeterArchives archives;
    EventLogs logs;
    ReadOnlyAreas readOnly;
    ConfigurationArea configuration;
    ServiceDataArea serviceData;
    ParameterArea parameters;
    ClockCommands clockCommands;
    MaintenanceCommands maintenance;
    ServiceCommandArea serviceCommands;
    ArchiveArea archiveArea;
    FlashArea flash;
};

MeterSimulator::MeterSimulator(const SimOptions& options)
    : m_options(options), m_slave(m_image), m_faults(options.faults)
{
    m_faults.Reseed(options.seed);
    m_slave.SetAddress(options.address);
    m_areas = std::make_unique<Areas>(m_options, m_clock, m_state, m_slave, m_faults);
    if (!m_options.plainImage)
        m_areas->Register(m_slave);
    SetIdentity(options.identity);
}

MeterSimulator::~MeterSimulator() = default;

MeterArchives& MeterSimulator::Archives()
{
    return m_areas->archives;
}
EventLogs& MeterSimulator::Logs()
{
    return m_areas->logs;
}
ConfigurationArea& MeterSimulator::Configuration()
{
    return m_areas->configuration;
}

void MeterSimulator::SetIdentity(const SimIdentity& identity)
{
    m_options.identity = identity;
    WriteIdentity(m_image, identity);
    m_areas->configuration.Initialise(m_image,
                                      {m_options.blankConfiguration, identity.model, m_options.address,
                                       m_options.badTunesChecksum, m_options.badOpenChecksum});
    ServiceDataArea::Initialise(m_image, identity, m_clock.Now());
}
