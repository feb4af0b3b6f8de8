#include "core/TextColumns.h"

#include <QtTest>

using TColumns = QList<TTextColumn>;
Q_DECLARE_METATYPE(TColumns)

namespace {
QString Left(const QString& text, int width)
{
    return text.leftJustified(width, u' ');
}

QString Right(const QString& text, int width)
{
    return text.rightJustified(width, u' ');
}

QString Digits(int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits += QChar(u'0' + i % 10);
    return digits;
}
} // namespace

// Fixed columns of receipts and reports: texts fit as designed, may be cut, while an amount is
// never cut and takes the blanks beside it or a line of its own.
class TestTextColumns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout_data();
    void layout();
    void everyLineKeepsTheWidth();
    void wrap_data();
    void wrap();
};

void TestTextColumns::layout_data()
{
    QTest::addColumn<TColumns>("columns");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("lines");

    const auto label = [](const QString& text) {
        return TTextColumn::Labelled(text, 34);
    };
    const auto amount = [](const QString& text) {
        return TTextColumn::Amount(text, 14);
    };

    QTest::newRow("fits as designed")
        << TColumns{label("ARA TOPLAM"), amount("18,18 TL")} << QString()
        << QStringList{Left("ARA TOPLAM", 34) + Right("18,18 TL", 14)};
    QTest::newRow("filling both columns exactly")
        << TColumns{label(Digits(34)), amount("123.456,78 TL.")} << QString()
        << QStringList{Digits(34) + "123.456,78 TL."};
    QTest::newRow("amount takes the label's blanks, one kept")
        << TColumns{label("ARA TOPLAM"), amount("1.237.136,14 TL")} << QString()
        << QStringList{Left("ARA TOPLAM", 33) + "1.237.136,14 TL"};
    QTest::newRow("amount up to the blanks kept on both sides")
        << TColumns{label("KDV"), amount(Digits(43))} << QString()
        << QStringList{"KDV  " + Digits(43)};
    QTest::newRow("one more and it takes the next line")
        << TColumns{label("KDV"), amount(Digits(44))} << QString()
        << QStringList{Left("KDV", 48), Right(Digits(44), 48)};
    QTest::newRow("label takes the amount's blanks")
        << TColumns{label(Digits(36)), amount("1,00 TL")} << QString()
        << QStringList{Digits(36) + Right("1,00 TL", 12)};
    QTest::newRow("amount takes the next line")
        << TColumns{label(Digits(30)), amount(Digits(20))} << QString()
        << QStringList{Left(Digits(30), 48), Right(Digits(20), 48)};
    QTest::newRow("both too long: a line each")
        << TColumns{label(Digits(40)), amount(Digits(20))} << QString()
        << QStringList{Left(Digits(40), 48), Right(Digits(20), 48)};
    QTest::newRow("longer than the line: in pieces")
        << TColumns{TTextColumn::Plain("X", 10), TTextColumn::Amount(Digits(60), 38)} << QString()
        << QStringList{Left("X", 48), Digits(48), Right(Digits(60).mid(48), 48)};
    QTest::newRow("a text is cut, never moved")
        << TColumns{TTextColumn::Plain("ÇOK UZUN ŞUBE ADI", 10), TTextColumn::Amount("5,00 TL", 8)}
        << QString() << QStringList{"ÇOK UZUN Ş" + Right("5,00 TL", 8)};
    QTest::newRow("a right-aligned text keeps its end")
        << TColumns{{"FIS-2025030512345", 12, true, false}, TTextColumn::Amount("5,00 TL", 8)}
        << QString() << QStringList{"025030512345" + Right("5,00 TL", 8)};
    QTest::newRow("amount borrows on its left, nearest first")
        << TColumns{TTextColumn::Plain("FIS-1", 6), TTextColumn::Amount("1,00 TL", 8),
                    TTextColumn::Amount("12.345,00 TL", 10)}
        << QString(" ") << QStringList{"FIS-1 1,00 TL 12.345,00 TL"};
    QTest::newRow("then on its right")
        << TColumns{TTextColumn::Amount("1.234.567,00 TL", 8), TTextColumn::Amount("1,00 TL", 16)}
        << QString(" ") << QStringList{"1.234.567,00 TL " + Right("1,00 TL", 9)};
    QTest::newRow("a labelled figure grows to its right, else takes a line below")
        << TColumns{TTextColumn::Labelled("Nakit Satış : 1.234.567.890,00 TL", 20),
                    TTextColumn::Labelled("Kart : 5,00 TL", 20)}
        << QString()
        << QStringList{Left("", 20) + Left("Kart : 5,00 TL", 20),
                       Left("Nakit Satış : 1.234.567.890,00 TL", 40)};
    QTest::newRow("labelled figures never touch")
        << TColumns{TTextColumn::Labelled("Satış : " + Digits(31), 38),
                    TTextColumn::Labelled("İade : " + Digits(20), 38),
                    TTextColumn::Labelled("Net : 1,00 TL", 38)}
        << QString()
        << QStringList{Left("Satış : " + Digits(31), 40) + Left("İade : " + Digits(20), 36) +
                       Left("Net : 1,00 TL", 38)};
    QTest::newRow("amounts that move keep their columns below")
        << TColumns{TTextColumn::Plain("05.03.2025", 10), TTextColumn::Amount(Digits(12), 8),
                    TTextColumn::Amount("0,00", 6), TTextColumn::Amount(Digits(11), 8)}
        << QString(" ")
        << QStringList{Left("05.03.2025", 20) + Right("0,00", 6) + Left("", 9),
                       Right(Digits(12), 19) + Left("", 5) + Digits(11)};
}

