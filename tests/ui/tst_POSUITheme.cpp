#include "ui/ERPUITheme.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QTableWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(TButtonVariant)

namespace {
QColor Rgb(int rgb)
{
    return QColor(QRgb(0xFF000000u | unsigned(rgb)));
}

// The columns of `row` in `image` between x0 and x1 (exclusive) whose pixel is not `background`.
QList<int> InkColumns(const QImage& image, int x0, int x1, int y0, int y1, const QColor& background)
{
    QList<int> columns;
    for (int x = x0; x < x1; ++x) {
        for (int y = y0; y < y1; ++y) {
            if (image.pixelColor(x, y).rgb() != background.rgb()) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

std::unique_ptr<QTableWidget> MakeGrid()
{
    auto grid = std::make_unique<QTableWidget>(3, 3);
    grid->setHorizontalHeaderLabels({"Ürün Adı", "Kod", "Tutar"});
    const QStringList names = {"Su 0,5 L", "Ekmek", "Çok uzun bir ürün adı ki sütuna sığmaz"};
    for (int row = 0; row < 3; ++row) {
        grid->setItem(row, 0, new QTableWidgetItem(names.at(row)));
        grid->setItem(row, 1, new QTableWidgetItem("12,50"));
        grid->setItem(row, 2, new QTableWidgetItem("12,50"));
    }
    TPOSUITheme::StyleGrid(grid.get());
    for (int col = 0; col < 3; ++col)
        grid->setColumnWidth(col, 120);
    grid->verticalHeader()->hide();
    grid->resize(400, 200);
    return grid;
}
} // namespace

// The shared look: palette, button variants and states, grids and their cell drawing.
class TestPOSUITheme : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void variantChoice_data();
    void variantChoice();
    void buttonColours_data();
    void buttonColours();
    void styleButtonSetsTheWholeLook();
    void buttonDrawsItsState();
    void buttonStateFollowsTheWidget();
    void headerButtonIsDefaultVariant();
    void panelsAndEdits();
    void nullControlsAreIgnored();
    void roundShapeSitsBehind();
    void roundedRegion();
    void styleGrid();
    void cellLook();
    void selectedRowDrawnInEveryColumn();
    void titleRowStaysWhateverIsSelected();
    void alignmentFollowsTheColumnList();
    void longTextIsCutAtTheInset();
    void customCellDrawerGetsEveryCell();
    void glyphsFromSegoeCharacters();
    void everyGlyphDrawsSomething();
};

void TestPOSUITheme::initTestCase()
{
    RegisterFontSubstitutions();
}

void TestPOSUITheme::variantChoice_data()
{
    QTest::addColumn<bool>("primary");
    QTest::addColumn<bool>("danger");
    QTest::addColumn<TButtonVariant>("expected");
    QTest::newRow("default") << false << false << TButtonVariant::Default;
    QTest::newRow("primary") << true << false << TButtonVariant::Primary;
    QTest::newRow("danger") << false << true << TButtonVariant::Danger;
    QTest::newRow("both: primary wins") << true << true << TButtonVariant::Primary;
}

void TestPOSUITheme::variantChoice()
{
    QFETCH(bool, primary);
    QFETCH(bool, danger);
    QFETCH(TButtonVariant, expected);
    QCOMPARE(TPOSUITheme::ButtonVariant(primary, danger), expected);
    TPOSButton button;
    TPOSUITheme::StyleButton(&button, "Tamam", TGlyph::CheckMark, primary, danger);
    QCOMPARE(button.Look().Fill, TPOSUITheme::ButtonLook(expected).Fill);
    QCOMPARE(button.Look().Text, TPOSUITheme::ButtonLook(expected).Text);
}

void TestPOSUITheme::buttonColours_data()
{
    QTest::addColumn<TButtonVariant>("variant");
    QTest::addColumn<int>("fill");
    QTest::addColumn<int>("hot");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("text");
    QTest::newRow("primary") << TButtonVariant::Primary << 0x224A78 << 0x2B568A << 0x224A78
                             << 0x224A78 << 0xFFFFFF;
    QTest::newRow("danger") << TButtonVariant::Danger << 0xFFFFFF << 0xEEEEF4 << 0xC9D8E4
                            << 0xC9D8E4 << 0xD8353C;
    QTest::newRow("default") << TButtonVariant::Default << 0xFFFFFF << 0xF5F7FA << 0xC9D8E4
                             << 0xC9D8E4 << 0x1A3A5F;
}

void TestPOSUITheme::buttonColours()
{
    QFETCH(TButtonVariant, variant);
    QFETCH(int, fill);
    QFETCH(int, hot);
    QFETCH(int, pressed);
    QFETCH(int, frame);
    QFETCH(int, text);
    const TButtonLook look = TPOSUITheme::ButtonLook(variant);
    QCOMPARE(look.FillFor(TButtonState::Normal), Rgb(fill));
    QCOMPARE(look.FillFor(TButtonState::Focused), Rgb(fill));
    QCOMPARE(look.FillFor(TButtonState::Hot), Rgb(hot));
    QCOMPARE(look.FillFor(TButtonState::Pressed), Rgb(pressed));
    for (TButtonState state :
         {TButtonState::Normal, TButtonState::Hot, TButtonState::Pressed, TButtonState::Focused}) {
        QCOMPARE(look.FrameFor(state), Rgb(frame));
        QCOMPARE(look.TextFor(state), Rgb(text));
    }
    QCOMPARE(look.FillFor(TButtonState::Disabled), Rgb(0xECECEC));
    QCOMPARE(look.FrameFor(TButtonState::Disabled), Rgb(0xCFCFCF));
    QCOMPARE(look.TextFor(TButtonState::Disabled), Rgb(0x909090));
}

void TestPOSUITheme::styleButtonSetsTheWholeLook()
{
    TPOSButton button;
    button.setFocusPolicy(Qt::StrongFocus);
    TPOSUITheme::StyleButton(&button, "Ara", TGlyph::Search, false, false);
    QCOMPARE(button.text(), QString("Ara"));
    QCOMPARE(button.Glyph(), TGlyph::Search);
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    QCOMPARE(button.font().family(), QString("Segoe UI Semibold"));
    QCOMPARE(button.font().pointSize(), 10);
    const TButtonLook& look = button.Look();
    QCOMPARE(look.Radius, 8);
    QCOMPARE(look.FrameWidth, 1);
    QCOMPARE(look.GlyphSize, 17);
    QCOMPARE(look.GlyphThickness, 2.0);
    QCOMPARE(look.GlyphAlphaDisabled, 125);
    QCOMPARE(look.GlyphSpacing, 5);
    QVERIFY(button.menu() == nullptr);
}

void TestPOSUITheme::buttonDrawsItsState()
{
    TPOSButton button;
    TPOSUITheme::StyleButton(&button, "Kaydet", TGlyph::CheckMark, true, false);
    button.resize(160, 40);
    QImage image = button.grab().toImage();
    QCOMPARE(image.pixelColor(80, 3).rgb(), Rgb(0x224A78).rgb());
    QCOMPARE(image.pixelColor(0, 20).rgb(), Rgb(0x224A78).rgb());
    // Rounded corners leave the corner pixel transparent around the shape.
    QVERIFY(image.pixelColor(0, 0).alpha() < 128);

    button.setEnabled(false);
    image = button.grab().toImage();
    QCOMPARE(image.pixelColor(80, 3).rgb(), Rgb(0xECECEC).rgb());
    QCOMPARE(image.pixelColor(0, 20).rgb(), Rgb(0xCFCFCF).rgb());
}

void TestPOSUITheme::buttonStateFollowsTheWidget()
{
    TPOSButton button;
    TPOSUITheme::StyleButton(&button, "Tamam", TGlyph::None, true, false);
    QCOMPARE(button.State(), TButtonState::Normal);
    button.setDown(true);
    QCOMPARE(button.State(), TButtonState::Pressed);
    button.setDown(false);
    button.setEnabled(false);
    QCOMPARE(button.State(), TButtonState::Disabled);
}

void TestPOSUITheme::headerButtonIsDefaultVariant()
{
    TPOSButton button;
    TPOSUITheme::StyleHeaderButton(&button, "Müşteri", TGlyph::User);
    QCOMPARE(button.text(), QString("Müşteri"));
    QCOMPARE(button.Glyph(), TGlyph::User);
    QCOMPARE(button.Look().Fill, Rgb(0xFFFFFF));
    QCOMPARE(button.Look().Text, Rgb(0x1A3A5F));
}

void TestPOSUITheme::panelsAndEdits()
{
    QWidget form;
    TPOSUITheme::StyleForm(&form);
    QCOMPARE(form.font().family(), QString("Segoe UI"));
    QCOMPARE(form.font().pointSize(), 10);
    QWidget erp;
    TERPUITheme::StyleForm(&erp);
    QCOMPARE(erp.font(), form.font());

    QFrame header, light, footer;
    header.setFrameShape(QFrame::Panel);
    TPOSUITheme::StyleHeaderPanel(&header);
    TPOSUITheme::StyleLightPanel(&light);
    TPOSUITheme::StyleFooterPanel(&footer);
    QCOMPARE(header.frameShape(), QFrame::NoFrame);
    QVERIFY(header.autoFillBackground());
    QCOMPARE(header.palette().color(QPalette::Window), Rgb(0x1A3A5F));
    QCOMPARE(light.palette().color(QPalette::Window), Rgb(0xFFFFFF));
    QCOMPARE(footer.palette().color(QPalette::Window), Rgb(0xF5F7FA));
    header.resize(20, 20);
    QCOMPARE(header.grab().toImage().pixelColor(10, 10), Rgb(0x1A3A5F));

    QLineEdit edit;
    TPOSUITheme::StyleEdit(&edit);
    QCOMPARE(edit.font().pointSize(), 11);
    QCOMPARE(edit.palette().color(QPalette::Text), Rgb(0x151C25));

    QDateEdit picker;
    TPOSUITheme::StyleDatePicker(&picker);
    QCOMPARE(picker.font().pointSize(), 10);
    QCOMPARE(picker.palette().color(QPalette::Base), Rgb(0xFFFFFF));
    QVERIFY(!picker.hasFrame());
}

void TestPOSUITheme::nullControlsAreIgnored()
{
    TPOSUITheme::StyleForm(nullptr);
    TPOSUITheme::StyleHeaderPanel(nullptr);
    TPOSUITheme::StyleLightPanel(nullptr);
    TPOSUITheme::StyleFooterPanel(nullptr);
    TPOSUITheme::StyleRoundFrame(nullptr, 8);
    TPOSUITheme::StyleRoundShape(nullptr);
    TPOSUITheme::StyleEdit(nullptr);
    TPOSUITheme::StyleDatePicker(nullptr);
    TPOSUITheme::StyleGrid(nullptr);
    TPOSUITheme::StyleButton(nullptr, "x", TGlyph::Close, true, true);
    TPOSUITheme::StyleHeaderButton(nullptr, "x", TGlyph::Close);
    TPOSUITheme::InstallGridCellDrawing(nullptr, {1});
    TPOSUITheme::SetRoundedRegion(nullptr, 8);
    TERPUITheme::StyleForm(nullptr);
    QPainter* painter = nullptr;
    TPOSUITheme::DrawGridCell(nullptr, painter, 0, 0, QRect(0, 0, 10, 10), {}, {});
}

void TestPOSUITheme::roundShapeSitsBehind()
{
    QWidget frame;
    TPOSUITheme::StyleRoundFrame(&frame, 12);
    QVERIFY(!frame.autoFillBackground());
    QCOMPARE(frame.property("frameRadius").toInt(), 12);
    auto* content = new QLineEdit(&frame);
    auto* shape = new TRoundShape(&frame);
    shape->setGeometry(0, 0, 100, 40);
    TPOSUITheme::StyleRoundShape(shape);
    QCOMPARE(frame.children().constFirst(), shape);
    QVERIFY(frame.children().contains(content));
    QCOMPARE(shape->Fill(), Rgb(0xFFFFFF));
    QCOMPARE(shape->Outline(), Rgb(0xC9D8E4));
    QCOMPARE(shape->Radius(), 12);
    TRoundShape loose;
    TPOSUITheme::StyleRoundShape(&loose);
    QCOMPARE(loose.Radius(), 8);
    const QImage image = shape->grab().toImage();
    QCOMPARE(image.pixelColor(50, 20), Rgb(0xFFFFFF));
    QCOMPARE(image.pixelColor(50, 0).rgb(), Rgb(0xC9D8E4).rgb());
}

void TestPOSUITheme::roundedRegion()
{
    QWidget button;
    button.resize(200, 60);
    TPOSUITheme::SetRoundedRegion(&button, 12);
    const QRegion mask = button.mask();
    QVERIFY(mask.contains(QPoint(100, 30)));
    QVERIFY(mask.contains(QPoint(100, 1)));
    QVERIFY(!mask.contains(QPoint(0, 0)));
    QVERIFY(!mask.contains(QPoint(199, 59)));
}

void TestPOSUITheme::styleGrid()
{
    QTableWidget grid(2, 2);
    grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
    TPOSUITheme::StyleGrid(&grid);
    QCOMPARE(grid.palette().color(QPalette::Base), Rgb(0xFFFFFF));
    QCOMPARE(grid.palette().color(QPalette::Text), Rgb(0x151C25));
    QCOMPARE(grid.font().family(), QString("Segoe UI"));
    QCOMPARE(grid.font().pointSize(), 10);
    QCOMPARE(grid.frameShape(), QFrame::NoFrame);
    QCOMPARE(grid.verticalHeader()->defaultSectionSize(), 34);
    QCOMPARE(grid.horizontalHeader()->height(), 34);
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid.selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(grid.showGrid());
}

void TestPOSUITheme::cellLook()
{
    const QColor grid = Rgb(0xFFFFFF);
    const QColor ink = Rgb(0x151C25);
    const TGridCellLook title = TPOSUITheme::GridCellLook({true, true}, grid, ink);
    QCOMPARE(title.Brush, Rgb(0xECF1F5));
    QVERIFY(title.Bold);
    const TGridCellLook selected = TPOSUITheme::GridCellLook({false, true}, grid, ink);
    QCOMPARE(selected.Brush, Rgb(0xB3D7F6));
    QCOMPARE(selected.TextColor, Rgb(0x1A3A5F));
    QVERIFY(selected.Bold);
    const TGridCellLook plain = TPOSUITheme::GridCellLook({false, false}, grid, ink);
    QCOMPARE(plain.Brush, grid);
    QCOMPARE(plain.TextColor, ink);
    QVERIFY(!plain.Bold);
    QCOMPARE(TPOSUITheme::GridCellTextRect(QRect(0, 0, 100, 34)), QRect(8, 2, 84, 30));
}

void TestPOSUITheme::selectedRowDrawnInEveryColumn()
{
    auto grid = MakeGrid();
    TPOSUITheme::InstallGridCellDrawing(grid.get(), {2});
    grid->show();
    grid->selectRow(1);
    const QImage image = grid->viewport()->grab().toImage();
    for (int col = 0; col < 3; ++col) {
        const QRect cell = grid->visualRect(grid->model()->index(1, col));
        QCOMPARE(image.pixelColor(cell.left() + 3, cell.top() + 3), Rgb(0xB3D7F6));
        const QRect other = grid->visualRect(grid->model()->index(0, col));
        QCOMPARE(image.pixelColor(other.left() + 3, other.top() + 3), Rgb(0xFFFFFF));
        // No striping: row 2 looks like row 0.
        const QRect third = grid->visualRect(grid->model()->index(2, col));
        QCOMPARE(image.pixelColor(third.left() + 3, third.top() + 3), Rgb(0xFFFFFF));
    }
    // Selected text is navy.
    const QRect selected = grid->visualRect(grid->model()->index(1, 1));
    bool navy = false;
    for (int x = selected.left(); x < selected.right() && !navy; ++x)
        for (int y = selected.top(); y < selected.bottom() && !navy; ++y)
            navy = image.pixelColor(x, y) == Rgb(0x1A3A5F);
    QVERIFY(navy);
}

void TestPOSUITheme::titleRowStaysWhateverIsSelected()
{
    auto grid = MakeGrid();
    TPOSUITheme::InstallGridCellDrawing(grid.get(), {2});
    grid->show();
    grid->selectRow(0);
    QHeaderView* titles = grid->horizontalHeader();
    QCOMPARE(titles->height(), 34);
    QCOMPARE(titles->sectionSize(1), 120);
    const QImage image = titles->grab().toImage();
    for (int col = 0; col < 3; ++col)
        QCOMPARE(image.pixelColor(titles->sectionViewportPosition(col) + 3, 3), Rgb(0xECF1F5));
}

void TestPOSUITheme::alignmentFollowsTheColumnList()
{
    auto grid = MakeGrid();
    TPOSUITheme::InstallGridCellDrawing(grid.get(), {2});
    grid->show();
    const QImage image = grid->viewport()->grab().toImage();
    const QColor white = Rgb(0xFFFFFF);
    // Column 1 holds a number but is not in the list: left-aligned at the 8 pixel inset.
    const QRect left = grid->visualRect(grid->model()->index(0, 1));
    const QList<int> leftInk =
        InkColumns(image, left.left(), left.right(), left.top() + 2, left.bottom() - 2, white);
    QVERIFY(!leftInk.isEmpty());
    QVERIFY2(leftInk.first() >= left.left() + 8 && leftInk.first() <= left.left() + 11,
             qPrintable(QString::number(leftInk.first() - left.left())));
    // Column 2 is right-aligned: the ink ends at the inset from the right edge.
    const QRect right = grid->visualRect(grid->model()->index(0, 2));
    const QList<int> rightInk = InkColumns(image, right.left(), right.right() + 1, right.top() + 2,
                                           right.bottom() - 2, white);
    QVERIFY(!rightInk.isEmpty());
    const int gap = right.right() - rightInk.last();
    QVERIFY2(gap >= 8 && gap <= 11, qPrintable(QString::number(gap)));
    QVERIFY(rightInk.first() > right.center().x());
}

void TestPOSUITheme::longTextIsCutAtTheInset()
{
    auto grid = MakeGrid();
    TPOSUITheme::InstallGridCellDrawing(grid.get(), {2});
    grid->show();
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(2, 0));
    const QList<int> ink = InkColumns(image, cell.left(), cell.right() + 1, cell.top() + 2,
                                      cell.bottom() - 2, Rgb(0xFFFFFF));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.last() <= cell.right() - 8,
             qPrintable(QString::number(cell.right() - ink.last())));
    // The text runs right up to the inset: cut, not shortened with an ellipsis.
    QVERIFY(ink.last() >= cell.right() - 10);
}

