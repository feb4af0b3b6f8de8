#pragma once

#include <QString>

#include <cstdint>

// Fills a new, empty database (the program's connection, dmMain) with a large realistic shop: a
// firm with four branches (one passive), terminals and cashiers, a catalogue of products with
// weighed goods, case barcodes and lot-tracked goods, branch stock, customers, and a year of
// closed shifts full of receipts (cash, card and split payments, refunds, lots taken). The
// result is consistent: every branch has a stock row for every product, Stok.MevcutStok is the
// sum over branches, payments add up to their receipts and refunds never exceed their sale.
struct TSeedOptions {
    int Products = 10000;
    int Receipts = 20000; // refunds included
    int Days = 365;       // the shifts lie in the days before today
    std::uint32_t Seed = 20240601;
};

struct TSeedResult {
    int Products = 0;
    int Shifts = 0;
    int Receipts = 0;
    int Refunds = 0;
    int Lines = 0;
    int Payments = 0;
    int LotRows = 0;
};

namespace LargeDataSeeder {
// Raises EDatabaseError when the database already holds data or a statement fails.
TSeedResult Fill(const TSeedOptions& options);
} // namespace LargeDataSeeder
