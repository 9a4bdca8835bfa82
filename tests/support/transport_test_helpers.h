#pragma once
// Small helpers shared by the transport tests around the recording owner.

#include "base/message_style.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// The monitor blocks one way, in order.
inline QList<QByteArray> MonitorBlocks(const RecordingOwner& owner, bool transmitted)
{
    QList<QByteArray> blocks;
    for (const MonitorBlock& block : owner.Blocks()) {
        if (block.transmitted == transmitted)
            blocks.append(block.bytes);
    }
    return blocks;
}

// Another thread that raises the owner's stop request after `delayMs`; join it.
inline std::thread StopLater(RecordingOwner& owner, int delayMs)
{
    return std::thread([&owner, delayMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        owner.SetStop(true);
    });
}

// Exactly one report so far: `text` as a log line and as an information box.
inline void ExpectReportedOnce(const RecordingOwner& owner, const QString& text)
{
    const QList<RecordedBox> boxes = owner.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Информация"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconInformation);
    EXPECT_EQ(owner.Log(), QStringList{text});
}
