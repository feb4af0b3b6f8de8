#pragma once

#include "ui/BaseWindow.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;
class TPOSButton;

// "Fiş Önizleme": a stored receipt exactly as it prints, in a fixed-pitch font, with "Yazdır".
// Loaded before it shows: a receipt that cannot be built raises "Fiş bulunamadı." out of
// Execute. A print's outcome (sent, cancelled, failed with the error) goes to the status line;
// the window stays open and can print again. Esc closes it.
class TfrmReceiptPreview : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmReceiptPreview(QWidget* parent = nullptr);

    static void Execute(int AFisID);
    void SetFisID(int AFisID);
    void btnPrintClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void LoadPreview();
    void SetStatus(const QString& Text, const QColor& Color);

    QLabel* lblTitle;
    QWidget* pnlContent;
    QPlainTextEdit* memReceipt;
    QLabel* lblStatus;
    TPOSButton* btnPrint;
    TPOSButton* btnClose;

    int FFisID = 0;
    QString FFisNo;
    QStringList FLines;
};
