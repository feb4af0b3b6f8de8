#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

class QSqlDatabase;

// The search key of an embedded file: the tables SQL Server has under the same names
// (OwnedSchema::SearchKeyStatements), kept by SQLite triggers so that any SQLite client may
// still write the file, and nothing is ever rebuilt:
// - StokParca: every three-character piece of a product's name, barcode and stock code, folded
//   as the key folds (SearchText::KeyFold), with the first 16 bytes of the name (Kova), so that
//   the products holding a piece are read in the order of their names; a text shorter than
//   three characters is one piece;
// - StokParcaAdet: how many products hold each piece (the rarest pieces of a term are looked
//   up; a term of one or two letters looks for the pieces that hold it);
// - SatisFisNo: the receipts whose number is not "FIS-" and their id;
// - AramaDurum: per keyed table, how far the fill has come, NULL when every row is keyed: the
//   name and id of the last product it keyed (DoluAd, DoluID; it goes in the order of the names,
//   so that each step adds to the end of every piece's products), the highest receipt id. The
//   triggers key the rows up to the mark; the rows after it are the fill's, and the searches
//   read them directly until then.
//
// A file made before the key gets it when it opens, empty: its rows are keyed by the fill, a
// step at a time, away from the window's thread (TSearchKeyFiller), while the searches stay
// exact. The objects of the earlier product index are dropped there too.
namespace SqliteSearchKey {
// The tables of the key, every one derived from Stok and SatisFis.
QStringList Tables();

// On the program's connection, when a file opens: creates what is missing of the key (at once
// on a new file, without its rows on an older one) and drops the earlier index's triggers.
// True when the fill has work left.
bool Prepare();

// Runs one step of the fill on `db` (a few thousand rows in one transaction); false when
// nothing is left to do.
bool FillStep(QSqlDatabase& db);
// The whole fill on the program's connection (the seed tool, tests).
void FillNow();
// Hands the rows of Stok and SatisFis to the fill from the next insert on: the triggers leave
// them alone (the seed tool writes the rows first and fills the key in one pass).
void LeaveToFill();
} // namespace SqliteSearchKey

// The fill of a file's search key on a connection of its own, on a thread of its own, so that a
// large file never holds the login or the window. Stops after the step under way when asked to
// or when destroyed.
class TSearchKeyFiller final : public QThread {
public:
    explicit TSearchKeyFiller(QString file);
    ~TSearchKeyFiller() override;

    void Stop() { FStop = true; }
    // The error that ended the fill early, after the thread has finished; empty when none did.
    QString Failure() const { return FFailure; }

protected:
    void run() override;

private:
    QString FFile;
    std::atomic<bool> FStop{false};
    QString FFailure;
};
