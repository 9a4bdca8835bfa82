// F1 in the main window opens the help of the page in view; a page without its own help page gets the
// one of the page above it.

#include "gui_rigs/config_window_helpers.h"

#include "gui/config/maker_service_page.h"
#include "gui/widgets/help_window.h"

namespace {

// F1 pressed in the window with `pageId` in view; the help page then shown.
QString HelpOnF1(MainDialog& window, int pageId)
{
    window.SelectPage(pageId);
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return QStringLiteral("<window not active>");
    QTest::keyClick(&window, Qt::Key_F1);
    HelpWindow* help = HelpWindow::Instance();
    return help ? help->CurrentPage().fileName() : QStringLiteral("<no help>");
}

}  // namespace

TEST(PageHelp, F1OpensTheHelpOfThePageInView)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    EXPECT_EQ(HelpOnF1(*window, ConfigPageIds::InputPipes(0, 1)), QStringLiteral("config-pipes.html"));
    EXPECT_EQ(HelpOnF1(*window, ConfigPageIds::kSystem), QStringLiteral("config-system.html"));
    EXPECT_EQ(HelpOnF1(*window, ConfigPageIds::InputScheme(0, 0)), QStringLiteral("config-inputs.html"));
    EXPECT_EQ(HelpOnF1(*window, CDlgMainConfigService::kPageId), QStringLiteral("maker-service.html"));
    EXPECT_EQ(HelpOnF1(*window, CDlgMainConfig::kPageId), QStringLiteral("configuration.html"));
    delete HelpWindow::Instance();
}
