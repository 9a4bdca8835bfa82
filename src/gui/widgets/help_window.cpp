#include "gui/widgets/help_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

// Resources of a static library are registered by hand; once is enough. (Outside any namespace: the
// macro declares the resource's function where it stands.)
static void RegisterHelpResource()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace {

const QString kContentsPage = QStringLiteral("index.html");

QPointer<HelpWindow>& TheWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

}  // namespace

void HelpWindow::ShowHelp(QWidget* parent, const QString& page)
{
    if (TheWindow().isNull())
        TheWindow() = new HelpWindow(parent);
    HelpWindow* window = TheWindow();
    if (!page.isEmpty() || window->CurrentPage().isEmpty())
        window->Open(page);
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}

HelpWindow* HelpWindow::Instance()
{
    return TheWindow();
}

bool HelpWindow::IsOpen()
{
    return !TheWindow().isNull() && TheWindow()->isVisible();
}

QString HelpWindow::ResourceFolder()
{
    RegisterHelpResource();
    return QStringLiteral(":/help");
}

QUrl HelpWindow::PageUrl(const QString& page)
{
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

QList<HelpWindow::ContentsEntry> HelpWindow::Contents()
{
    QFile index(ResourceFolder() + u'/' + kContentsPage);
    if (!index.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(index.readAll());
    static const QRegularExpression link(QStringLiteral("<li><a href=\"([^\"#]+)\">([^<]+)</a></li>"));
    QList<ContentsEntry> entries{{QStringLiteral("Содержание"), kContentsPage}};
    for (const QRegularExpressionMatch& match : link.globalMatch(html))
        entries.append({match.captured(2), match.captured(1)});
    return entries;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent), m_browser(new QTextBrowser(this)), m_contents(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("ЗТ5 Конфигуратор — справка"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({ResourceFolder()});

    for (const ContentsEntry& entry : Contents()) {
        auto* item = new QListWidgetItem(entry.title, m_contents);
        item->setData(Qt::UserRole, entry.page);
    }
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Open(item->data(Qt::UserRole).toString()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Open(item->data(Qt::UserRole).toString()); });
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkContents);

    QToolBar* tools = addToolBar(QStringLiteral("Навигация"));
    tools->setMovable(false);
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"), m_browser,
                                     &QTextBrowser::backward);
    QAction* forward = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперёд"),
                                        m_browser, &QTextBrowser::forward);
    tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Содержание"), this,
                     [this] { Open(kContentsPage); });
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    // The contents as wide as their longest title, so none is cut.
    const int contentsWidth = m_contents->sizeHintForColumn(0) + 2 * m_contents->frameWidth()
        + m_contents->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    splitter->setSizes({contentsWidth, 600});
    setCentralWidget(splitter);
    resize(contentsWidth + 620, 600);
}

void HelpWindow::Open(const QString& page)
{
    const bool known = !page.isEmpty() && QFile::exists(ResourceFolder() + u'/' + page);
    m_browser->setSource(PageUrl(known ? page : kContentsPage));
}

QUrl HelpWindow::CurrentPage() const
{
    return m_browser->source();
}

void HelpWindow::MarkContents(const QUrl& shown)
{
    const QString page = shown.fileName();
    for (int row = 0; row < m_contents->count(); ++row) {
        if (m_contents->item(row)->data(Qt::UserRole).toString() == page) {
            m_contents->setCurrentRow(row);
            return;
        }
    }
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    emit Closed();
    QMainWindow::closeEvent(event);
}
