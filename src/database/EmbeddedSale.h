#pragma once

class TRoutineCall;

// sp_CreateSale for the embedded engine: writes a paid sale in one transaction with the same
// statements, in the same order, as the SQL Server procedure in database/kirvelo_sqlserver.sql
// writes it: the receipt header (its number "FIS-" + its id), the lines in document order, for
// each line the lots it takes and its branch stock movement, then the payments. Figures are
// stored as the server's decimal columns keep them: money to the kuruş, line amounts and prices
// to four places, rates to two, quantities to three.
//
// In: @SubeID, @KullaniciID, @TerminalID, @VardiyaID, @GeciciFisNo (the header's number until
// its id is known), @AraToplam, @ToplamKDV, @Indirim, @GenelToplam, @OdemeTipi, @MusteriID
// (NULL for none) and @SatisXML (the lines and payments, see sales/SaleDocument).
// Out: @Success, @Message, @FisID.
//
// Refused (@Success false, @Message the reason, nothing written): a document that is not XML
// or holds no line, a shift that is not open, a blocking product with expired stock in its lots,
// lots that cannot cover a line. A database error is raised after the rollback.
namespace EmbeddedSale {
void CreateSale(TRoutineCall& call);
} // namespace EmbeddedSale
