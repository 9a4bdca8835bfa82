#pragma once
// A report viewer for tests: keeps the messages it is given and the bytes of every report it is shown,
// read while the report is "open", and can do more at that moment (open a second report, say).

#include <QByteArray>
#include <QFile>
#include <functional>
#include <vector>

#include "reports/report_host.h"

class RecordingViewer : public ReportViewer {
public:
    struct Shown {
        QString file;
        QString saveFolder;
        QByteArray bytes;
    };

    void ShowMessage(const UserMessage& message) override { messages.push_back(message); }

    void ShowReport(const QString& file, const QString& saveFolder) override
    {
        QFile shownFile(file);
        shown.push_back({file, saveFolder, shownFile.open(QIODevice::ReadOnly) ? shownFile.readAll() : QByteArray()});
        if (whileShown)
            whileShown(file);
    }

    QString LastMessage() const { return messages.empty() ? QString() : messages.back().text; }

    std::vector<UserMessage> messages;
    std::vector<Shown> shown;
    std::function<void(const QString&)> whileShown;
};
