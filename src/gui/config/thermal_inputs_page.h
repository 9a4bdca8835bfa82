#pragma once
// "Тепловые вводы" of one parameter set: its inputs with the labels the page tree gives them. Choosing
// an input asks for its pages (the window turns `inputChosen` into a page selection).

#include "gui/widgets/page_base.h"

class QListWidget;

class CDlgMainConfigWi : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    CDlgMainConfigWi(PageHost& host, int set, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;
    void Load();

    QListWidget* InputList() const { return m_list; }

signals:
    void inputChosen(int input);

private:
    const int m_set;
    QListWidget* m_list;
};
