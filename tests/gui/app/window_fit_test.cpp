// Every page of the main window shows whole at the window's minimum size: no caption or button text cut,
// no scroll bars.

#include "gui_rigs/main_window_rig.h"

#include "gui/config/configuration_frame_page.h"
#include "gui/widgets/page_base.h"
#include "gui/widgets/page_tree.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The texts on `page` narrower than they need, as "text (shown width < needed width)".
QStringList CutTexts(const QWidget& page)
{
    QStringList cut;
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        if (label->width() < label->sizeHint().width() || label->height() < label->sizeHint().height())
            cut << QStringLiteral("%1 (%2 < %3)").arg(label->text()).arg(label->width()).arg(label->sizeHint().width());
    }
    for (const QAbstractButton* button : page.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        if (button->width() < button->sizeHint().width())
            cut << QStringLiteral("%1 (%2 < %3)")
                       .arg(button->text())
                       .arg(button->width())
                       .arg(button->sizeHint().width());
    }
    // A page that needs its scroll bars at this size is not whole either.
    for (const QScrollArea* area : page.findChildren<QScrollArea*>()) {
        if (area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible())
            cut << QStringLiteral("scroll bars (%1 x %2 < %3 x %4)")
                       .arg(area->viewport()->width())
                       .arg(area->viewport()->height())
                       .arg(area->widget() ? area->widget()->minimumSizeHint().width() : 0)
                       .arg(area->widget() ? area->widget()->minimumSizeHint().height() : 0);
    }
    return cut;
}

}  // namespace

TEST(WindowFit, EveryPageShowsWholeAtTheMinimumSize)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    window->resize(MainDialog::kMinimumWindowSize);
    ASSERT_EQ(window->size(), MainDialog::kMinimumWindowSize);
    for (const PageEntry& entry : window->Pages()->Entries()) {
        window->SelectPage(entry.id);
        QTest::qWait(20);  // layouts settle
        const QStringList cut = CutTexts(*entry.page);
        EXPECT_TRUE(cut.isEmpty()) << entry.caption.toStdString() << ": "
                                   << cut.join(QStringLiteral("; ")).toStdString();
        // Each page at the minimum size, to look at when a layout changes.
        const QString pages = qEnvironmentVariable("ZT5_FIT_SCREENSHOT_DIR");
        if (!pages.isEmpty()) {
            EXPECT_TRUE(window->grab().save(QDir(pages).filePath(QStringLiteral("page-%1.png").arg(entry.id))));
        }
    }
}
