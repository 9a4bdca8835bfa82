#include "gui/widgets/help_window.h"

#include "gui/app/about_dialog.h"
#include "gui/app/licence_dialog.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>

namespace {

QString ReadPage(const QString& page)
{
    QFile file(HelpWindow::ResourceFolder() + u'/' + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpWindowTest, EveryLinkOfEveryPageLeadsToAPageOrAnchorThatExists)
{
    const QStringList pages = QDir(HelpWindow::ResourceFolder()).entryList({QStringLiteral("*.html")});
    ASSERT_GE(pages.size(), 12);
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    int links = 0;
    QSet<QString> linked;
    for (const QString& page : pages) {
        const QString html = ReadPage(page);
        ASSERT_FALSE(html.isEmpty()) << page.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>"))) << page.toStdString();
        for (const QRegularExpressionMatch& match : href.globalMatch(html)) {
            const QString target = match.captured(1);
            ASSERT_FALSE(target.contains(u':')) << page.toStdString() << " -> " << target.toStdString();
            const QString file = target.section(u'#', 0, 0);
            const QString anchor = target.section(u'#', 1);
            const QString targetPage = file.isEmpty() ? page : file;
            EXPECT_TRUE(pages.contains(targetPage)) << page.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(ReadPage(targetPage).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                    << page.toStdString() << " -> " << target.toStdString();
            }
            linked.insert(targetPage);
            ++links;
        }
    }
    EXPECT_GT(links, pages.size());

    // The contents name every page, and every page is reachable from them.
    QSet<QString> inContents;
    for (const HelpWindow::ContentsEntry& entry : HelpWindow::Contents()) {
        EXPECT_FALSE(entry.title.isEmpty());
        inContents.insert(entry.page);
    }
    EXPECT_EQ(inContents, QSet<QString>(pages.cbegin(), pages.cend()));
    EXPECT_EQ(linked, inContents);
}

// The pictures of the program are part of the help: every one a page shows is built in and loads.
TEST(HelpWindowTest, EveryPictureOfEveryPageIsBuiltIn)
{
    const QStringList pages = QDir(HelpWindow::ResourceFolder()).entryList({QStringLiteral("*.html")});
    static const QRegularExpression source(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const QString& page : pages) {
        for (const QRegularExpressionMatch& match : source.globalMatch(ReadPage(page))) {
            const QImage image(HelpWindow::ResourceFolder() + u'/' + match.captured(1));
            EXPECT_FALSE(image.isNull()) << page.toStdString() << " -> " << match.captured(1).toStdString();
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 3);
}

TEST(HelpWindowTest, OneWindowShowsTheAskedPageAndGoesBack)
{
    HelpWindow::ShowHelp(nullptr);
    HelpWindow* window = HelpWindow::Instance();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(HelpWindow::IsOpen());
    EXPECT_EQ(window->CurrentPage().fileName(), QStringLiteral("index.html"));
    // No title of the contents is cut.
    auto* contents = window->findChild<QListWidget*>();
    ASSERT_NE(contents, nullptr);
    for (int row = 0; row < contents->count(); ++row) {
        const QString title = contents->item(row)->text();
        EXPECT_GE(contents->viewport()->width(), contents->fontMetrics().horizontalAdvance(title))
            << title.toStdString();
    }

    HelpWindow::ShowHelp(nullptr, QStringLiteral("serial.html"));
    HelpWindow::ShowHelp(nullptr, QStringLiteral("monitor.html"));
    EXPECT_EQ(HelpWindow::Instance(), window);
    EXPECT_EQ(window->CurrentPage().fileName(), QStringLiteral("monitor.html"));
    auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("15000")));
    browser->backward();
    EXPECT_EQ(window->CurrentPage().fileName(), QStringLiteral("serial.html"));
    HelpWindow::ShowHelp(nullptr, QStringLiteral("no-such-page.html"));
    EXPECT_EQ(window->CurrentPage().fileName(), QStringLiteral("index.html"));

    bool closed = false;
    QObject::connect(window, &HelpWindow::Closed, [&closed] { closed = true; });
    window->close();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(HelpWindow::IsOpen());
    delete HelpWindow::Instance();
}

TEST(AboutAndLicenceTest, ShowTheVersionAndTheBuiltInLicence)
{
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Версия \\d+\\.\\d+\\.\\d+$")).match(AboutDialog::VersionText()).hasMatch())
        << AboutDialog::VersionText().toStdString();
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));

    QString text;
    QString error;
    ASSERT_TRUE(LicenceDialog::LoadText(&text, &error)) << error.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ")));
    LicenceDialog licence;
    EXPECT_EQ(licence.windowTitle(), QStringLiteral("Лицензионное соглашение"));
    EXPECT_EQ(licence.Text(), text);
}

}  // namespace
