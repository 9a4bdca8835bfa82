#include "config/working_copy_state.h"

void WorkingCopyState::MarkStored(const ConfigurationBlocks& blocks)
{
    m_stored = Image(blocks);
    m_fromFile = false;
}

void WorkingCopyState::MarkOpenedFromFile(const ConfigurationBlocks& blocks)
{
    m_stored = Image(blocks);
    m_fromFile = true;
}

bool WorkingCopyState::HoldsUnstored(const ConfigurationBlocks& blocks) const
{
    return m_fromFile || (!m_stored.isEmpty() && Image(blocks) != m_stored);
}

QByteArray WorkingCopyState::Image(const ConfigurationBlocks& blocks)
{
    // The identity is the meter's, not the user's: only what the pages edit counts.
    QByteArray image;
    image.append(reinterpret_cast<const char*>(&blocks.tunes), sizeof blocks.tunes);
    image.append(reinterpret_cast<const char*>(&blocks.open), sizeof blocks.open);
    image.append(reinterpret_cast<const char*>(&blocks.controls), sizeof blocks.controls);
    return image;
}