void TestPOSUITheme::customCellDrawerGetsEveryCell()
{
    auto grid = MakeGrid();
    QSet<QPair<int, int>> drawn;
    int titles = 0;
    TPOSUITheme::InstallGridCellDrawer(
        grid.get(), [&](QPainter*, int col, int row, const QRect&, TGridCellState state) {
            if (state.Fixed) {
                QCOMPARE(row, -1);
                ++titles;
            } else {
                drawn.insert({col, row});
            }
        });
    grid->show();
    grid->viewport()->grab();
    grid->horizontalHeader()->grab();
    QCOMPARE(drawn.size(), 9);
    QVERIFY(titles >= 3);
}

void TestPOSUITheme::glyphsFromSegoeCharacters()
{
    QCOMPARE(Glyphs::FromMdl2(0xE77B), TGlyph::User);
    QCOMPARE(Glyphs::FromMdl2(0xE72E), TGlyph::Lock);
    QCOMPARE(Glyphs::FromMdl2(0xE7E8), TGlyph::Power);
    QCOMPARE(Glyphs::FromMdl2(0xE73E), TGlyph::CheckMark);
    QCOMPARE(Glyphs::FromMdl2(0xE70F), TGlyph::Edit);
    QCOMPARE(Glyphs::FromMdl2(0xE8EC), TGlyph::Tag);
    QCOMPARE(Glyphs::FromMdl2(0xE74D), TGlyph::Delete);
    QCOMPARE(Glyphs::FromMdl2(0xE7BF), TGlyph::Cart);
    QCOMPARE(Glyphs::FromMdl2(0x0041), TGlyph::None);
}

void TestPOSUITheme::everyGlyphDrawsSomething()
{
    for (int kind = int(TGlyph::None); kind <= int(TGlyph::ChevronDown); ++kind) {
        QImage image(24, 24, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Glyphs::Paint(painter, QRectF(0, 0, 24, 24), TGlyph(kind), Qt::black, 2);
        painter.end();
        int ink = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                ink += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
        if (TGlyph(kind) == TGlyph::None)
            QCOMPARE(ink, 0);
        else
            QVERIFY2(ink > 20, qPrintable(QString::number(kind)));
    }
}

QTEST_MAIN(TestPOSUITheme)
#include "tst_POSUITheme.moc"
