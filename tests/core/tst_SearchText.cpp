#include "core/SearchText.h"

#include <QtTest>

// The product search's Turkish folding, which must agree with SQL Server's Turkish
// case-insensitive collation, and the pieces of a term that the search key is asked for.
class TestSearchText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fold_data();
    void fold();
    void keyFold_data();
    void keyFold();
    void keyPieces_data();
    void keyPieces();
};

void TestSearchText::fold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("dotted capital I") << "İNCİR"
                                      << "incir";
    QTest::newRow("dotless capital I") << "IRMAK"
                                       << "ırmak";
    QTest::newRow("small letters stay") << "ılık incir"
                                        << "ılık incir";
    QTest::newRow("Turkish capitals") << "ÇĞÖŞÜ"
                                      << "çğöşü";
    QTest::newRow("accents stay apart") << "SÜT Sut"
                                        << "süt sut";
    QTest::newRow("other alphabets") << "ÉCLAIR Ωmega"
                                     << "éclaır ωmega";
    QTest::newRow("wildcards and quotes") << "%_'\"[A]"
                                          << "%_'\"[a]";
    QTest::newRow("digits") << "8690504001010"
                            << "8690504001010";
}

void TestSearchText::fold()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(SearchText::Fold(text), folded);
}

void TestSearchText::keyFold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("Turkish capitals") << "IİÇĞÖŞÜ"
                                      << "ıiçğöşü";
    QTest::newRow("ASCII") << "Yayla SÜT 1 L"
                           << "yayla süt 1 l";
    QTest::newRow("Kelvin sign") << QString(QChar(0x212A)) << "k";
    // SQLite's lower() folds A to Z only: the key keeps other capitals, the search avoids them.
    QTest::newRow("other capitals stay") << "ÉΩ"
                                         << "ÉΩ";
    QTest::newRow("small letters stay") << "ılık incir é"
                                        << "ılık incir é";
}

void TestSearchText::keyFold()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(SearchText::KeyFold(text), folded);
}

void TestSearchText::keyPieces_data()
{
    QTest::addColumn<QString>("folded");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QList<int>>("starts");
    QTest::addColumn<QString>("shortRun");
    QTest::newRow("word") << "süt" << QStringList{"süt"} << QList<int>{0} << "süt";
    QTest::newRow("phrase") << "yayla süt"
                            << QStringList{"yay", "ayl", "yla", "la ", "a s", " sü", "süt"}
                            << QList<int>{0, 1, 2, 3, 4, 5, 6} << "yay";
    QTest::newRow("repeated piece once") << "aaaa" << QStringList{"aaa"} << QList<int>{0} << "aaa";
    QTest::newRow("wildcards split the runs")
        << "yay%süt_x" << QStringList{"yay", "süt"} << QList<int>{0, 4} << "yay";
    QTest::newRow("two letters") << "ça" << QStringList{} << QList<int>{} << "ça";
    QTest::newRow("longest run") << "a_bc" << QStringList{} << QList<int>{} << "bc";
    QTest::newRow("wildcards only") << "%_%" << QStringList{} << QList<int>{} << "";
    QTest::newRow("capital the key keeps")
        << "café" << QStringList{"caf"} << QList<int>{0} << "caf";
    QTest::newRow("only such letters") << "éèê" << QStringList{} << QList<int>{} << "éèê";
    QTest::newRow("quotes and brackets")
        << "o'n[a]" << QStringList{"o'n", "'n[", "n[a", "[a]"} << QList<int>{0, 1, 2, 3} << "o'n";
    QTest::newRow("dotless and dotted i")
        << "ırmak incir"
        << QStringList{"ırm", "rma", "mak", "ak ", "k i", " in", "inc", "nci", "cir"}
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << "ırm";
}

// Every piece is one the key stores for every spelling of the term's letters.
void TestSearchText::keyPieces()
{
    QFETCH(QString, folded);
    QFETCH(QStringList, pieces);
    QFETCH(QList<int>, starts);
    QFETCH(QString, shortRun);
    QStringList texts;
    QList<int> at;
    for (const TKeyPiece& piece : SearchText::KeyPieces(folded)) {
        texts << piece.Text;
        at << piece.Start;
        QCOMPARE(SearchText::KeyFold(piece.Text.toUpper()), SearchText::Fold(piece.Text.toUpper()));
    }
    QCOMPARE(texts, pieces);
    QCOMPARE(at, starts);
    QCOMPARE(SearchText::ShortRun(folded), shortRun);
}

QTEST_GUILESS_MAIN(TestSearchText)
#include "tst_SearchText.moc"
