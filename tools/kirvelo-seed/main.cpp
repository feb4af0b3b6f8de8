// kirvelo-seed: fills a new SQLite database with a large shop for benchmarks and trials.
//
//   kirvelo-seed --products 100000 --receipts 200000 sqlite:/tmp/big.db

#include "LargeDataSeeder.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "database/SqliteEngine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {
int PositiveOption(const QCommandLineParser& parser, const QString& name, int fallback, bool& ok)
{
    if (!parser.isSet(name))
        return fallback;
    bool valid = false;
    const int value = parser.value(name).toInt(&valid);
    ok = ok && valid && value >= 0;
    return value;
}

void Print(const QString& text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kirvelo-seed"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Yeni bir SQLite veritabanını büyük bir mağaza verisiyle doldurur: ürün kataloğu, şube "
        "stokları ve geçmiş bir yılın kapalı vardiyaları.\nGirişler: yonetici / 123456, "
        "kasiyer1 ... kasiyer6 / 1234."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("products"), QStringLiteral("Ürün sayısı (10000)."), QStringLiteral("n")});
    parser.addOption({QStringLiteral("receipts"),
                      QStringLiteral("Fiş sayısı, iadeler dahil (20000)."), QStringLiteral("n")});
    parser.addOption({QStringLiteral("days"),
                      QStringLiteral("Vardiyaların yayıldığı gün sayısı (365)."),
                      QStringLiteral("n")});
    parser.addOption(
        {QStringLiteral("seed"), QStringLiteral("Rastgele sayı tohumu."), QStringLiteral("n")});
    parser.addPositionalArgument(QStringLiteral("veritabani"),
                                 QStringLiteral("sqlite:DOSYA ya da DOSYA"));
    parser.process(app);

    TSeedOptions options;
    bool ok = parser.positionalArguments().size() == 1;
    options.Products = PositiveOption(parser, QStringLiteral("products"), options.Products, ok);
    options.Receipts = PositiveOption(parser, QStringLiteral("receipts"), options.Receipts, ok);
    options.Days = PositiveOption(parser, QStringLiteral("days"), options.Days, ok);
    options.Seed =
        std::uint32_t(PositiveOption(parser, QStringLiteral("seed"), int(options.Seed), ok));
    if (!ok || options.Products < 1 || options.Days < 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    QString path = parser.positionalArguments().first();
    if (path.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        path = path.mid(7);

    try {
        QElapsedTimer clock;
        clock.start();
        TSqliteEngine::Register();
        TdmMain db;
        db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
        db.Connect();
        const TSeedResult r = LargeDataSeeder::Fill(options);
        Print(QStringLiteral("%1: %2 ürün, %3 vardiya, %4 fiş (%5 iade), %6 satır, %7 ödeme, %8 "
                             "lot satırı; %9 s")
                  .arg(QFileInfo(path).absoluteFilePath())
                  .arg(r.Products)
                  .arg(r.Shifts)
                  .arg(r.Receipts)
                  .arg(r.Refunds)
                  .arg(r.Lines)
                  .arg(r.Payments)
                  .arg(r.LotRows)
                  .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1));
    } catch (const std::exception& e) {
        std::fputs(qPrintable(ErrorMessage(e) + u'\n'), stderr);
        return 1;
    }
    return 0;
}
