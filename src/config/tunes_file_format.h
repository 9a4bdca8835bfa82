#pragma once
// The settings file ("*.zt5"): the four configuration blocks behind a 1168-byte header.
//
//    0  header: save time as eight u16 (year, month, day of week with 0 = Sunday, day, hour, minute,
//       second, millisecond) | 16 u32 format version 0x00010003 | 20 "Zt5 tunes file" and a zero |
//       52 u32 sizes of the four blocks: 38, 510, 22, 64 | every other byte zero
// 1168  DeviceIdentity (type code always 0x1702)    1206  TunesRecord
// 1716  OpenSettings                                 1738  ControlsBlock       1802  end
//
// Older files (version 0x00010000 or below) have a 1164-byte header, the 574-byte record of the older
// meters and OpenSettings, without a separate controls block: 1798 bytes.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "config/device_blocks.h"

inline constexpr qsizetype kTunesFileHeaderSize = 1168;
inline constexpr qsizetype kOlderTunesFileHeaderSize = 1164;
inline constexpr qsizetype kTunesFileSize = 1802;
inline constexpr qsizetype kOlderTunesFileSize = 1798;
inline constexpr std::uint32_t kTunesFileVersion = 0x00010003;
inline constexpr std::uint32_t kOlderTunesFileVersion = 0x00010000;

// The bytes of a file saved at `savedAt` (local time).
QByteArray BuildTunesFile(const ConfigurationBlocks& blocks, const QDateTime& savedAt);

struct TunesFileReading {
    bool older = false;          // the older form was recognised
    qsizetype expectedSize = 0;  // length of the form the file was read as
    // The blocks a short file ends inside or before, with the bytes missing of each:
    // "блок управления (52 байт из 64)"; empty for a whole file.
    QString missing;
};

// Lays `bytes` over `blocks` the way the file has always been read: the record and the open settings
// start from zero, identity and controls are overwritten by what the file holds. A short file is read as
// far as it goes. An older file's 64 bytes after the 510-byte record are its controls (as a meter of
// that generation keeps them) and replace the controls block.
TunesFileReading ParseTunesFile(const QByteArray& bytes, ConfigurationBlocks& blocks);

// Whether `bytes` can be a settings file: the meter's type code where either form keeps the identity,
// or the text every saved file carries in its header. Anything else (a node base, a report, a picture)
// would only fill the configuration with noise.
bool IsTunesFile(const QByteArray& bytes);
