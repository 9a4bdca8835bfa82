#pragma once
// The configuration pages of a main window in tests: connecting it to a simulated meter, waiting for a
// command to finish, finding the pages and their controls, picking combo entries as a user does.

#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/main_window_rig.h"

#include "config/config_page_labels.h"
#include "gui/config/config_page_tree.h"
#include "gui/config/config_system_page.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/config/sub_page_list.h"
#include "gui/config/system_settings_tab.h"
#include "gui/config/user_service_tab.h"
#include "gui/widgets/page_tree.h"
#include "sim/configuration_area.h"
#include "sim/demo_meter.h"
#include "support/known_configuration.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <functional>
#include <mutex>

#include <gtest/gtest.h>

inline constexpr int kCommandArrivesMs = 20000;  // generous: a loaded machine finishes well within this
inline const QString kSucceeded = QStringLiteral("Операция успешно завершена!");
inline const QString kFailed = QStringLiteral("Операция завершена НЕ успешно!");

// Runs `start` (a click that queues a command) and waits until the command has ended: its result text
// has arrived, the busy flag has dropped and the page that queued it has been told. Returns the result
// text.
template <class Start>
QString RunFrameCommand(MainDialog& window, Start start)
{
    CDlgMainConfig* frame = window.MainConfig();
    frame->SetOperationText(QString());
    start();
    const auto ended = [&] {
        const QString text = frame->OperationText();
        return window.Driver().WaitUntilIdle(0) && frame->ConnectButton()->isEnabled()
            && (text == kSucceeded || text == kFailed);
    };
    EXPECT_TRUE(QTest::qWaitFor(ended, kCommandArrivesMs)) << frame->OperationText().toStdString();
    return frame->OperationText();
}

// Clicks `button` and waits for the command it queues; returns the result text.
inline QString ClickForCommand(MainDialog& window, QAbstractButton* button)
{
    return RunFrameCommand(window, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

// Chooses the demo meter's node and connects: identity and configuration are read.
inline bool ConnectToDemo(MainDialog& window, DemoMeter& demo)
{
    window.UseDemoMeter(demo.Address());
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    const QString result = RunFrameCommand(
        window, [&] { QTest::mouseClick(window.MainConfig()->ConnectButton(), Qt::LeftButton); });
    return result == kSucceeded && window.Driver().IsDeviceConnected();
}

// Gives the demo meter the known configuration's protected record in place of the factory one, changed
// by `edit` when given.
inline void PutKnownTunes(DemoMeter& demo, const std::function<void(TunesRecord&)>& edit = {})
{
    std::lock_guard<std::mutex> lock(demo.Meter().Lock());
    demo.Meter().Configuration().EditTunes(demo.Meter().Image(), [&edit](TunesRecord& tunes) {
        tunes = KnownConfiguration().tunes;
        if (edit)
            edit(tunes);
    });
}

inline CDlgMainConfigCommon* CommonPage(const MainDialog& window)
{
    return window.ConfigPages()->System()->Common();
}

inline CDlgMainConfigServiceUser* ServiceUserPage(const MainDialog& window)
{
    return window.ConfigPages()->System()->ServiceUser();
}

// The tree label of page `pageId`.
inline QString TreeLabel(const MainDialog& window, int pageId)
{
    const PageEntry* entry = window.Pages()->Find(pageId);
    return entry ? entry->item->text(0) : QStringLiteral("<none>");
}

// Picks the entry `text` as a user does: the list's choice is reported as activated.
inline bool PickComboText(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

inline QString ScreenshotFolder()
{
    return qEnvironmentVariable("ZT5_SCREENSHOT_DIR");
}

// Saves a picture of the window with page `pageId` in view when pictures are asked for.
inline void SaveScreenshot(MainDialog& window, int pageId, const char* name)
{
    if (ScreenshotFolder().isEmpty())
        return;
    window.resize(MainDialog::kFirstWindowSize);  // the size a first window opens at
    window.SelectPage(pageId);
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QDir(ScreenshotFolder()).filePath(QString::fromLatin1(name))));
}
