#pragma once
// Typing into a widget the way a keyboard does: one key event per character, so that Cyrillic and
// punctuation arrive as text (QTest::keyClicks cannot send Cyrillic).

#include <QString>
#include <QTest>
#include <QWidget>

inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const auto key = c.unicode() < 0x80 ? static_cast<Qt::Key>(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}
