// A growing total that comes back smaller is a bad read: the state leaves it out, the metrics keep the
// accepted value, the round names it, and the other values of that read still go out. A meter that did
// not answer shows none of its values on the page.

#include "watch/metrics_page.h"
#include "watch/watch_board.h"
#include "watch/watch_topics.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

CollectLine OneMeterLine()
{
    CollectMeter meter;
    meter.name = QStringLiteral("Котельная");
    return CollectLine{QStringLiteral("127.0.0.1:5020"), {meter}};
}

MeterPoll Poll(double heat, float t1)
{
    MeterPoll poll;
    poll.line = QStringLiteral("127.0.0.1:5020");
    poll.node = QStringLiteral("Котельная");
    MeterReading reading;
    reading.serial = 4242;
    reading.model = 3;
    reading.time = QDateTime(QDate(2026, 12, 10), QTime(12, 0));
    reading.totals.body.inputs[0].Qtv = heat;
    reading.values.t[0] = t1;
    poll.reading = reading;
    return poll;
}

}  // namespace

TEST(WatchBoard, ATotalGoingDownIsLeftOutAndTheMetricsKeepTheAcceptedOne)
{
    const std::vector<CollectLine> lines{OneMeterLine()};
    WatchBoard board(lines);
    board.TakeRound({Poll(12.5, 70.1f)});
    board.TakeRound({Poll(12.1, 71.2f)});
    const BoardMeter& meter = board.Meters().front();
    EXPECT_EQ(meter.refusedKeys, QStringList{QStringLiteral("Qwi_1")});
    EXPECT_EQ(meter.refused, QStringList{QStringLiteral("Qwi_1 12.5 -> 12.1")});

    const QJsonObject state = QJsonDocument::fromJson(StatePayload(meter)).object();
    EXPECT_FALSE(state.contains(QStringLiteral("Qwi_1")));
    EXPECT_DOUBLE_EQ(state[QStringLiteral("t1_1")].toDouble(), 71.2);  // the single as the decimal it holds
    EXPECT_EQ(state[QStringLiteral("serial")].toInteger(), 4242);

    const QByteArray page = MetricsText(board, {}, {});
    EXPECT_TRUE(page.contains("zt5_input_heat_joules_total{serial=\"4242\",input=\"1\"} 52335000000\n"));
    EXPECT_TRUE(page.contains("zt5_meter_up{serial=\"4242\"} 1\n"));

    // The next good read above the accepted value goes out again; a silent round shows nothing of it.
    board.TakeRound({Poll(12.6, 70.0f)});
    EXPECT_TRUE(board.Meters().front().refused.isEmpty());
    MeterPoll silent = Poll(0, 0);
    silent.reading.reset();
    board.TakeRound({silent});
    const QByteArray down = MetricsText(board, {}, {});
    EXPECT_TRUE(down.contains("zt5_meter_up{serial=\"4242\"} 0\n"));
    EXPECT_FALSE(down.contains("zt5_input_heat_joules_total{"));
    EXPECT_EQ(board.Answered(), 0);
}
