#include "gui/config/serial_arrow_keys.h"

#include "config/service_page_numbers.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class SerialArrowKeys : public QObject {
public:
    explicit SerialArrowKeys(QLineEdit* edit) : QObject(edit), m_edit(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_edit || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        m_edit->setText(SteppedSerialText(m_edit->text(), key == Qt::Key_Up ? 1 : -1));
        return true;
    }

private:
    QLineEdit* m_edit;
};

}  // namespace

void InstallSerialArrowKeys(QLineEdit* edit)
{
    edit->installEventFilter(new SerialArrowKeys(edit));
}
