#pragma once

#include "core/ProductIndex.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <vector>

class TLikePattern;

// The embedded engine's product search index, so that a keystroke in the product search costs
// the same with a hundred products or a million.
//
// What it keeps, beside the catalogue and rebuilt from it as a whole:
// - StokArama: every active, not deleted product in the order of (StokAdi, StokID), numbered
//   by that order (Sira), with its name, barcode and stock code folded (SearchText::Fold);
// - StokAramaFts: a full-text trigram index of those three texts whose row ids are the Sira
//   numbers, so that the products holding some three letters come in the order of their names
//   and the first 250 matches end the reading;
// - StokAramaParca: how many products hold each piece of one, two or three letters, so that a
//   term is looked up by its rarest pieces; StokAramaKisa: the first products in order holding
//   each one- or two-letter piece, for terms too short for trigrams;
// - StokAramaKuyruk: filled by triggers on Stok (plain SQL, so any SQLite client may still write
//   the file) with every product added, deleted or changed in a searched column since the last
//   build. Those products are compared in memory and merged by name with the index's matches, so
//   the results are always those of the search statement over the current catalogue.
//
// A connection ensures the objects when it opens and rebuilds the index there when the queue
// has grown past a share of the catalogue (Prepare); a build of a million products takes
// seconds, once.
class TSqliteProductIndex final : public TProductIndex {
public:
    // The prefix of every table the index keeps; they exist on SQLite only.
    static constexpr QLatin1String TablePrefix{"StokArama"};
    // How many products a one- or two-letter piece keeps in order.
    static constexpr int ListLength = 500;

    // Creates the index's tables and triggers when they are missing or of an older build (every
    // product then waits in the queue), and rebuilds when the queue is long.
    static void Prepare();
    // Builds the index from the catalogue as it stands and empties the queue.
    static void Rebuild();
    // Products waiting in the queue, counted with their repeats.
    static int QueuedChanges();

    QList<int> FindProducts(const QString& foldedFilter, int limit) override;

private:
    struct TCandidate {
        int StokID = 0;
        QByteArray Name; // StokAdi as UTF-8, in the order SQLite compares it
    };
    struct TQueued {
        int StokID = 0;
        bool Sellable = false;
        QByteArray Name;
        QString Ad;
        QString Barkod;
        QString Kod;
    };

    void RefreshQueue();
    QList<int> IndexedMatches(const QString& folded, const TLikePattern& pattern, int limit) const;
    // Reads candidate rows (Sira, StokID, Ad, Barkod, Kod) and keeps the matches; false when the
    // limit was reached. `last` is set to the Sira of the last row read.
    bool Collect(class TDbQuery& rows, const TLikePattern& pattern, int limit, QList<int>& found,
                 qint64& last) const;
    QList<TCandidate> QueuedMatches(const TLikePattern& pattern) const;
    static QList<TCandidate> Named(const QList<int>& ids);

    qint64 FGeneration = -1;
    qint64 FQueueEnd = -1;
    std::vector<TQueued> FQueued;
    QSet<int> FQueuedIDs;
};