void TestTextColumns::layout()
{
    QFETCH(TColumns, columns);
    QFETCH(QString, separator);
    QFETCH(QStringList, lines);
    QCOMPARE(TextColumns::Layout(columns, separator), lines);
}

// Whatever the texts, every line is as wide as the columns and separators, and an amount's
// digits are all there, in order.
void TestTextColumns::everyLineKeepsTheWidth()
{
    for (int length = 0; length <= 120; length += 7) {
        const QString amount = Digits(length);
        const TColumns columns{TTextColumn::Plain("FIS-12", 12), TTextColumn::Amount(amount, 15),
                               TTextColumn::Plain("NAKİT", 8), TTextColumn::Amount(amount, 13)};
        const QStringList lines = TextColumns::Layout(columns, " ");
        for (const QString& line : lines)
            QCOMPARE(line.size(), 12 + 15 + 8 + 13 + 3);
        const QString joined = lines.join(u'|');
        QCOMPARE(joined.count(u'F'), 1);
        if (length > 0 && length <= 51)
            QVERIFY2(joined.count(amount) == 2, qPrintable(lines.join('\n')));
    }
}

void TestTextColumns::wrap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("short") << "KIRVELO GIDA A.Ş." << 48 << QStringList{"KIRVELO GIDA A.Ş."};
    QTest::newRow("broken between words")
        << "Bağdat Caddesi No: 12 Kadıköy İstanbul" << 16
        << QStringList{"Bağdat Caddesi", "No: 12 Kadıköy", "İstanbul"};
    QTest::newRow("exactly the width") << "ABCD EFGH" << 4 << QStringList{"ABCD", "EFGH"};
    QTest::newRow("blanks and line breaks are one blank")
        << "  Moda Cad.\r\n  No: 5\t Kadıköy  " << 48 << QStringList{"Moda Cad. No: 5 Kadıköy"};
    QTest::newRow("a long word broken inside")
        << "ÇOK " + Digits(10) + " UZUN" << 4 << QStringList{"ÇOK", "0123", "4567", "89", "UZUN"};
    QTest::newRow("blank") << "   " << 48 << QStringList{};
    QTest::newRow("no width") << "ABC" << 0 << QStringList{};
}

void TestTextColumns::wrap()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    QCOMPARE(TextColumns::Wrap(text, width), lines);
}

QTEST_GUILESS_MAIN(TestTextColumns)
#include "tst_TextColumns.moc"
