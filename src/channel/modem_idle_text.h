#pragma once
// What a modem sends on its own while the data connection is idle ("\r\nNO CARRIER\r\n" when the far
// end hangs up): read off the port between two commands.

#include <QByteArray>

class CCommPortClass;

constexpr int kModemIdleTextCapacity = 1000;
// How long the line has to stay quiet before the look ends.
constexpr int kModemIdleQuietMs = 50;

// The bytes waiting on the open port and those that follow within a quiet interval, at most
// `capacity`. Empty when the port is closed, quiet, or the owner asks to stop.
QByteArray ReadModemIdleText(CCommPortClass& port, int capacity = kModemIdleTextCapacity);
