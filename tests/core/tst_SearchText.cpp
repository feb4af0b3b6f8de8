#include "core/SearchText.h"

#include <QtTest>

// The product search's Turkish folding and its LIKE matching, which must agree with SQLite's
// LIKE over folded texts and with SQL Server's Turkish case-insensitive collation.
class TestSearchText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fold_data();
    void fold();
    void likeMatching_data();
    void likeMatching();
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

void TestSearchText::likeMatching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("inside") << "%süt%"
                            << "yayla süt 1 l" << true;
    QTest::newRow("absent") << "%süt%"
                            << "sut tozu" << false;
    QTest::newRow("underscore one letter") << "%s_t%"
                                           << "süt" << true;
    QTest::newRow("underscore not none") << "%s_t%"
                                         << "st" << false;
    QTest::newRow("percent inside") << "%yay%süt%"
                                    << "yayla süt" << true;
    QTest::newRow("percent order") << "%süt%yay%"
                                   << "yayla süt" << false;
    QTest::newRow("back-tracking") << "%aab%"
                                   << "aaab" << true;
    QTest::newRow("only wildcards") << "%%%"
                                    << "" << true;
    QTest::newRow("underscore needs a letter") << "%_%"
                                               << "" << false;
    QTest::newRow("bracket is plain") << "%[a]%"
                                      << "kutu [a] büyük" << true;
    QTest::newRow("bracket is no class") << "%[a]%"
                                         << "a" << false;
    QTest::newRow("quote is plain") << "%o'n%"
                                    << "o'neil" << true;
    QTest::newRow("surrogate pair is one letter") << "%a_b%" << QString("a\U0001F600b") << true;
    QTest::newRow("anchored start") << "ab%"
                                    << "cab" << false;
    QTest::newRow("anchored end") << "%ab"
                                  << "abc" << false;
}

void TestSearchText::likeMatching()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(TLikePattern(pattern).Matches(text), matches);
}

QTEST_GUILESS_MAIN(TestSearchText)
#include "tst_SearchText.moc"
