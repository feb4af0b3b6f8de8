#pragma once

// The invoice document of a sale made for a named customer: a 'FATURA' header in BelgeBaslik
// with a copy of the sale's lines in BelgeSatir, linked to the customer's CariKart account.
// Customers of the older Musteri table are carried over into CariKart as "MUS-" + id.
class TInvoiceDocument {
public:
    // Makes the document of sale FisID once; a sale without customer, or whose customer is
    // found nowhere, gets none. Database errors pass to the caller.
    static void CreateInvoiceDocument(int FisID);

    TInvoiceDocument() = delete;
};
