#pragma once

#include "admin/StockImageGenerator.h"
#include "ui/BaseWindow.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class TPOSButton;

// The stock image generator's window, the one window with the system's frame: a log of every
// step, a bar counting the products of a run, and the buttons to run, stop and close. A run
// stays on the window's thread; the window repaints after each product and while a look-up
// waits, so the log and the bar follow the run and "Durdur" ends it.
class TfrmPosStockImageGenerator : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmPosStockImageGenerator(QWidget* parent = nullptr);
    // A generator looking pictures up with `service` and writing them into `imageFolder`.
    TfrmPosStockImageGenerator(QWidget* parent, TProductImageSettings service,
                               const QString& imageFolder);

    static void Execute();

    // Handlers, public so that tests drive the same roads.
    void btnUretClick();
    void btnDurdurClick();
    void btnKapatClick();

    bool Running() const { return FGenerator.Running(); }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void AddLog(const QString& line);
    void ShowProgress(int done, int total);
    void ShowRunning(bool running);

    TStockImageGenerator FGenerator;
    QLabel* lblTitle;
    QPlainTextEdit* memLog;
    QProgressBar* prgIlerleme;
    TPOSButton* btnUret;
    TPOSButton* btnDurdur;
    TPOSButton* btnKapat;
};
