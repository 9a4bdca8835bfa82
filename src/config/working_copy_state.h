#pragma once
// Whether the configuration being edited holds something only the user has: changes not yet written to
// the meter or saved to a file, or settings opened from a file. Such a copy is not replaced unasked.

#include "config/device_blocks.h"

#include <QByteArray>

class WorkingCopyState {
public:
    // The copy now equals what the meter or a file holds (read, written, saved).
    void MarkStored(const ConfigurationBlocks& blocks);
    // The copy came from a settings file.
    void MarkOpenedFromFile(const ConfigurationBlocks& blocks);
    // True when replacing `blocks` would lose edits or settings opened from a file.
    bool HoldsUnstored(const ConfigurationBlocks& blocks) const;

private:
    static QByteArray Image(const ConfigurationBlocks& blocks);

    QByteArray m_stored;  // empty: nothing marked yet
    bool m_fromFile = false;
};
