// The archive pages in the main window against the simulated meter: the descriptor list, stepping
// through the archives with the meter's report time, the event-log limit, the enable rules, cyclic
// current values and their stop, and "Весь архив" into the work folder's database.

#include "gui_rigs/archive_page_rig.h"

#include "archives/database_columns.h"
#include "base/settings_sections.h"
#include "gui/archives/export_progress_view.h"
#include "gui/widgets/connection_toolbar.h"
#include "gui/widgets/driver_progress_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QString Cell(const QTableWidget* list, int row, int column)
{
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

void TypeInto(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

QString StoredReadArch(ArchivePageRig& rig, const char* key)
{
    return rig.windowRig.environment->Settings().GetString(SettingsSections::kReadArch, QString::fromLatin1(key));
}

}  // namespace

TEST(ArchivePage, DescriptorListShowsTheArchivesAndEmptyOnesAfterAnErase)
{
    ArchivePageRig rig = WinterMeter();
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    ASSERT_TRUE(rig.ClickAndWait(c.readInfo));

    const QTableWidget* list = c.descriptors;
    ASSERT_EQ(list->rowCount(), 9);
    const QStringList names = {QStringLiteral("Часовой"),  QStringLiteral("Суточный"),    QStringLiteral("Месячный"),
                               QStringLiteral("Итоговый"), QStringLiteral("Дата сброса"), QString(),
                               QStringLiteral("Изм.БД"),   QStringLiteral("Адм.событ."),  QStringLiteral("Диагностик")};
    for (int row = 0; row < names.size(); ++row)
        EXPECT_EQ(Cell(list, row, 0), names[row]) << row;
    // The hourly archive: from 70 days before its end to the slot being filled after 02.03.2024 12:00.
    EXPECT_EQ(Cell(list, 0, 2), QStringLiteral("02.03.2024 13:00:00"));
    EXPECT_TRUE(Cell(list, 0, 1).endsWith(QStringLiteral(".2023 13:00:00"))) << Cell(list, 0, 1).toStdString();
    EXPECT_EQ(Cell(list, 0, 3), QStringLiteral("4416"));
    EXPECT_EQ(Cell(list, 0, 6), QStringLiteral("0"));
    for (int column = 1; column <= 2; ++column)
        EXPECT_TRUE(Cell(list, 6, column).isEmpty()) << "an event log has no dates";
    EXPECT_FALSE(Cell(list, 6, 3).isEmpty());

    rig.EraseMeterArchives();
    ASSERT_TRUE(rig.ClickAndWait(c.readInfo));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(list, row, 1), QStringLiteral("пуст")) << row;
        for (int column : {2, 3, 4, 5, 6})
            EXPECT_TRUE(Cell(list, row, column).isEmpty()) << row << "," << column;
    }
    // The reset date is always shown: the erase happened at the archive's end.
    EXPECT_EQ(Cell(list, 4, 1), QStringLiteral("02.03.2024 12:00:00"));
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());
}

TEST(ArchivePage, DateOpensOnTheNewestRecordTakesAWholeTypedDateAndNoColumnIsCut)
{
    ArchivePageRig rig = WinterMeter();
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    c.dataType->setCurrentIndex(0);
    c.date->setDate(QDate(2011, 1, 1));
    ASSERT_TRUE(rig.ClickAndWait(c.readInfo));
    // The hourly archive's newest record is the hour before the slot being filled (13:00).
    EXPECT_EQ(c.date->date(), QDate(2024, 3, 2));
    EXPECT_EQ(c.hour->currentText(), QStringLiteral("12"));
    // A date inside the archive that the user chose stays when the descriptors are read again.
    c.date->setDate(QDate(2024, 2, 1));
    ASSERT_TRUE(rig.ClickAndWait(c.readInfo));
    EXPECT_EQ(c.date->date(), QDate(2024, 2, 1));

    const QTableWidget* list = c.descriptors;
    for (int column = 0; column < list->columnCount(); ++column) {
        const QString title = list->horizontalHeaderItem(column)->text();
        EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(title)) << title.toStdString();
        for (int row = 0; row < list->rowCount(); ++row)
            EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(Cell(list, row, column)))
                << row << "," << column;
    }

    // Typed whole with the cursor in the year, the date is taken as typed.
    c.date->setFocus();
    c.date->setCurrentSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(c.date, QStringLiteral("05.01.2024"));
    EXPECT_EQ(c.date->date(), QDate(2024, 1, 5));
}

