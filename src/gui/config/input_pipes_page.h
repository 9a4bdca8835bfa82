#pragma once
// "Трубы 1...3": the three pipes of one thermal input of one parameter set, side by side. Every change is
// written into the driver's record at once; the state of each channel follows the input's scheme and the
// meter model. The page of a set not in use, or of an input without a scheme, cannot be edited.

#include "config/tunes_record.h"
#include "gui/widgets/page_base.h"

#include <array>

class PipesPageColumn;
class QLabel;
struct ConfigurationBlocks;

class CDlgMainConfigPipes : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    CDlgMainConfigPipes(PageHost& host, int set, int input, QWidget* parent = nullptr);

    // Showing the page drops the pressure sensors of pipes the model has no pressure channel for.
    void OnPageShown() override;
    void OnConfigurationReplaced() override;

    // Whether the pipes can be edited now (the set is in use and the input has a scheme).
    bool IsEditable() const;

private:
    ConfigurationBlocks& Blocks() const;
    PipeSettings& Pipe(int pipe) const;
    void Reload();
    void ShowStates();

    const int m_set;
    const int m_input;
    bool m_loading = false;
    QWidget* m_content;
    QLabel* m_contractPressureCaption = nullptr;  // captions in the unit system's pressure unit
    QLabel* m_sensorLimitCaption = nullptr;
    std::array<PipesPageColumn*, kPipeCount> m_columns{};
};
