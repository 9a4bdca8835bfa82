#pragma once
// The progress of one line of a collector run on stderr, a line of text at a time (several lines run
// at once, and the journal of a service keeps what a terminal would redraw):
//   "127.0.0.1:5020: Котельная 1: Часовой архив, 120 из 744 записей"
// at the start of every archive and then every few seconds while records come in.

#include "archives/export_progress.h"

#include <QElapsedTimer>
#include <QString>

class CollectProgress : public ExportProgress {
public:
    CollectProgress(const QString& line, const QString& meter);

    void RecordsDone(std::int64_t done, std::int64_t total) override;
    void ArchiveStarted(int kind) override;

private:
    void Print(std::int64_t done, std::int64_t total);

    const QString m_prefix;
    QString m_archive;
    QElapsedTimer m_printed;
};
