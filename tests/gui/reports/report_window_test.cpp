#include "gui/reports/report_window.h"

#include "app/window_placement.h"
#include "gui_rigs/ui_test_helpers.h"
#include "reports/report_writer.h"
#include "reports/temp_files.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"
#include "support/recording_viewer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>

namespace {

const QString kBody = QStringLiteral(
    "<table>\r\n<tr><th>Параметр</th><th class=\"l\">Значение</th></tr>\r\n"
    "<tr><td>Серийный номер</td><td class=\"l\">12345</td></tr>\r\n"
    "<tr><td>КСН</td><td class=\"l\">0xA1B2</td></tr>\r\n</table>\r\n");

QAction* ToolAction(ReportWindow& window, const QString& text)
{
    for (QAction* action : window.findChild<QToolBar*>()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

class ReportWindowTest : public ::testing::Test {
protected:
    QStringList TempFiles() const { return QDir(folder.path()).entryList({QStringLiteral("*.tmp")}); }

    QTemporaryDir folder;
    SettingsStore settings{folder.filePath(QStringLiteral("settings.ini"))};
};

TEST_F(ReportWindowTest, ShowsTheWrittenReportSavesItsBytesAndPrintsIt)
{
    // What the core writes for this body, shown to a viewer that only keeps the bytes.
    RecordingViewer recorder;
    ASSERT_TRUE(WriteReport(kBody, folder.path(), 1, nullptr, recorder));
    ASSERT_EQ(recorder.shown.size(), 1u);

    RecordedMessageBoxes boxes;
    ReportWindow window(settings);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Отчет"));
    QString shown;
    QString text;
    bool saved = false;
    qint64 pdfSize = 0;
    QByteArray pdfStart;
    WhenModal<ReportWindow>(
        [&](ReportWindow* open) {
            shown = open->ShownFile();
            text = open->Browser()->toPlainText();
            saved = open->SaveTo(folder.filePath(QStringLiteral("отчет.xls.xls")));
            QPrinter pdf(QPrinter::HighResolution);
            pdf.setOutputFormat(QPrinter::PdfFormat);
            pdf.setOutputFileName(folder.filePath(QStringLiteral("report.pdf")));
            open->PrintTo(pdf);
            QFile printed(pdf.outputFileName());
            pdfSize = printed.size();
            if (printed.open(QIODevice::ReadOnly))
                pdfStart = printed.read(5);
            open->close();
        },
        &window);
    EXPECT_TRUE(window.ShowBody(kBody, folder.path()));

    EXPECT_EQ(shown, ReportTempName(folder.path(), window.WindowNumber(), ReportTempPart::Finished));
    EXPECT_TRUE(text.contains(QStringLiteral("Серийный номер")));
    EXPECT_TRUE(text.contains(QStringLiteral("0xA1B2")));
    EXPECT_FALSE(text.contains(QStringLiteral("mso-")));
    EXPECT_TRUE(saved);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("отчет.xls.xls"))));
    EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("отчет.xls"))), recorder.shown[0].bytes);
    EXPECT_EQ(window.SavedCopy(), folder.filePath(QStringLiteral("отчет.xls")));
    EXPECT_GT(pdfSize, 1000);
    EXPECT_EQ(pdfStart, QByteArray("%PDF-"));
    EXPECT_TRUE(boxes.shown.empty());
    // The window is closed, the temporary files are gone.
    EXPECT_EQ(TempFiles(), QStringList());
}

TEST_F(ReportWindowTest, SaveAsksInTheSaveFolderAndWritesNothingWhenCancelledOrFailed)
{
    RecordedMessageBoxes boxes;
    ReportWindow window(settings);
    QString title;
    QStringList filters;
    QString startFolder;
    bool failed = true;
    WhenModal<ReportWindow>(
        [&](ReportWindow* open) {
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                title = dialog->windowTitle();
                filters = dialog->nameFilters();
                startFolder = dialog->directory().path();
                dialog->reject();
            });
            ToolAction(*open, QStringLiteral(" Сохранить "))->trigger();
            failed = open->SaveTo(folder.filePath(QStringLiteral("missing/copy")));
            open->close();
        },
        &window);
    ASSERT_NE(ToolAction(window, QStringLiteral(" Печать ")), nullptr);
    EXPECT_TRUE(window.ShowBody(kBody, folder.path()));

    EXPECT_EQ(title, QStringLiteral("Сохранить..."));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Отчеты (*.xls)")});
    EXPECT_EQ(QDir(startFolder), QDir(folder.path()));
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.xls")}), QStringList());
    EXPECT_FALSE(failed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("missing/copy.xls")));
    EXPECT_EQ(window.SavedCopy(), QString());
}

