#pragma once

// A write transaction on the program's connection that rolls back unless committed.
class TDbTransaction {
public:
    TDbTransaction();
    ~TDbTransaction();
    TDbTransaction(const TDbTransaction&) = delete;
    TDbTransaction& operator=(const TDbTransaction&) = delete;

    void Commit();

private:
    bool FOpen = false;
};
