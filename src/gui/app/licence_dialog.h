#pragma once
// "Лицензионное соглашение": the program's licence, read-only, with an OK button. The text is built
// into the program.

#include <QDialog>

class LicenceDialog : public QDialog {
    Q_OBJECT

public:
    explicit LicenceDialog(QWidget* parent = nullptr);

    // The licence text; false with the system's reason in `error` when it cannot be read.
    static bool LoadText(QString* text, QString* error);
    // Shows the dialog modally, or the reason the text cannot be read (caption "Информация").
    static void ShowLicence(QWidget* parent);

    QString Text() const;

private:
    class QPlainTextEdit* m_text;
};