TEST_F(ReportWindowTest, OpeningTheCopyWithNoSpreadsheetProgramSaysSo)
{
    RecordedMessageBoxes boxes;
    ReportWindow window(settings);
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir emptyBin;  // a desktop without xdg-utils: nothing tells which program opens ".xls"
    WhenModal<ReportWindow>(
        [&](ReportWindow* open) {
            ASSERT_TRUE(open->SaveTo(folder.filePath(QStringLiteral("copy.xls"))));
            qputenv("PATH", emptyBin.path().toLocal8Bit());
            open->OpenSavedCopy();
            qputenv("PATH", path);
            open->close();
        },
        &window);
    EXPECT_TRUE(window.ShowBody(kBody, folder.path()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Не найдена программа электронных таблиц")));
    EXPECT_TRUE(boxes.shown[0].text.contains(folder.filePath(QStringLiteral("copy.xls"))));
}

TEST_F(ReportWindowTest, TwoOpenReportsUseTheirOwnTemporaryFiles)
{
    ReportWindow first(settings);
    ReportWindow second(settings);
    EXPECT_NE(first.WindowNumber(), second.WindowNumber());
    QString firstFile;
    QString secondFile;
    QStringList whileBothOpen;
    QStringList afterSecond;
    WhenModal<ReportWindow>(
        [&](ReportWindow* open) {
            firstFile = open->ShownFile();
            WhenModal<ReportWindow>(
                [&](ReportWindow* inner) {
                    secondFile = inner->ShownFile();
                    whileBothOpen = TempFiles();
                    inner->close();
                },
                &second);
            second.ShowBody(kBody + kBody, folder.path());
            afterSecond = TempFiles();
            open->close();
        },
        &first);
    ASSERT_TRUE(first.ShowBody(kBody, folder.path()));

    EXPECT_NE(firstFile, secondFile);
    EXPECT_EQ(whileBothOpen.size(), 4);
    EXPECT_EQ(afterSecond.size(), 2);
    EXPECT_TRUE(afterSecond.contains(QFileInfo(firstFile).fileName()));
    EXPECT_EQ(TempFiles(), QStringList());
}

TEST_F(ReportWindowTest, PlacementOfTheNormalWindowIsKeptAndMaximisingStoresNothing)
{
    const QString section = QStringLiteral("Settings\\Screen\\ReportWnd");
    {
        ReportWindow window(settings);
        EXPECT_FALSE(settings.Contains(section, QStringLiteral("Position")));
        window.show();
        window.setGeometry(60, 70, 640, 480);
        window.setGeometry(90, 100, 640, 480);  // a move alone
        const QByteArray normal = settings.GetBinary(section, QStringLiteral("Position"));
        WindowPlacement stored;
        ASSERT_TRUE(WindowPlacement::FromBytes(normal, &stored));
        EXPECT_EQ(stored.normal, QRect(90, 100, 640, 480));
        EXPECT_EQ(stored.showState, WindowPlacement::kNormal);

        window.showMaximized();
        QApplication::processEvents();
        EXPECT_EQ(settings.GetBinary(section, QStringLiteral("Position")), normal);
        window.close();
    }
    ReportWindow again(settings);
    EXPECT_EQ(again.geometry(), QRect(90, 100, 640, 480));

    // A damaged value leaves the default placement.
    settings.SetBinary(section, QStringLiteral("Position"), QByteArray(20, '\x01'));
    ReportWindow fresh(settings);
    EXPECT_EQ(fresh.size(), QSize(800, 600));
}

}  // namespace
