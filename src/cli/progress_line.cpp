#include "cli/progress_line.h"

#include "cli/terminal_output.h"

#include <QString>

#include <unistd.h>

namespace {

constexpr qint64 kRedrawMs = 200;

}  // namespace

ProgressLine::ProgressLine() : m_terminal(::isatty(STDERR_FILENO) == 1 && !Quiet())
{
    m_started.start();
}

void ProgressLine::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (!m_terminal || (m_drawn.isValid() && m_drawn.elapsed() < kRedrawMs && done < total))
        return;
    m_drawn.start();
    const double seconds = double(m_started.elapsed()) / 1000.0;
    const qint64 rate = seconds > 0 ? qint64(double(done) / seconds) : 0;
    RedrawProgressLine(QStringLiteral("%1/%2 записей, %3 зап./с").arg(done).arg(total).arg(rate));
    m_shown = true;
}

void ProgressLine::Finish()
{
    if (m_shown)
        PrintError(QStringLiteral("\n"));
    m_shown = false;
}
