#pragma once
// The base of every page the main window shows in its page pane. A page knows its caption, whether its
// entry in the page tree is enabled, and reaches the window through its host.

#include "gui/widgets/page_host.h"

#include <QString>
#include <QWidget>

#include <initializer_list>

class CDlgParentWithMyProperty : public QWidget {
    Q_OBJECT

public:
    explicit CDlgParentWithMyProperty(PageHost& host, QWidget* parent = nullptr);

    PageHost& Host() const { return m_host; }

    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    // The help page F1 opens for this page ("config-pipes.html"); empty: the parent page's.
    const QString& HelpPage() const { return m_helpPage; }
    void SetHelpPage(const QString& page) { m_helpPage = page; }

    // A disabled page gets a disabled entry in the page tree.
    bool IsPageEnabled() const { return m_pageEnabled; }
    void SetPageEnabled(bool enabled);

    // The page has just been brought into the page pane: it refreshes what may have changed meanwhile.
    virtual void OnPageShown() {}
    // The configuration in the driver was replaced (read from the meter, opened from a file).
    virtual void OnConfigurationReplaced() {}
    // The driver became busy or idle, or the connection came or went: controls that act on the meter
    // follow.
    virtual void OnConnectionStateChanged() {}

protected:
    // Buttons that talk to the meter: enabled only over an open connection with no command running,
    // where they could only fail otherwise.
    void EnableWhileConnected(std::initializer_list<QWidget*> controls) const;

signals:
    // The caption or the enabled state changed: the page tree and the sub-page lists follow.
    void pageStateChanged();

private:
    PageHost& m_host;
    QString m_caption;
    QString m_helpPage;
    bool m_pageEnabled = true;
};
