#include "admin/PosStockImageGeneratorForm.h"

#include "core/AppPaths.h"
#include "core/DataModule.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 856;
constexpr int kClientHeight = 559;
constexpr int kHeaderHeight = 58;
constexpr int kFooterHeight = 56;
constexpr int kMargin = 12;
constexpr int kButtonHeight = 36;

TWindowLayout GeneratorLayout()
{
    TWindowLayout layout{{kClientWidth, kClientHeight},
                         0,
                         "pnlTop",
                         kHeaderHeight,
                         "pnlContent",
                         "pnlBottom",
                         kFooterHeight};
    layout.SystemFrame = true;
    return layout;
}

// Restores the window's buttons however a run ends.
class TRunView {
public:
    explicit TRunView(std::function<void(bool)> show)
        : FShow(std::move(show))
    {
        FShow(true);
    }
    ~TRunView() { FShow(false); }
    TRunView(const TRunView&) = delete;
    TRunView& operator=(const TRunView&) = delete;

private:
    std::function<void(bool)> FShow;
};
} // namespace

TfrmPosStockImageGenerator::TfrmPosStockImageGenerator(QWidget* parent)
    : TfrmPosStockImageGenerator(parent,
                                 TProductImageSettings::Load(TProductImageSettings::IniPath()),
                                 TStockImageGenerator::DefaultImageFolder())
{
}

TfrmPosStockImageGenerator::TfrmPosStockImageGenerator(QWidget* parent,
                                                       TProductImageSettings service,
                                                       const QString& imageFolder)
    : TBaseWindow(parent, TWindowKind::Dialog, GeneratorLayout())
    , FGenerator(std::move(service), imageFolder, AppPaths::ProgramFolder())
    , lblTitle(CreateTitle("lblTitle"))
    , memLog(new QPlainTextEdit(Content()))
    , prgIlerleme(new QProgressBar(Footer()))
    , btnUret(CreateButton(Footer(), "btnUret", QStringLiteral("Eksik Gorselleri Tamamla"),
                           TGlyph::None, TButtonVariant::Default))
    , btnDurdur(CreateButton(Footer(), "btnDurdur", QStringLiteral("Durdur"), TGlyph::None,
                             TButtonVariant::Default))
    , btnKapat(CreateButton(Footer(), "btnKapat", QStringLiteral("Kapat"), TGlyph::None,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmPosStockImageGenerator::FormCreate()
{
    setObjectName(QStringLiteral("frmPosStockImageGenerator"));
    setWindowTitle(QStringLiteral("Stok Gorsel Tamamlama (POS)"));
    lblTitle->setText(QStringLiteral("POS - EKSIK STOK GORSELLERINI TAMAMLA"));
    TPOSUITheme::FillBackground(Content(), POSPalette::Body);

    memLog->setObjectName(QStringLiteral("memLog"));
    memLog->setReadOnly(true);
    memLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memLog->setFont(TPOSUITheme::TextFont(10));
    auto* body = new QVBoxLayout(Content());
    body->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    body->addWidget(memLog);

    prgIlerleme->setObjectName(QStringLiteral("prgIlerleme"));
    prgIlerleme->setRange(0, 1);
    prgIlerleme->setValue(0);
    prgIlerleme->setFormat(QStringLiteral("%v / %m"));
    TPOSUITheme::SetColor(prgIlerleme, QPalette::Highlight, POSPalette::Primary);
    TPOSUITheme::SetColor(prgIlerleme, QPalette::HighlightedText, POSPalette::PrimaryText);
    const int top = (kFooterHeight - kButtonHeight) / 2;
    prgIlerleme->setGeometry(kMargin, top + 7, 300, kButtonHeight - 14);
    btnKapat->setGeometry(kClientWidth - kMargin - 110, top, 110, kButtonHeight);
    btnUret->setGeometry(btnKapat->x() - 10 - 230, top, 230, kButtonHeight);
    btnDurdur->setGeometry(btnUret->x() - 10 - 110, top, 110, kButtonHeight);
    GuardedConnect(btnUret, &QPushButton::clicked, this, &TfrmPosStockImageGenerator::btnUretClick);
    GuardedConnect(btnDurdur, &QPushButton::clicked, this,
                   &TfrmPosStockImageGenerator::btnDurdurClick);
    GuardedConnect(btnKapat, &QPushButton::clicked, this,
                   &TfrmPosStockImageGenerator::btnKapatClick);
    ShowRunning(false);

    if (dmMain && !dmMain->Connected())
        dmMain->Connect();
    TStockImageGenerator::EnsureImageColumns();
    memLog->clear();
    AddLog(QStringLiteral("Hazır. Eksik stok görselleri barkoddan aranır, bulunursa şeffaf PNG "
                          "olarak kaydedilir."));
    AddLog(QStringLiteral(
        "Online görsel bulunamazsa mevcut otomatik POS stok kartı görseli üretilir."));
}

void TfrmPosStockImageGenerator::Execute()
{
    TfrmPosStockImageGenerator form(DialogOwner());
    form.ShowModal();
}

void TfrmPosStockImageGenerator::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CentreOnScreen();
}

void TfrmPosStockImageGenerator::AddLog(const QString& line)
{
    memLog->appendPlainText(line);
    memLog->verticalScrollBar()->setValue(memLog->verticalScrollBar()->maximum());
}

void TfrmPosStockImageGenerator::ShowProgress(int done, int total)
{
    prgIlerleme->setRange(0, qMax(1, total));
    prgIlerleme->setValue(done);
    // The run holds the window's thread: let it repaint and take a click on "Durdur".
    QCoreApplication::processEvents();
}

void TfrmPosStockImageGenerator::ShowRunning(bool running)
{
    btnUret->setEnabled(!running);
    btnKapat->setEnabled(!running);
    btnDurdur->setVisible(running);
    btnDurdur->setEnabled(running);
}

void TfrmPosStockImageGenerator::btnUretClick()
{
    if (FGenerator.Running())
        return;
    const TRunView view([this](bool running) { ShowRunning(running); });
    prgIlerleme->setRange(0, 1);
    prgIlerleme->setValue(0);
    FGenerator.Run({.Log = [this](const QString& line) { AddLog(line); },
                    .Progress =
                        [this](int done, int total) {
                            ShowProgress(done, total);
                        }});
}

void TfrmPosStockImageGenerator::btnDurdurClick()
{
    if (!FGenerator.Running())
        return;
    btnDurdur->setEnabled(false);
    FGenerator.Stop();
}

void TfrmPosStockImageGenerator::btnKapatClick()
{
    close();
}

void TfrmPosStockImageGenerator::reject()
{
    if (FGenerator.Running()) {
        btnDurdurClick();
        return;
    }
    TBaseWindow::reject();
}

void TfrmPosStockImageGenerator::closeEvent(QCloseEvent* event)
{
    if (FGenerator.Running()) {
        event->ignore();
        btnDurdurClick();
        return;
    }
    TBaseWindow::closeEvent(event);
}
