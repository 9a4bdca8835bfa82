#pragma once
// The controls of the archives page, top to bottom, laid out on the page: the descriptor and flash
// buttons with "Весь архив" and its progress, the descriptor list, the data type with the date, hour
// and event-log range, the read buttons with the reading period, and the report box.

class DriverProgressTexts;
class ExportProgressView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QWidget;

struct ArchivePageControls {
    QPushButton* readInfo = nullptr;   // "Прочитать информацию об архивах"
    QLineEdit* flashPage = nullptr;    // "Страница flash-памяти:"
    QPushButton* readFlash = nullptr;  // "Прочитать flash"
    QPushButton* exportAll = nullptr;  // "Весь архив"
    ExportProgressView* exportProgress = nullptr;
    QTableWidget* descriptors = nullptr;
    QComboBox* dataType = nullptr;    // "Тип данных:"
    QDateEdit* date = nullptr;        // "Дата:"
    QComboBox* hour = nullptr;        // "Час:"
    QLineEdit* record = nullptr;      // "Зап.N:"
    QLineEdit* count = nullptr;       // "Кол-во:"
    QPushButton* read = nullptr;      // "Прочитать"
    QPushButton* previous = nullptr;  // "Предыдущая"
    QPushButton* next = nullptr;      // "Следующая"
    QCheckBox* periodic = nullptr;    // "Период чтения (сек.):"
    QLineEdit* period = nullptr;      // its seconds
    QPushButton* stop = nullptr;      // "Стоп": ends the command under way, a periodic read above all
    QTextEdit* report = nullptr;
    DriverProgressTexts* texts = nullptr;  // the exchange and the result of the page's last command
};

// The longest number the period and flash-page fields take: a flash page number is 16 bits.
inline constexpr int kPageFieldDigits = 5;

// Widens the descriptor list's columns to their headers and cells (never below their first widths).
void FitDescriptorColumns(QTableWidget* list);

// Creates the controls on `page` with its layout.
ArchivePageControls BuildArchivePageControls(QWidget* page);