TEST(ArchivePage, StepsThroughTheArchivesWithTheMetersReportTime)
{
    ArchivePageRig rig = WinterMeter();
    rig.SetMeterReportTime(10, 31);
    ASSERT_TRUE(rig.Connect());
    CDlgMainConfigArchive* page = rig.Page();
    const ArchivePageControls& c = page->Controls();

    // The hourly record of 1 January 00:00, then the one before it: the last hour of the old year.
    c.dataType->setCurrentIndex(0);
    c.date->setDate(QDate(2024, 1, 1));
    c.hour->setCurrentIndex(0);
    ASSERT_TRUE(rig.ClickAndWait(c.read));
    EXPECT_TRUE(rig.ReportText().startsWith(QStringLiteral("АРХИВ 01.01.2024 00\r\n")))
        << rig.ReportText().left(40).toStdString();
    ASSERT_TRUE(rig.ClickAndWait(c.previous));
    EXPECT_EQ(c.date->date(), QDate(2023, 12, 31));
    EXPECT_EQ(c.hour->currentText(), QStringLiteral("23"));
    EXPECT_TRUE(rig.ReportText().startsWith(QStringLiteral("АРХИВ 31.12.2023 23\r\n")));
    const ArchiveRequest request = rig.Driver().Data().request;
    EXPECT_EQ(request.date, Chrono(31, 12, 2023, 23));
    EXPECT_EQ(request.kind, kArchiveHourly);
    EXPECT_EQ(StoredReadArch(rig, "Day"), QStringLiteral("31"));
    EXPECT_EQ(StoredReadArch(rig, "Month"), QStringLiteral("12"));
    EXPECT_EQ(StoredReadArch(rig, "Year"), QStringLiteral("2023"));
    EXPECT_EQ(StoredReadArch(rig, "Hour"), QStringLiteral("23"));

    // The daily archive steps a day and takes the meter's report hour.
    c.dataType->setCurrentIndex(1);
    ASSERT_TRUE(rig.ClickAndWait(c.next));
    EXPECT_EQ(c.date->date(), QDate(2024, 1, 1));
    EXPECT_EQ(c.hour->currentText(), QStringLiteral("10"));

    // The monthly archive from 31 January: the report day 31 is lowered to the end of February.
    c.dataType->setCurrentIndex(2);
    c.date->setDate(QDate(2024, 1, 31));
    QTest::mouseClick(c.next, Qt::LeftButton);
    EXPECT_EQ(c.date->date(), QDate(2024, 2, 29));
    EXPECT_EQ(rig.Driver().Data().request.date, Chrono(29, 2, 2024, 10));
    ASSERT_TRUE(rig.WaitUntilIdle());
    EXPECT_EQ(page->ReadCount(), 4);
}

