// Pictures of the input pages for docs/screenshots, on the demo meter's configuration with a scheme set.

#include "screenshots/screenshot_folder.h"

#include "gui_rigs/wi_page_driving.h"
#include "gui_rigs/wi_page_host.h"

#include "config/scheme_table.h"
#include "gui/config/scheme_picture.h"
#include "gui/config/thermal_inputs_page.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

bool Save(QWidget& widget, const char* name)
{
    return widget.grab().toImage().save(QDir(ScreenshotFolder()).filePath(QString::fromLatin1(name)));
}

TEST(Screenshots, ThermalInputsInputSchemeAndPicker)
{
    WiPageHost host;
    ASSERT_TRUE(host.Connect());
    CDlgMainConfigWiScheme page(host, 0, 0);
    page.resize(900, 680);
    page.show();
    bool pickerSaved = false;
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PickScheme(picker, 2);
        PickCombination(picker, 3, 1);
        pickerSaved = Save(picker, "config-scheme-picker.png");
        PressOk(picker);
    }));
    EXPECT_TRUE(pickerSaved);
    EXPECT_EQ(host.In(0, 0).scheme, 2);
    EXPECT_TRUE(Save(page, "config-input-scheme.png"));

    CDlgMainConfigWi inputs(host, 0);
    inputs.resize(500, 300);
    inputs.show();
    EXPECT_TRUE(Save(inputs, "config-inputs.png"));
}

// All the scheme pictures on one sheet, for a reviewer to hold against the scheme table.
TEST(Screenshots, SchemePictureSheet)
{
    constexpr int kColumns = 4;
    const QSize cell = kSchemePictureSize;
    QImage sheet(cell.width() * kColumns, cell.height() * ((kMaxScheme + kColumns - 1) / kColumns),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int scheme = 1; scheme <= kMaxScheme; ++scheme) {
        const QPoint at(((scheme - 1) % kColumns) * cell.width(), ((scheme - 1) / kColumns) * cell.height());
        painter.drawImage(at, RenderSchemePicture(scheme, QStringLiteral("СИ %1").arg(scheme)));
    }
    painter.end();
    EXPECT_TRUE(sheet.save(QDir(ScreenshotFolder()).filePath(QStringLiteral("config-scheme-pictures.png"))));
}

}  // namespace
