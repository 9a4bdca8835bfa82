#pragma once
// The controls of the trends page "Графики", laid out on the page: the archive and the date range with
// "Построить" and "Стоп" on top, the progress of a read and the line telling what was found below them,
// the quantity list beside the chart, and the save, export and zoom buttons under the chart.

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;
class TrendChartView;
class TrendQuantityList;

struct TrendPageControls {
    QComboBox* archive = nullptr;      // "Архив:" Часовой, Суточный, Месячный
    QDateTimeEdit* from = nullptr;     // "С:"
    QDateTimeEdit* to = nullptr;       // "По:"
    QPushButton* plot = nullptr;       // "Построить"
    QPushButton* stop = nullptr;       // "Стоп"
    QProgressBar* progress = nullptr;  // "N из M записей", shown while the meter is read
    QLabel* result = nullptr;          // "Записей: N (из базы: A, с прибора: B)"
    TrendQuantityList* quantities = nullptr;
    TrendChartView* chart = nullptr;
    QPushButton* savePng = nullptr;     // "Сохранить PNG..."
    QPushButton* exportCsv = nullptr;   // "Экспорт CSV..."
    QPushButton* exportHtml = nullptr;  // "Экспорт HTML..."
    QPushButton* resetZoom = nullptr;   // "Сбросить масштаб"
};

// Creates the controls on `page` with its layout.
TrendPageControls BuildTrendPageControls(QWidget* page);
