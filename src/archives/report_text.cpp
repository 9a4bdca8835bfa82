#include "archives/report_text.h"

#include "archives/event_bits.h"
#include "reports/format_value.h"

namespace {

constexpr int kRuleLength = 147;
constexpr int kReportSizeHint = 4096;  // a full report is about 2 KB; grow once at most
constexpr int kDpInputNumber = 3;      // the extra pulse input is shown as a third input

const QString kLineEnd = QStringLiteral("\r\n");

}  // namespace

ReportText::ReportText()
{
    m_text.reserve(kReportSizeHint);
}

void ReportText::Line(const char* utf8)
{
    Add(utf8);
    EndLine();
}

void ReportText::EndLine()
{
    m_text += kLineEnd;
}

void ReportText::Rule()
{
    m_text += QString(kRuleLength, QLatin1Char('_'));
    EndLine();
}

void ReportText::TableHead(const char* columns)
{
    Rule();
    Line(columns);
}

void ReportText::PipeHead(int pipeNumber)
{
    m_text += QString::asprintf("Труба %d:   ", pipeNumber);
}

void ReportText::InputHead(int inputNumber)
{
    m_text += QString::asprintf("ТВ %d:   ", inputNumber);
}

void ReportText::Value(double value, int decimals, int width, FlaggedQuantity quantity, std::uint16_t flags,
                       int positions)
{
    Value(value, decimals, width);
    m_text += Markers(quantity, flags, positions);
}

void ReportText::Value(double value, int decimals, int width)
{
    m_text += FormatValue(value, decimals, width, true);
}

void ReportText::Integer(std::uint32_t value)
{
    m_text += QString::asprintf("%-8u", value);
}

void ReportText::DpSection(double value, int width, const QString& markers)
{
    EndLine();
    TableHead("        ДП");
    InputHead(kDpInputNumber);
    Value(value, 5, width);
    m_text += markers;
    EndLine();
    Rule();
    EndLine();
    EndLine();
}

void ReportText::Counters(std::uint32_t network, std::uint32_t display, std::uint32_t powerOff)
{
    Add("Счетчик работы по сети без ВП (мин.): ");
    Integer(network);
    EndLine();
    Add("Счетчик работы дисплея без ВП (мин.): ");
    Integer(display);
    EndLine();
    Add("Счетчик отключения ВП (мин.):         ");
    Integer(powerOff);
    EndLine();
    EndLine();
}

void ReportText::ActiveSet(int setNumber)
{
    Add("Активная БД: ");
    m_text += QString::asprintf("%-8d", setNumber);
    EndLine();
}

void ReportText::EventsAndControls(std::uint16_t events, std::uint16_t abstractControls)
{
    Line("СОБЫТИЯ:");
    for (const QString& name : EventBitLines(events)) {
        m_text += name;
        EndLine();
    }
    EndLine();
    m_text += QString::asprintf("Абстрактные контроли: 0x%.4X", abstractControls);
    EndLine();
}
