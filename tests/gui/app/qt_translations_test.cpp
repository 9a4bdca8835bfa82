// Qt's standard buttons and dialogs in Russian once the program's start-up has loaded the translation.

#include "gui/app/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton which)
{
    QAbstractButton* button = box.button(which);
    return button ? button->text().remove(QLatin1Char('&')) : QString();
}

}  // namespace

TEST(QtTranslations, StandardButtonsReadInRussianAfterStartUp)
{
    ASSERT_TRUE(InstallQtRussianTranslation(*qApp)) << "qtbase_ru.qm (package qt6-translations-l10n) is missing";
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(ButtonText(box, QMessageBox::Yes), QStringLiteral("Да"));
        EXPECT_EQ(ButtonText(box, QMessageBox::No), QStringLiteral("Нет"));
        EXPECT_EQ(ButtonText(box, QMessageBox::Cancel), QStringLiteral("Отмена"));
    }
    // The other tests of this program see Qt's texts as they were.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}
