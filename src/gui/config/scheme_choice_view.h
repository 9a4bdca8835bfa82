#pragma once
// The scheme picture with the scheme list (number and group name) and the combination list of the
// chosen scheme, as both the input page "Общие" and the picker show them. On the page the lists only
// show the input's choice; in the picker the user chooses.

#include <QWidget>

class CSchemePicture;
class QTreeWidget;

class CSchemeChoiceView : public QWidget {
    Q_OBJECT

public:
    explicit CSchemeChoiceView(bool choosing, QWidget* parent = nullptr);

    // Lists the schemes `model` offers on `input` and selects `scheme` with its row `row` (a position in
    // the scheme's table rows, -1 for none).
    void ShowChoice(int model, int input, bool alternativeQg, int scheme, int row);

    int SelectedScheme() const { return m_scheme; }
    // The selected combination as a position in the scheme's table rows, or -1.
    int SelectedRow() const;

    CSchemePicture* Picture() const { return m_picture; }
    QTreeWidget* SchemeList() const { return m_schemes; }
    QTreeWidget* CombinationList() const { return m_combinations; }

signals:
    void choiceChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCombinations(int row);
    void OnSchemeSelected();
    void OnCombinationSelected();
    void UpdatePicture();

    bool m_choosing;
    bool m_filling = false;
    int m_model = 0;
    int m_input = 0;
    bool m_alternativeQg = false;
    int m_scheme = 0;
    CSchemePicture* m_picture;
    QTreeWidget* m_schemes;
    QTreeWidget* m_combinations;
};
