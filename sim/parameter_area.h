#pragma once
// Changes made from the PC under a password: the parameter-change block at register 3796 (accepted
// only after the right password block at register 99) and the active parameter set, service codes 7
// (БД1) and 8 (БД2) with the password in their parameter bytes, as the set's "С ПК" access allows.
//
// Parameters: 0 clock correction in seconds (at most an hour either way), 2 and 3 the contract
// cold-water temperature txд of input 1 and 2 in the active set (0..99.9 °C). Every change goes to
// the DB-changes or administrative log.

#include "modbus_slave.h"
#include "service_commands.h"

#include <QByteArray>

class ConfigurationArea;
class EventLogs;
class SimClock;
struct MeterState;

class ParameterArea : public AreaBehaviour, public ServiceCommandHandler {
public:
    static constexpr std::uint16_t kSelectSet1 = 7;
    static constexpr std::uint16_t kSelectSet2 = 8;
    static constexpr int kClockCorrection = 0;
    static constexpr int kColdWaterInput1 = 2;
    static constexpr int kColdWaterInput2 = 3;

    ParameterArea(const QByteArray& password, const ConfigurationArea& configuration, SimClock& clock, EventLogs& logs,
                  MeterState& state)
        : m_password(password), m_configuration(configuration), m_clock(clock), m_logs(logs), m_state(state)
    {}

    int CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire) override;
    int AfterWrite(MeterImage& image, int start, int count) override;
    int Execute(const ServiceCommand& command, MeterImage& image) override;

    // Six bytes of password text: the meter's password, padded with blanks or zeros.
    bool PasswordMatches(const std::uint8_t* text) const;

private:
    int ChangeParameter(MeterImage& image, int code, float value);

    QByteArray m_password;
    const ConfigurationArea& m_configuration;
    SimClock& m_clock;
    EventLogs& m_logs;
    MeterState& m_state;
};
