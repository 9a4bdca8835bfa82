#pragma once
// "О программе": the program's name, version and what it is for.

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // "Версия 1.2.3", from the project's version.
    static QString VersionText();
};
