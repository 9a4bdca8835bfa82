// Pictures of the pipes page and the controls-and-alarms page for docs/screenshots.

#include "screenshots/screenshot_folder.h"

#include "gui/config/controls_and_alarms_page.h"
#include "gui/config/input_pipes_page.h"
#include "gui_rigs/pipes_pages_rig.h"
#include "support/known_configuration.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>

namespace {

bool Save(QWidget& page, const QSize& size, const char* name)
{
    page.resize(size);
    page.show();
    page.grab();                    // the first grab lays the page out
    QApplication::processEvents();  // and the scroll area then learns its content's size
    return page.grab().toImage().save(QDir(ScreenshotFolder()).filePath(QLatin1String(name)));
}

TEST(PipesPagesScreenshots, PipesPage)
{
    PipesPagesRig host;
    host.Blocks() = KnownConfiguration();
    CDlgMainConfigPipes page(host, 0, 0);
    page.OnPageShown();
    // The room the page has in the window at its smallest size.
    EXPECT_TRUE(Save(page, QSize(860, 560), "config-pipes.png"));
}

TEST(PipesPagesScreenshots, ControlsAndAlarmsPage)
{
    PipesPagesRig host;
    host.Blocks() = KnownConfiguration();
    ControlsBlock& block = host.Blocks().controls;
    block.controls[0] = {};
    block.controls[0].SetKind(kControlPipe);
    block.controls[0].SetNumber(1);
    block.controls[0].SetParameter(0);
    block.controls[0].minimum = 40.0f;
    block.controls[0].maximum = 95.0f;
    block.controls[1].SetKind(kControlInput);
    block.controls[1].SetParameter(3);
    block.controls[1].maximum = 2.5f;
    block.alarms[0].eventMask = 0x01E00007;
    CDlgMainConfigCtrlsAndAlarms page(host);
    page.OnPageShown();
    EXPECT_TRUE(Save(page, QSize(720, 760), "config-controls-alarms.png"));
}

}  // namespace
