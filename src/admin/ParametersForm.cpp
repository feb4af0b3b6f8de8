#include "admin/ParametersForm.h"

#include "core/AppSettingsManager.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {
constexpr int kClientWidth = 912;
constexpr int kClientHeight = 658;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 92;
constexpr int kFooterHeight = 72;
constexpr int kContentHeight = kClientHeight - kHeaderHeight - kFooterHeight;
constexpr int kMargin = 24;
constexpr int kButtonHeight = 40;
constexpr int kSavedNoticeMs = 1500;

struct TColumn {
    const char16_t* Title;
    int Width;
};

constexpr TColumn kColumns[] = {{u"Anahtar", 220}, {u"Değer", 160}, {u"Açıklama", 320}};
} // namespace

TfrmParameters::TfrmParameters(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlMain",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , lblMsgSeconds(
          TPOSUITheme::CreateLabel(Content(), "lblMsgSeconds", 11, true, POSPalette::Header))
    , lblMsgHelp(
          TPOSUITheme::CreateLabel(Content(), "lblMsgHelp", 9, false, POSPalette::AdminHelpText))
    , edtMsgSeconds(new QLineEdit(Content()))
    , lblGridTitle(
          TPOSUITheme::CreateLabel(Content(), "lblGridTitle", 11, true, POSPalette::Header))
    , gridParams(new QTableWidget(Content()))
    , btnKaydet(CreateButton(Footer(), "btnKaydet", QStringLiteral("Kaydet"), TGlyph::Save,
                             TButtonVariant::Primary))
    , btnYeni(CreateButton(Footer(), "btnYeni", QStringLiteral("Yeni Parametre"), TGlyph::Plus,
                           TButtonVariant::Default))
    , btnKapat(CreateButton(Footer(), "btnKapat", QStringLiteral("Kapat"), TGlyph::Close,
                            TButtonVariant::Default))
{
    FormCreate();
}

void TfrmParameters::FormCreate()
{
    setObjectName(QStringLiteral("frmParameters"));
    setWindowTitle(QStringLiteral("Parametreler"));

    lblTitle->setText(QStringLiteral("PARAMETRELER"));
    lblTitle->setFont(TPOSUITheme::SemiboldFont(18, true));
    lblTitle->setGeometry(kMargin, 16, 600, 36);
    lblSubTitle->setText(QStringLiteral("POS çalışma ayarları"));
    TPOSUITheme::SetColor(lblSubTitle, QPalette::WindowText, POSPalette::AdminSubTitle);
    lblSubTitle->setGeometry(kMargin + 2, 54, 600, 22);

    lblMsgSeconds->setText(QStringLiteral("Mesaj görünme süresi (sn)"));
    lblMsgSeconds->setGeometry(kMargin, 22, 230, 32);
    edtMsgSeconds->setObjectName(QStringLiteral("edtMsgSeconds"));
    TPOSUITheme::StyleEdit(edtMsgSeconds);
    edtMsgSeconds->setGeometry(kMargin + 236, 22, 90, 32);
    lblMsgHelp->setText(QStringLiteral("Hatalı barkod uyarısının ekranda kalma süresi"));
    lblMsgHelp->setGeometry(kMargin, 58, 600, 20);
    lblGridTitle->setText(QStringLiteral("Diğer Parametreler"));
    lblGridTitle->setGeometry(kMargin, 94, 400, 26);
    gridParams->setObjectName(QStringLiteral("gridParams"));
    gridParams->setGeometry(kMargin, 126, kClientWidth - 2 * kMargin, kContentHeight - 126 - 16);
    TPOSUITheme::StyleGrid(gridParams);
    gridParams->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    gridParams->verticalHeader()->hide();
    SetupGrid();
    TPOSUITheme::InstallGridCellDrawing(gridParams, {});

    const int top = (kFooterHeight - kButtonHeight) / 2;
    btnKaydet->setGeometry(kMargin, top, 140, kButtonHeight);
    btnYeni->setGeometry(kMargin + 152, top, 180, kButtonHeight);
    btnKapat->setGeometry(kClientWidth - kMargin - 124, top, 124, kButtonHeight);
    GuardedConnect(btnKaydet, &QPushButton::clicked, this, &TfrmParameters::btnKaydetClick);
    GuardedConnect(btnYeni, &QPushButton::clicked, this, &TfrmParameters::btnYeniClick);
    GuardedConnect(btnKapat, &QPushButton::clicked, this, &TfrmParameters::btnKapatClick);

    TAppSettingsManager::EnsureDefaults();
    LoadParameters();
}

void TfrmParameters::Execute()
{
    TfrmParameters form(DialogOwner());
    form.ShowModal();
}

void TfrmParameters::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    CentreOnScreen();
}

void TfrmParameters::SetupGrid()
{
    gridParams->setColumnCount(int(std::size(kColumns)));
    gridParams->setRowCount(1);
    for (int col = 0; col < int(std::size(kColumns)); ++col) {
        gridParams->setHorizontalHeaderItem(
            col, new QTableWidgetItem(QString::fromUtf16(kColumns[col].Title)));
        gridParams->setColumnWidth(col, kColumns[col].Width);
    }
}

void TfrmParameters::LoadParameters()
{
    edtMsgSeconds->setText(QString::number(TParameterStore::MsgSeconds()));
    const QList<TParameterRow> rows = TParameterStore::Load();
    gridParams->setRowCount(0);
    gridParams->setRowCount(qMax(1, int(rows.size())));
    for (int row = 0; row < rows.size(); ++row) {
        const TParameterRow& p = rows.at(row);
        int col = 0;
        for (const QString& text : {p.Key, p.Value, p.Description})
            gridParams->setItem(row, col++, new QTableWidgetItem(text));
    }
}

QString TfrmParameters::CellText(int row, int col) const
{
    const QTableWidgetItem* item = gridParams->item(row, col);
    return item ? item->text() : QString();
}

QList<TParameterRow> TfrmParameters::GridRows() const
{
    QList<TParameterRow> rows;
    for (int row = 0; row < gridParams->rowCount(); ++row)
        rows.append({CellText(row, 0), CellText(row, 1), CellText(row, 2)});
    return rows;
}

void TfrmParameters::CommitGridEdit()
{
    // Leaving the cell hands what was typed to the grid; the save button never takes the focus
    // away from the editor.
    const QModelIndex current = gridParams->currentIndex();
    gridParams->setCurrentIndex(QModelIndex());
    gridParams->setCurrentIndex(current);
}

bool TfrmParameters::SaveParameters()
{
    const int seconds = TParameterStore::SecondsFromText(edtMsgSeconds->text());
    const QList<TParameterRow> rows = GridRows();
    const QString refusal = TParameterStore::CheckRows(rows);
    if (!refusal.isEmpty()) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), refusal, dtError);
        return false;
    }
    edtMsgSeconds->setText(QString::number(seconds));
    TParameterStore::Save(seconds, rows);
    return true;
}

void TfrmParameters::btnKaydetClick()
{
    CommitGridEdit();
    if (!SaveParameters())
        return;
    LoadParameters();
    TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"),
                                 QStringLiteral("Parametreler kaydedildi."), dtInfo,
                                 kSavedNoticeMs);
}

void TfrmParameters::btnYeniClick()
{
    const int row = gridParams->rowCount();
    gridParams->insertRow(row);
    gridParams->setCurrentCell(row, 0);
    gridParams->setFocus();
}

void TfrmParameters::btnKapatClick()
{
    close();
}
