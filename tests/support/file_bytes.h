#pragma once
// A file's whole content read or written in one call, for tests that look at files byte by byte.

#include <QByteArray>
#include <QString>

// Empty when the file cannot be read.
QByteArray ReadAll(const QString& path);
// Replaces the file's content; fails the test when it cannot.
void WriteAll(const QString& path, const QByteArray& bytes);