TEST(ArchivePage, EventLogReadsAtMostSixteenEntriesAndTheFlashPageIsAsked)
{
    ArchivePageRig rig = WinterMeter();
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    c.dataType->setCurrentIndex(6);
    TypeInto(c.record, QStringLiteral("3"));
    TypeInto(c.count, QStringLiteral("40"));
    ASSERT_TRUE(rig.ClickAndWait(c.read));
    EXPECT_EQ(c.count->text(), QStringLiteral("16"));
    EXPECT_EQ(StoredReadArch(rig, "RecCnt"), QStringLiteral("16"));
    EXPECT_EQ(StoredReadArch(rig, "Record"), QStringLiteral("3"));
    const ArchiveRequest request = rig.Driver().Data().request;
    EXPECT_EQ(request.count, 16);
    EXPECT_EQ(request.recordNumber, 3);
    EXPECT_EQ(request.kind, kEventLogDbChanges);
    const QString separator = QStringLiteral("-------------------------------------------------\r\n\r\n");
    EXPECT_EQ(rig.ReportText().count(separator), 16);
    EXPECT_EQ(rig.Page()->ReadCount(), 0) << "only value-archive reads are counted";

    // A flash page shows nothing of its own: the report stays as it was.
    const QString before = rig.ReportText();
    TypeInto(c.flashPage, QStringLiteral("5"));
    ASSERT_TRUE(rig.ClickAndWait(c.readFlash));
    EXPECT_EQ(rig.Driver().Data().request.recordNumber, 5);
    EXPECT_EQ(StoredReadArch(rig, "FlashPage"), QStringLiteral("5"));
    EXPECT_EQ(rig.ReportText(), before);
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());
}

TEST(ArchivePage, EnableRulesFollowTheFlagsAndTheDataType)
{
    ArchivePageRig rig = WinterMeter();
    const ArchivePageControls& c = rig.Page()->Controls();
    CDlgReadData* frame = rig.Frame();
    // Not connected: nothing to read, but "Весь архив" connects on its own.
    EXPECT_FALSE(c.readInfo->isEnabled());
    EXPECT_FALSE(c.read->isEnabled());
    EXPECT_FALSE(c.readFlash->isEnabled());
    EXPECT_TRUE(c.exportAll->isEnabled());
    EXPECT_TRUE(frame->Toolbar()->ConnectButton()->isEnabled());
    EXPECT_FALSE(frame->Toolbar()->BreakButton()->isEnabled());
    EXPECT_FALSE(frame->Toolbar()->StopButton()->isEnabled());

    ASSERT_TRUE(rig.Connect());
    EXPECT_TRUE(c.readInfo->isEnabled());
    EXPECT_TRUE(c.read->isEnabled());
    EXPECT_FALSE(c.next->isEnabled()) << "no archive read yet";
    EXPECT_FALSE(frame->Toolbar()->ConnectButton()->isEnabled()) << "already connected";
    EXPECT_TRUE(frame->Toolbar()->BreakButton()->isEnabled());
    EXPECT_TRUE(c.date->isEnabled());
    EXPECT_FALSE(c.periodic->isEnabled());
    EXPECT_FALSE(c.count->isEnabled());

    c.date->setDate(QDate(2024, 2, 1));
    ASSERT_TRUE(rig.ClickAndWait(c.read));
    EXPECT_TRUE(c.next->isEnabled());
    EXPECT_TRUE(c.previous->isEnabled());
    c.dataType->setCurrentIndex(4);
    EXPECT_FALSE(c.next->isEnabled());
    EXPECT_FALSE(c.date->isEnabled());
    EXPECT_FALSE(c.hour->isEnabled());
    EXPECT_TRUE(c.periodic->isEnabled());
    EXPECT_TRUE(c.period->isEnabled());
    c.dataType->setCurrentIndex(7);
    EXPECT_TRUE(c.record->isEnabled());
    EXPECT_TRUE(c.count->isEnabled());
    EXPECT_FALSE(c.period->isEnabled());
    c.dataType->setCurrentIndex(3);
    EXPECT_TRUE(c.next->isEnabled());

    // Broken off: the earlier reads do not keep the steps enabled.
    rig.ShowFrame();
    QTest::mouseClick(frame->Toolbar()->BreakButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c.read->isEnabled(); }, kArrivesMs));
    EXPECT_FALSE(rig.Driver().IsDeviceConnected());
    EXPECT_FALSE(c.next->isEnabled());
    EXPECT_FALSE(c.previous->isEnabled());
    EXPECT_FALSE(c.readInfo->isEnabled());
    EXPECT_TRUE(c.exportAll->isEnabled());
    EXPECT_TRUE(frame->Toolbar()->ConnectButton()->isEnabled());
    EXPECT_FALSE(frame->Toolbar()->BreakButton()->isEnabled());
}

