#include "gui/app/licence_dialog.h"

#include "gui/widgets/message_box.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

// Resources of a static library are registered by hand; once is enough. (Outside any namespace: the
// macro declares the resource's function where it stands.)
static void RegisterLicenceResource()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(licence);
        return true;
    }();
    (void)registered;
}

LicenceDialog::LicenceDialog(QWidget* parent) : QDialog(parent), m_text(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Лицензионное соглашение"));
    QString text;
    QString error;
    m_text->setPlainText(LoadText(&text, &error) ? text : error);
    m_text->setReadOnly(true);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(720, 520);
}

bool LicenceDialog::LoadText(QString* text, QString* error)
{
    RegisterLicenceResource();
    QFile file(QStringLiteral(":/licence/licence_ru.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    *text = QString::fromUtf8(file.readAll());
    return true;
}

void LicenceDialog::ShowLicence(QWidget* parent)
{
    QString text;
    QString error;
    if (!LoadText(&text, &error)) {
        ShowMessageBox(parent, UserMessage::Information(error));
        return;
    }
    LicenceDialog dialog(parent);
    dialog.exec();
}

QString LicenceDialog::Text() const
{
    return m_text->toPlainText();
}
