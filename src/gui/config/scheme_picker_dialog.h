#pragma once
// "Выбор схемы измерения": the scheme and combination of one input chosen from the lists the model
// allows. "OK" applies the choice through the core's rules (its questions and refusals go to the page
// host); a refusal or a "no" keeps the dialog open for another choice.

#include <QDialog>

#include "config/device_blocks.h"

class CSchemeChoiceView;
class PageHost;

class CSchemePickerDialog : public QDialog {
    Q_OBJECT

public:
    CSchemePickerDialog(PageHost& host, ConfigurationBlocks& blocks, int set, int input, QWidget* parent = nullptr);

    CSchemeChoiceView* View() const { return m_view; }
    // Whether "OK" changed the input.
    bool Changed() const { return m_changed; }

    void accept() override;

private:
    PageHost& m_host;
    ConfigurationBlocks& m_blocks;
    int m_set;
    int m_input;
    bool m_changed = false;
    CSchemeChoiceView* m_view;
};
