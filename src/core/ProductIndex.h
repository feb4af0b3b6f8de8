#pragma once

#include <QList>
#include <QString>

// An engine's own index for finding products by part of their name, barcode or stock code,
// where the plain LIKE statement would read the whole catalogue on every keystroke. An engine
// without one leaves the search to that statement.
class TProductIndex {
public:
    virtual ~TProductIndex() = default;

    // The StokIDs of the first `limit` active, not deleted products whose folded name, barcode
    // or stock code (SearchText::Fold) is matched by the LIKE pattern "%" + `foldedFilter` + "%",
    // in the order of their names (as the engine orders StokAdi) and then of their StokIDs.
    virtual QList<int> FindProducts(const QString& foldedFilter, int limit) = 0;
};
