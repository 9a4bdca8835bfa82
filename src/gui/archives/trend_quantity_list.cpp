#include "gui/archives/trend_quantity_list.h"

TrendQuantityList::TrendQuantityList(QWidget* parent) : QListWidget(parent)
{
    for (const TrendQuantity& quantity : TrendQuantities()) {
        auto* item = new QListWidgetItem(quantity.label + QStringLiteral(", ") + TrendUnitText(quantity.unit), this);
        item->setData(Qt::UserRole, quantity.key);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

TrendSelection TrendQuantityList::Checked() const
{
    TrendSelection checked;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->checkState() == Qt::Checked)
            checked.push_back(FindTrendQuantity(item(row)->data(Qt::UserRole).toString()));
    }
    return checked;
}

QString TrendQuantityList::CheckedKeys() const
{
    QStringList keys;
    for (const TrendQuantity* quantity : Checked())
        keys.append(quantity->key);
    return keys.join(u',');
}

void TrendQuantityList::SetChecked(const QStringList& keys)
{
    for (int row = 0; row < count(); ++row) {
        const bool chosen = keys.contains(item(row)->data(Qt::UserRole).toString());
        item(row)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
}

int TrendQuantityList::RowOf(const QString& key) const
{
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(Qt::UserRole).toString() == key)
            return row;
    }
    return -1;
}
