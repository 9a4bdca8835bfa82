#include "reports/report_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <atomic>

#include "base/app_location.h"
#include "base/atomic_file.h"
#include "base/text_codec.h"
#include "reports/temp_files.h"
#include "reports/text_file.h"

namespace {

constexpr qint64 kCopyBlock = 65536;

// The two temporary files of one report. Both are closed and removed when the report is done or failed.
class ReportFiles {
public:
    ReportFiles(const QString& folder, quint32 windowNumber, QIODevice* log, ReportViewer& viewer)
        : m_finishedPath(ReportTempName(folder, windowNumber, ReportTempPart::Finished)),
          m_bodyPath(ReportTempName(folder, windowNumber, ReportTempPart::Body)),
          m_log(log),
          m_viewer(viewer)
    {}

    bool Open()
    {
        // What a killed writer left here goes first, so such files do not pile up.
        RemoveStaleReportTempFiles(QFileInfo(m_finishedPath).absolutePath());
        if (!gOpenTempFile(m_finished, m_finishedPath, m_log, &m_viewer)) {
            gDeleteTempFile(m_finishedPath, m_log, &m_viewer, m_finished);
            return false;
        }
        if (!gOpenTempFile(m_body, m_bodyPath, m_log, &m_viewer)) {
            // The finished file is already there and would be left over empty: it goes too.
            Delete();
            return false;
        }
        return true;
    }

    // Body first, then the finished file: frame, body copied back in blocks, tail.
    bool Write(const QString& body, const ReportOptions& options)
    {
        return Put(m_body, EncodeWindows1251(body)) && Put(m_finished, EncodeWindows1251(ReportHeader(options)))
            && CopyBody() && Put(m_finished, EncodeWindows1251(ReportTail())) && Flush(m_finished);
    }

    void Show(const QString& folder)
    {
        gCloseTempFile(m_finished, m_log);
        gCloseTempFile(m_body, m_log);
        m_viewer.ShowReport(m_finishedPath, folder);
    }

    void Delete()
    {
        gDeleteTempFile(m_bodyPath, m_log, &m_viewer, m_body);
        gDeleteTempFile(m_finishedPath, m_log, &m_viewer, m_finished);
    }

private:
    bool Fail(QFile& file)
    {
        m_viewer.ShowMessage(
            UserMessage::Information(FileFailureText("записать отчет", file.fileName(), file.errorString())));
        return false;
    }

    bool Put(QFile& file, const QByteArray& bytes)
    {
        return WriteWhole(file, bytes.constData(), bytes.size()) || Fail(file);
    }

    bool Flush(QFile& file) { return file.flush() || Fail(file); }

    bool CopyBody()
    {
        if (!Flush(m_body) || !m_body.seek(0))
            return Fail(m_body);
        QByteArray block(kCopyBlock, Qt::Uninitialized);
        for (;;) {
            const qint64 got = m_body.read(block.data(), kCopyBlock);
            if (got < 0)
                return Fail(m_body);
            if (got == 0)
                return true;
            if (!WriteWhole(m_finished, block.constData(), got))
                return Fail(m_finished);
        }
    }

    const QString m_finishedPath;
    const QString m_bodyPath;
    QIODevice* m_log;
    ReportViewer& m_viewer;
    QFile m_finished;
    QFile m_body;
};

}  // namespace

QString DefaultReportFolder()
{
    return PortableFolderOr(ProgramFolder(), QStandardPaths::writableLocation(QStandardPaths::TempLocation));
}

quint32 NewReportWindowNumber()
{
    // The process id (at most 22 bits on Linux) above a per-process count of ten bits: reports of one
    // process differ by the count, reports of two processes by the id.
    static std::atomic<quint32> count{0};
    const auto pid = static_cast<quint32>(QCoreApplication::applicationPid());
    return (pid << 10) | (count.fetch_add(1) & 0x3FF);
}

bool WriteReport(const QString& body, const QString& folder, quint32 windowNumber, QIODevice* log, ReportViewer& viewer,
                 const ReportOptions& options)
{
    ReportFiles files(folder, windowNumber, log, viewer);
    if (!files.Open())
        return false;
    if (!files.Write(body, options)) {
        files.Delete();
        return false;
    }
    files.Show(folder);
    files.Delete();
    return true;
}
