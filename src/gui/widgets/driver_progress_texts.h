#pragma once
// What the driver says about the exchange under a frame's toolbar: the connection text ("Повтор %d",
// "Связь установлена"), the running operation or the result of the last command, and its detail.

#include <QWidget>

class QLabel;

class DriverProgressTexts : public QWidget {
    Q_OBJECT

public:
    explicit DriverProgressTexts(QWidget* parent = nullptr);

    void SetConnectionText(const QString& text);
    void SetOperationText(const QString& text);
    void SetDetailText(const QString& text);

    QString ConnectionText() const;
    QString OperationText() const;
    QString DetailText() const;

private:
    QLabel* m_connection;
    QLabel* m_operation;
    QLabel* m_detail;
};
