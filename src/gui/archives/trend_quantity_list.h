#pragma once
// The checkable list of the quantities a trend can show: one row per quantity of a value-archive
// record, labelled with its unit ("t1, °C", "Qтв ТВ1, Гкал"), in the order of TrendQuantities().

#include "archives/range_table.h"

#include <QListWidget>

class TrendQuantityList : public QListWidget {
    Q_OBJECT

public:
    explicit TrendQuantityList(QWidget* parent = nullptr);

    // The checked quantities, in the list's order.
    TrendSelection Checked() const;
    // Their keys joined by commas (the form ParseTrendQuantityList reads).
    QString CheckedKeys() const;
    // Checks exactly the quantities named; unknown keys are passed over.
    void SetChecked(const QStringList& keys);
    // The row of a quantity's key; -1 when none.
    int RowOf(const QString& key) const;
};
