#pragma once
// The program's help: Russian HTML pages built into the program, shown in one window with a contents
// list and back/forward. There is at most one help window; asking again brings it to the front.

#include <QList>
#include <QMainWindow>
#include <QUrl>

class QListWidget;
class QTextBrowser;

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    struct ContentsEntry {
        QString title;
        QString page;  // file name inside the help, e.g. "serial.html"
    };

    // Opens `page` ("monitor.html"; the contents page when empty or unknown) in the help window,
    // creating the window on first use and raising it afterwards.
    static void ShowHelp(QWidget* parent, const QString& page = {});
    // The help window while it exists, else null.
    static HelpWindow* Instance();
    static bool IsOpen();

    // The contents: the links of the contents page, in order.
    static QList<ContentsEntry> Contents();
    // Where a help page lives among the program's resources.
    static QUrl PageUrl(const QString& page);
    static QString ResourceFolder();

    QUrl CurrentPage() const;

signals:
    // The user closed the window (the main window remembers whether help was open).
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit HelpWindow(QWidget* parent);
    void Open(const QString& page);
    void MarkContents(const QUrl& shown);

    QTextBrowser* m_browser;
    QListWidget* m_contents;
};