TEST(ArchivePage, CyclicCurrentValuesRepeatUntilStopped)
{
    ArchivePageRig rig = WinterMeter();
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    CDlgReadData* frame = rig.Frame();
    c.dataType->setCurrentIndex(4);
    c.periodic->setChecked(true);
    TypeInto(c.period, QStringLiteral("1"));
    int renders = 0;
    QObject::connect(c.report, &QTextEdit::textChanged, [&] { ++renders; });
    QTest::mouseClick(c.read, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return renders >= 2; }, kArrivesMs));
    EXPECT_TRUE(rig.ReportText().startsWith(QStringLiteral("ТЕКУЩИЕ ЗНАЧЕНИЯ ")))
        << rig.ReportText().left(40).toStdString();
    EXPECT_EQ(rig.Driver().Data().cyclicPeriodMs, 1000);
    EXPECT_EQ(StoredReadArch(rig, "CheckReadPeriod"), QStringLiteral("1"));
    EXPECT_EQ(StoredReadArch(rig, "ReadPeriod"), QStringLiteral("1"));
    // Still running between reads: the page's reads are off, the frame's stop is on.
    EXPECT_TRUE(rig.Driver().IsBusy());
    EXPECT_FALSE(c.read->isEnabled());
    EXPECT_TRUE(frame->Toolbar()->StopButton()->isEnabled());

    // Stopped while it waits for the next read: it ends within one polling interval of the wait.
    rig.ShowFrame();
    QElapsedTimer stopping;
    stopping.start();
    QTest::mouseClick(frame->Toolbar()->StopButton(), Qt::LeftButton);
    while (rig.Driver().IsBusy() && stopping.elapsed() < kArrivesMs) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    const qint64 took = stopping.elapsed();
    std::printf("cyclic reading stopped %lld ms after the stop\n", static_cast<long long>(took));
    EXPECT_LT(took, 2000);  // ~100 ms on an idle machine; lenient for a loaded one
    ASSERT_TRUE(rig.WaitUntilIdle());
    EXPECT_EQ(frame->Texts()->OperationText(), QStringLiteral("Операция завершена по желанию пользователя!"));
    EXPECT_TRUE(c.read->isEnabled());
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());
}

TEST(ArchivePage, WholeArchiveGoesIntoTheWorkFolderDatabaseWithItsProgress)
{
    // Two days up to 26 February 2024 12:00: past the report day 25, so the monthly archive has a record.
    ArchivePageRig rig(Chrono(26, 2, 2024, 12), 2);
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    ExportProgressView* view = c.exportProgress;
    EXPECT_FALSE(view->isVisible());
    bool visibleWhileRunning = false;
    QList<int> values;
    QObject::connect(view->Bar(), &QProgressBar::valueChanged, [&](int value) {
        values << value;
        visibleWhileRunning = visibleWhileRunning || (view->IsRunning() && view->isVisible());
    });
    QTest::mouseClick(c.exportAll, Qt::LeftButton);
    // A second press while it runs queues nothing: the button is off until the driver is idle.
    EXPECT_FALSE(c.exportAll->isEnabled());
    ASSERT_TRUE(rig.WaitUntilIdle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->IsRunning(); }, kArrivesMs));
    EXPECT_TRUE(c.exportAll->isEnabled());
    EXPECT_TRUE(visibleWhileRunning);
    ASSERT_FALSE(values.isEmpty());

    const QString path = QDir(rig.windowRig.Folder()).filePath(QStringLiteral("db/Data.sqlite"));
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("archivePageTest"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (int kind = 0; kind < kValueArchiveCount; ++kind) {
            QSqlQuery query(db);
            ASSERT_TRUE(
                query.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(ArchiveTableName(ArchiveKind(kind)))));
            ASSERT_TRUE(query.next());
            EXPECT_GT(query.value(0).toLongLong(), 0) << kind;
            rows += query.value(0).toLongLong();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("archivePageTest"));
    EXPECT_EQ(view->Bar()->maximum(), rows);
    EXPECT_EQ(view->Bar()->value(), rows);
    EXPECT_EQ(values.last(), rows);
    EXPECT_EQ(view->Text(),
              QStringLiteral("Весь архив в базе данных.\nЗаписано: %1\nУже были в базе: 0\n"
                             "Всего записей в архивах: %1")
                  .arg(rows));
    EXPECT_EQ(rig.Frame()->Texts()->OperationText(), QStringLiteral("Операция успешно завершена!"));
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());

    // Once more: everything is already there.
    ASSERT_TRUE(rig.ClickAndWait(c.exportAll));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->IsRunning(); }, kArrivesMs));
    EXPECT_TRUE(view->Text().contains(QStringLiteral("Записано: 0\nУже были в базе: %1\n").arg(rows)))
        << view->Text().toStdString();
}

