#pragma once
// A window's placement as the settings store keeps it ("Position" under "Settings\Screen\<window>"):
// a 44-byte record of eleven little-endian 32-bit fields - record length, flags, show state,
// minimised position (x, y), maximised position (x, y) and the normal rectangle (left, top, right,
// bottom, right and bottom exclusive). The same record serves every window that remembers its place.

#include <QByteArray>
#include <QPoint>
#include <QRect>

struct WindowPlacement {
    static constexpr int kRecordSize = 44;

    enum ShowState : qint32 { kHidden = 0, kNormal = 1, kMinimised = 2, kMaximised = 3 };

    quint32 flags = 0;
    qint32 showState = kNormal;
    QPoint minimisedPosition{-1, -1};
    QPoint maximisedPosition{-1, -1};
    QRect normal;  // the window's rectangle when it is neither minimised nor maximised

    QByteArray ToBytes() const;
    // Reads the first 44 bytes of `bytes` (a longer value is cut). False, leaving `placement` alone, when
    // the value is shorter, names another record length or holds an empty rectangle.
    static bool FromBytes(const QByteArray& bytes, WindowPlacement* placement);
};
