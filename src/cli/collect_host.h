#pragma once
// The host of one meter's driver in a collector run: nobody watches, so nothing is shown. The first
// message the driver would show is kept as the meter's error (what CollectRuns and the summary say),
// questions get the careful answer (No, Cancel), and with -v the exchange log goes to stderr under
// the meter's name. Each driver has its own host.

#include "cli/terminal_host.h"

#include <QString>

class CollectHost : public TerminalHost {
public:
    CollectHost(const QString& meterName, bool verbose);

    // The first message shown, or else the operation the driver was at; asked only of a meter that failed.
    QString ErrorText() const;

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;

private:
    const QString m_meterName;
    const bool m_verbose;
    QString m_firstMessage;
};
