#pragma once
// Driving a dialog as a user would: finding its named controls, pressing its standard buttons and
// typing one key event per character, so that Cyrillic and punctuation arrive as text
// (QTest::keyClicks cannot send Cyrillic).

#include <gtest/gtest.h>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>

// How long a test waits for what the (simulated) meter brings: generous, a loaded machine gets there well
// within this.
inline constexpr int kArrivesMs = 20000;

// The child named `name`, failing the test when there is none.
template <typename T>
T* NamedChild(const QWidget& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

inline void ClickStandardButton(const QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const auto key = c.unicode() < 0x80 ? static_cast<Qt::Key>(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

// Replaces the edit's text as a user would: select everything, then type.
inline void Retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    TypeText(edit, text);
}

// Writes `path` into a file dialog's name field, as a user types it there. QFileDialog::selectFile leaves
// that field as it was while the field has the keyboard focus, and whether the dialog's window is active by
// the time a test reaches it depends on the machine's speed: the dialog would then go on with the name it
// offered.
inline void TypeFileName(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
}
