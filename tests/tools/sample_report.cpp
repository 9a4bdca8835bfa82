// Writes the settings report of the tests' known configuration to a file, the way the command line
// will: through the report writer with a viewer that saves what it is shown. For checks with programs
// outside this project (a spreadsheet program opening the file).
//
//     zt5-sample-report OUT.xls

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "config/settings_report_output.h"
#include "reports/report_save.h"
#include "reports/report_writer.h"
#include "support/known_configuration.h"

namespace {

class PrintingHost : public ConfigMessageHost, public MessageSink {
public:
    int ShowMessage(const QString& text, const QString&, unsigned) override
    {
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
        return MessageAnswer::kOk;
    }
    void ShowMessage(const UserMessage& message) override { ShowMessage(message.text, message.caption, message.style); }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zt5-sample-report OUT.xls\n");
        return 2;
    }
    QTemporaryDir folder;
    PrintingHost host;
    SavingReportViewer viewer(ReportSaveName(QString::fromLocal8Bit(argv[1])), host);
    ConfigurationBlocks blocks = KnownConfiguration();
    const QDateTime formed(QDate(2024, 3, 5), QTime(14, 7, 9));
    if (!ShowSettingsReport(blocks, host, viewer, {folder.path(), NewReportWindowNumber(), nullptr}, formed))
        return 1;
    return viewer.Saved() ? 0 : 1;
}
