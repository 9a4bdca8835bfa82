#pragma once
// The simulated reference stand "РКМ8": takes the five-byte commands that switch its resistance measure
// and its four current measures, answers "Ok" (after an echo of the command when told to echo) and
// refuses anything else with "Er". It keeps the measures set, in order, so tests can compare them.
//
//   'W' 'd'      index CR LF   resistance measure
//   'W' 0x60+n   index CR LF   current measure n (0-3)

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <mutex>

class ReferenceStand {
public:
    explicit ReferenceStand(bool echo = false) : m_echo(echo) {}

    // Bytes from the line; returns what the stand sends back (possibly nothing yet).
    QByteArray Feed(const QByteArray& bytes);

    // "R=95.100" and "I2=20.000" for each measure set, in order (any thread).
    QStringList Measures() const;
    int Refused() const;

private:
    QByteArray Answer(const QByteArray& command);

    const bool m_echo;
    QByteArray m_pending;
    mutable std::mutex m_lock;
    QStringList m_measures;
    int m_refused = 0;
};
