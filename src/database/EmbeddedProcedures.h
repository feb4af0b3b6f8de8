#pragma once

#include <QList>
#include <QString>

class TRoutineCall;

// The two server routines for the embedded engine. They read their in-parameters from the call
// and set its out-parameters, run in one transaction and behave like the SQL Server procedures
// of database/kirvelo_sqlserver.sql: a refusal sets @Success false with a Turkish @Message and
// writes nothing; a database error is raised.
namespace EmbeddedProcedures {
// sp_CloseVardiya: @VardiyaID, @KapanisTutar, @KapatanKullaniciID in; @Success, @Message,
// @SistemTutar, @Fark, @ToplamSatis, @NakitSatis, @KartSatis, @NakitAdet, @KartAdet,
// @IadeToplam, @IadeAdet, @AcilisTutarOut, @KapanisZamaniOut out.
void CloseVardiya(TRoutineCall& call);
// sp_ProcessRefund: @OriginalFisID, @KullaniciID, @VardiyaID, @RefundItemsXML in; @Success,
// @Message out.
void ProcessRefund(TRoutineCall& call);

// One <Item StokID="..." Miktar="..."/> of the refund document.
struct TRefundItem {
    QString StokText;      // the StokID attribute as written
    int StokID = 0;        // 0 when that is not a whole number
    double Miktar = 0;     // rounded to thousandths, as the server's DECIMAL(18,3) keeps it
    bool MiktarOk = false; // false when the Miktar attribute is not a plain decimal number
};
// True when `stored` is the status word `word` as SQL Server's default collation compares them:
// letter case and trailing blanks do not count ('acik ' is 'ACIK'), leading ones do.
bool SameStatusWord(const QString& stored, const QString& word);

// Reads the /Items/Item elements of the refund document; false when the text is not well-formed
// XML. An empty text is a document without items.
bool ParseRefundItems(const QString& xml, QList<TRefundItem>& items);
} // namespace EmbeddedProcedures
