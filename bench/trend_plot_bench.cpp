// The trends page with a year of hourly records (8760) in an SQLite archive database, on the offscreen
// platform at 1200x700:
//   BM_TrendReadYear          the year read back out of the database (ArchiveDatabase::ReadRange);
//   BM_TrendBuildChart/q:N    the chart of N quantities built from the records;
//   BM_TrendFirstRender/q:N   a new chart shown in the view and drawn the first time;
//   BM_TrendPlotYear/q:N      the three together, what a user waits for after "Построить" when the
//                             database has the year (goal: under a second);
//   BM_TrendZoomRender/q:N    one zoom step (in or out around the middle) drawn again (goal: well under
//                             the 100 ms a user notices).

#include "archives/archive_database.h"
#include "archives/archive_range.h"
#include "archives/record_bytes.h"
#include "gui/archives/trend_chart_view.h"
#include "sim/archive_generator.h"

#include <QApplication>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::uint32_t kSerial = 170001;
constexpr int kYearHours = 8760;
constexpr TChronoArch kFirstHour{1, 1, 23, 0};  // 2023 is no leap year: 8760 hours to 31.12.2023 23:00
constexpr TChronoArch kLastHour{31, 12, 23, 23};
constexpr QSize kViewSize(1200, 700);

// t1, t2, V1, Qтв ТВ1 (the page's default), then P1, M1, dt ТВ1, Qг ТВ1.
TrendSelection Quantities(int count)
{
    static const char* const keys[] = {"t1_1", "t1_2", "V1_1", "Qwi_1", "P1_1", "M1_1", "dT_1", "Qg_1"};
    TrendSelection chosen;
    for (int i = 0; i < count && i < int(std::size(keys)); ++i)
        chosen.push_back(FindTrendQuantity(QString::fromLatin1(keys[i])));
    return chosen;
}

// The database with the simulated meter's year of hourly records, made once.
class YearDatabase {
public:
    YearDatabase()
    {
        m_target.path = m_folder.filePath(QStringLiteral("Data.sqlite"));
        ArchiveDatabase database;
        if (!database.Open(m_target))
            return;
        const ArchiveGenerator generator(1);
        TChronoArch hour = kFirstHour;
        for (int i = 0; i < kYearHours; ++i, hour = StepArchiveDate(kArchiveHourly, hour, 1, ReportTime{0, 1})) {
            const ArchiveRecord record = generator.ValueRecord(kArchiveHourly, hour, ReportTime{0, 1});
            const DateTimeStamp date{hour.day, hour.month, hour.year, hour.hour, 0, 0};
            const QByteArray bytes = RecordToBytes(record);
            database.Write(
                kArchiveHourly,
                std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())), kSerial,
                date);
        }
        m_ready = database.Close();
    }

    // The year as the trends page gets it; empty on failure.
    std::vector<RangeRecord> Read() const
    {
        std::vector<RangeRecord> records;
        ArchiveDatabase database;
        if (!database.Open(m_target) || !database.ReadRange(kArchiveHourly, kSerial, kFirstHour, kLastHour, &records))
            records.clear();
        database.Close();
        return records;
    }

    bool Ready() const { return m_ready; }

private:
    QTemporaryDir m_folder;
    DatabaseTarget m_target;
    bool m_ready = false;
};

const YearDatabase& Year()
{
    static const YearDatabase year;
    return year;
}

// The year's records, read once for the benchmarks that start from them.
const std::vector<RangeRecord>& YearRecords()
{
    static const std::vector<RangeRecord> records = Year().Read();
    return records;
}

bool HaveYear(benchmark::State& state, const std::vector<RangeRecord>& records)
{
    if (int(records.size()) == kYearHours)
        return true;
    state.SkipWithError("the year's records could not be written and read back");
    return false;
}

// The view drawn as a user would see it: the chart's pending layout done (the window's event loop does
// that before it paints), then painted into an image of the view's size.
QPixmap Render(TrendChartView& view)
{
    QCoreApplication::sendPostedEvents();
    QPixmap picture = view.grab();
    benchmark::DoNotOptimize(picture);
    return picture;
}

