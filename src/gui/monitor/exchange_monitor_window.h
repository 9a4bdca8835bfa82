#pragma once
// "Монитор обменов": the exchange log of the device links as scrolling text - every block sent and
// received, the channels' progress and error lines, the device operations' progress. Created once by
// the main window and kept; closing it only hides it. Lines arrive on the window's thread, in the
// order they were logged, as fast as the meter answers.

#include "base/settings_store.h"
#include "gui/widgets/window_placement_keeper.h"

#include <QMainWindow>

class QPlainTextEdit;

class ExchangeMonitorWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kLineLimit = 15000;

    explicit ExchangeMonitorWindow(SettingsStore& settings, QWidget* parent = nullptr);

    // Adds `text` (lines ending in CR LF, as the exchange log writes them) at the end and keeps the end
    // in view; beyond the limit the oldest lines go.
    void Append(const QString& text);
    // "Очистить содержимое".
    void Clear();
    // "Сохранить содержимое как...": asks for a file, then SaveTo.
    void SaveAs();
    // Saves the whole text, lines ending in CR LF, in windows-1251 under `chosenPath` with exactly one
    // ".txt" at the end. False when nothing was written (the user has been told why).
    bool SaveTo(const QString& chosenPath);

    // The text as it would be saved.
    QString Text() const;
    int LineCount() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SettingsStore& m_settings;
    QPlainTextEdit* m_text;
    WindowPlacementKeeper* m_placement;
};
