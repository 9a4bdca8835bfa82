#pragma once
// The controls of the page "Ведомость", laid out on the page: the input, the archive and the period with
// the meter's serial number on top, "Сформировать", "Стоп", "Показать" and "Сохранить..." under them,
// then the progress of a read and the lines telling what was found and which rows have no data.

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

struct StatementPageControls {
    QComboBox* input = nullptr;        // "Ввод:" Все вводы, ТВ1, ТВ2
    QComboBox* archive = nullptr;      // "Ведомость:" суточная, часовая
    QDateEdit* from = nullptr;         // "С:"
    QDateEdit* to = nullptr;           // "По:" (the whole last day)
    QLineEdit* serial = nullptr;       // "Зав. N:" the connected meter's, typed when there is no connection
    QPushButton* make = nullptr;       // "Сформировать"
    QPushButton* stop = nullptr;       // "Стоп"
    QPushButton* show = nullptr;       // "Показать": the report window again
    QPushButton* save = nullptr;       // "Сохранить..."
    QProgressBar* progress = nullptr;  // "N из M записей", shown while the meter is read
    QLabel* result = nullptr;          // "Записей: N (из базы: A, с прибора: B)"
    QLabel* missing = nullptr;         // "Нет данных: 3 строки (...)"
};

// Index 0 of `input`: every input in use.
inline constexpr int kEveryInput = 0;

// Creates the controls on `page` with its layout.
StatementPageControls BuildStatementPageControls(QWidget* page);
