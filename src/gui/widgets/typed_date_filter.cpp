#include "gui/widgets/typed_date_filter.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QRegularExpression>

namespace {

// What the user has typed since the field took the focus, and the value it spells once it is whole.
class TypedDateFilter : public QObject {
public:
    explicit TypedDateFilter(QDateTimeEdit* field) : QObject(field), m_field(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_field)
            return false;
        if (event->type() == QEvent::FocusIn) {
            m_typed.clear();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        static const QRegularExpression typeable(QStringLiteral("^[0-9.: ]$"));
        if (!typeable.match(text).hasMatch()) {
            m_typed.clear();
            return false;
        }
        m_typed += text;
        return TakeWhole();
    }

private:
    // True (the key is taken here) when the text so far is a whole date, with an hour perhaps.
    bool TakeWhole()
    {
        static const QRegularExpression whole(
            QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{4})(?: (\d{1,2})(?::(\d{2}))?)?$)"));
        const QRegularExpressionMatch match = whole.match(m_typed);
        if (!match.hasMatch())
            return false;
        const QDate date(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
        if (!date.isValid())
            return false;
        QTime time = m_field->time();
        if (match.hasCaptured(4)) {
            // The fields step by the hour, as the archives do: typed minutes are not kept.
            time = QTime(match.captured(4).toInt(), 0);
            if (!time.isValid())
                return false;
        }
        const QDateTime value(date, time);
        if (value < m_field->minimumDateTime() || value > m_field->maximumDateTime())
            return false;
        m_field->setDateTime(value);
        return true;
    }

    QDateTimeEdit* m_field;
    QString m_typed;
};

}  // namespace

void InstallTypedDateFilter(QDateTimeEdit* field)
{
    field->installEventFilter(new TypedDateFilter(field));
}