TEST(ArchivePage, TypedPeriodAndFlashPageCannotRunAwayAndPeriodicReadingStopsFromThePage)
{
    ArchivePageRig rig = WinterMeter();
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    c.dataType->setCurrentIndex(4);
    EXPECT_FALSE(c.stop->isEnabled()) << "nothing runs";

    // Letters do not get into the fields; a page number over 16 bits is refused before anything is sent.
    TypeInto(c.period, QStringLiteral("0a"));
    EXPECT_EQ(c.period->text(), QStringLiteral("0"));
    TypeInto(c.flashPage, QStringLiteral("x99999999999"));
    EXPECT_EQ(c.flashPage->text(), QStringLiteral("99999"));
    rig.Driver().Data().request = ArchiveRequest{};
    QTest::mouseClick(c.readFlash, Qt::LeftButton);
    ASSERT_EQ(rig.windowRig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.windowRig.presenter.messages[0].text,
              QStringLiteral("Номер страницы flash-памяти должен быть целым числом от 0 до 65535!"));
    EXPECT_FALSE(rig.Driver().IsBusy());
    EXPECT_NE(StoredReadArch(rig, "FlashPage"), QStringLiteral("99999")) << "the refused number is not stored";

    // A period of 0 reads once a second, not as fast as the line allows.
    c.periodic->setChecked(true);
    int renders = 0;
    QObject::connect(c.report, &QTextEdit::textChanged, [&] { ++renders; });
    QTest::mouseClick(c.read, Qt::LeftButton);
    EXPECT_EQ(rig.Driver().Data().cyclicPeriodMs, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return renders >= 1; }, kArrivesMs));
    QTest::qWait(1500);
    EXPECT_LE(renders, 4) << "one read a second at most";
    EXPECT_TRUE(c.stop->isEnabled());

    // Unticking the box ends the periodic reading.
    c.periodic->setChecked(false);
    ASSERT_TRUE(rig.WaitUntilIdle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.read->isEnabled() && !c.stop->isEnabled(); }, kArrivesMs));

    // And so does the page's own "Стоп".
    c.periodic->setChecked(true);
    renders = 0;
    QTest::mouseClick(c.read, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return renders >= 1; }, kArrivesMs));
    ASSERT_TRUE(c.stop->isEnabled());
    QTest::mouseClick(c.stop, Qt::LeftButton);
    ASSERT_TRUE(rig.WaitUntilIdle());
    EXPECT_EQ(rig.Frame()->Texts()->OperationText(), QStringLiteral("Операция завершена по желанию пользователя!"));
    EXPECT_EQ(rig.windowRig.presenter.messages.size(), 1);
}