// Whether the picture shows the first quantity's line: a run that timed an empty chart measured nothing.
bool ShowsFirstLine(const TrendChartView& view, const QPixmap& picture)
{
    const QRgb line = view.Chart().series.front().line->color().rgb();
    const QImage image = picture.toImage();
    int pixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            pixels += image.pixel(x, y) == line;
    }
    return pixels > image.width() / 2;
}

// Looked at once the clock has stopped, on the last picture drawn.
void CheckDrawn(benchmark::State& state, const TrendChartView& view, const QPixmap& picture)
{
    if (view.Chart().series.empty() || ShowsFirstLine(view, picture))
        return;
    state.SkipWithError("the chart was not drawn");
}

void BM_TrendReadYear(benchmark::State& state)
{
    for (auto _ : state) {
        const std::vector<RangeRecord> records = Year().Read();
        if (!HaveYear(state, records))
            break;
    }
    state.SetItemsProcessed(state.iterations() * kYearHours);
}
BENCHMARK(BM_TrendReadYear)->Unit(benchmark::kMillisecond);

void BM_TrendBuildChart(benchmark::State& state)
{
    const std::vector<RangeRecord>& records = YearRecords();
    const TrendSelection quantities = Quantities(int(state.range(0)));
    if (!HaveYear(state, records))
        return;
    for (auto _ : state) {
        std::unique_ptr<QChart> chart(BuildTrendChart(records, quantities).chart);
        benchmark::DoNotOptimize(chart.get());
    }
    state.SetItemsProcessed(state.iterations() * kYearHours * state.range(0));
}
BENCHMARK(BM_TrendBuildChart)->ArgName("q")->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_TrendFirstRender(benchmark::State& state)
{
    const std::vector<RangeRecord>& records = YearRecords();
    const TrendSelection quantities = Quantities(int(state.range(0)));
    if (!HaveYear(state, records))
        return;
    TrendChartView view;
    view.resize(kViewSize);
    QPixmap last;
    for (auto _ : state) {
        state.PauseTiming();
        TrendChart chart = BuildTrendChart(records, quantities);
        state.ResumeTiming();
        view.ShowChart(std::move(chart), records);
        last = Render(view);
    }
    CheckDrawn(state, view, last);
}
BENCHMARK(BM_TrendFirstRender)->ArgName("q")->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_TrendPlotYear(benchmark::State& state)
{
    const TrendSelection quantities = Quantities(int(state.range(0)));
    TrendChartView view;
    view.resize(kViewSize);
    QPixmap last;
    for (auto _ : state) {
        std::vector<RangeRecord> records = Year().Read();
        if (!HaveYear(state, records))
            break;
        TrendChart chart = BuildTrendChart(records, quantities);
        view.ShowChart(std::move(chart), std::move(records));
        last = Render(view);
    }
    CheckDrawn(state, view, last);
}
BENCHMARK(BM_TrendPlotYear)->ArgName("q")->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_TrendZoomRender(benchmark::State& state)
{
    const std::vector<RangeRecord>& records = YearRecords();
    if (!HaveYear(state, records))
        return;
    TrendChartView view;
    view.resize(kViewSize);
    view.ShowChart(BuildTrendChart(records, Quantities(int(state.range(0)))), records);
    QPixmap last = Render(view);
    bool in = true;
    for (auto _ : state) {
        // In and out by turns: the shown stretch stays around half the year, not ever shorter.
        const auto [from, to] = view.TimeRange();
        view.ZoomAround((double(from) + double(to)) / 2, in ? 0.5 : 2.0);
        in = !in;
        last = Render(view);
    }
    CheckDrawn(state, view, last);
}
BENCHMARK(BM_TrendZoomRender)->ArgName("q")->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Drawn off screen: the figures are the program's own drawing, not a display server's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The database is written before any clock runs.
    Year();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
