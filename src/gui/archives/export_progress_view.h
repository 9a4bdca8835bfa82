#pragma once
// How far "Весь архив" has got: a progress bar with "records done of total" while the export runs, and
// what it did at the end. Hidden until the first export starts.

#include <QWidget>

class QLabel;
class QProgressBar;

class ExportProgressView : public QWidget {
    Q_OBJECT

public:
    explicit ExportProgressView(QWidget* parent = nullptr);

    void Start();
    void ShowProgress(qint64 done, qint64 total);
    // `countsText`: what ExportCountsText says of the export.
    void Finish(bool succeeded, qint64 total, const QString& countsText);

    QProgressBar* Bar() const { return m_bar; }
    QString Text() const;
    bool IsRunning() const { return m_running; }

private:
    QProgressBar* m_bar;
    QLabel* m_text;
    bool m_running = false;
};
