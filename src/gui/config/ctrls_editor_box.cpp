#include "gui/config/ctrls_editor_box.h"

#include "config/ctrls_and_alarms_texts.h"
#include "gui/config/pipe_page_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr NumericFieldRule kLimitRule{true, -1};  // limits of differences and temperatures may be negative

}  // namespace

CtrlsEditorBox::CtrlsEditorBox(std::function<ControlsBlock&()> controls, const bool& loading, QWidget* parent)
    : QGroupBox(QStringLiteral("Контроли:"), parent), m_controls(std::move(controls)), m_loading(loading)
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("controlList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(ControlListColumns());
    for (int n = 0; n < kControlCount; ++n)
        new QTreeWidgetItem(m_list);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setFixedHeight(m_list->sizeHintForRow(0) * (kControlCount + 1) + m_list->header()->sizeHint().height());

    // Kind, number and parameter are filled anew for each control; their handlers ignore that filling.
    const bool& quiet = m_filling;
    m_kind = MakeChoiceList(
        kControlKindTexts, [this](unsigned kind) { ChangeKind(kind); }, quiet, this);
    m_kind->setObjectName(QStringLiteral("controlKind"));
    m_number = new QComboBox(this);
    m_number->setObjectName(QStringLiteral("controlNumber"));
    m_parameter = new QComboBox(this);
    m_parameter->setObjectName(QStringLiteral("controlParameter"));
    const auto storeIndex = [this](QComboBox* list, void (ControlEntry::*set)(unsigned)) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, set](int index) {
            if (m_filling || m_loading || index < 0)
                return;
            (Control().*set)(unsigned(index));
            ShowRow(SelectedControl());
        });
    };
    storeIndex(m_number, &ControlEntry::SetNumber);
    storeIndex(m_parameter, &ControlEntry::SetParameter);
    // The entry is packed: its limits are stored by name, never through a member pointer.
    const auto storeLimit = [this](void (*store)(ControlEntry&, float)) {
        return [this, store](double v) {
            store(Control(), float(v));
            ShowRow(SelectedControl());
        };
    };
    m_minimum = MakeNumericEdit(kLimitRule, storeLimit([](ControlEntry& c, float v) { c.minimum = v; }), m_loading,
                                this);
    m_minimum->setObjectName(QStringLiteral("controlMinimum"));
    m_maximum = MakeNumericEdit(kLimitRule, storeLimit([](ControlEntry& c, float v) { c.maximum = v; }), m_loading,
                                this);
    m_maximum->setObjectName(QStringLiteral("controlMaximum"));

    auto* editors = new QFormLayout;
    editors->addRow(QStringLiteral("Элемент:"), m_kind);
    editors->addRow(QStringLiteral("Номер:"), m_number);
    editors->addRow(QStringLiteral("Параметр:"), m_parameter);
    editors->addRow(QStringLiteral("Мин.значение:"), m_minimum);
    editors->addRow(QStringLiteral("Макс.значение:"), m_maximum);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(editors);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { LoadEditors(); });
    m_list->setCurrentItem(m_list->topLevelItem(0));
}

ControlEntry& CtrlsEditorBox::Control() const
{
    return m_controls().controls[SelectedControl()];
}

int CtrlsEditorBox::SelectedControl() const
{
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    return index < 0 ? 0 : index;
}

void CtrlsEditorBox::SelectControl(int index)
{
    m_list->setCurrentItem(m_list->topLevelItem(index));
}

void CtrlsEditorBox::Load()
{
    for (int n = 0; n < kControlCount; ++n)
        ShowRow(n);
    LoadEditors();
}

void CtrlsEditorBox::ShowRow(int index)
{
    const QStringList cells = ControlRowTexts(m_controls().controls[index], index);
    QTreeWidgetItem* item = m_list->topLevelItem(index);
    for (int column = 0; column < cells.size(); ++column)
        item->setText(column, cells[column]);
}

void CtrlsEditorBox::LoadEditors()
{
    const ControlEntry& control = Control();
    const unsigned kind = control.Kind();
    m_filling = true;
    SelectValue(m_kind, kind);
    m_number->clear();
    m_number->addItems(ControlNumberChoices(kind));
    m_parameter->clear();
    m_parameter->addItems(ControlParameterChoices(kind));
    // A number or parameter outside the kind's list (as read from a meter) selects nothing.
    m_number->setCurrentIndex(int(control.Number()) < m_number->count() ? int(control.Number()) : -1);
    m_parameter->setCurrentIndex(int(control.Parameter()) < m_parameter->count() ? int(control.Parameter()) : -1);
    m_filling = false;

    const bool used = m_number->count() > 0;
    if (used) {
        m_minimum->setText(ControlLimitText(control.minimum));
        m_maximum->setText(ControlLimitText(control.maximum));
    } else {
        m_minimum->clear();
        m_maximum->clear();
    }
    for (QWidget* editor : std::initializer_list<QWidget*>{m_number, m_parameter, m_minimum, m_maximum})
        editor->setEnabled(used);
}

void CtrlsEditorBox::ChangeKind(unsigned kind)
{
    if (m_loading)
        return;
    // Number and parameter mean something else for another kind: start from the first of each.
    ControlEntry& control = Control();
    control.SetKind(kind);
    control.SetNumber(0);
    control.SetParameter(0);
    ShowRow(SelectedControl());
    LoadEditors();
}
