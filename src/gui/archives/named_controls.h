#pragma once
// Controls made with their object names, which the tests and the screenshots find them by, and a
// field with its label in a row.

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>

template <class Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton* Button(const char* text, const char* name)
{
    return Named(new QPushButton(QString::fromUtf8(text)), name);
}

inline void AddLabelled(QHBoxLayout* row, const char* label, QWidget* field)
{
    row->addWidget(new QLabel(QString::fromUtf8(label)));
    row->addWidget(field);
}
