// Where a convolver stage finds its component tables: a bank of read-only tables, three per
// source position (FB, LR and CF surfaces). The owner of the bank hands a stage this view at
// construction; the stage keeps only pointers into the tables and never copies or writes them.
// The engine itself knows no bank, so it builds and is tested without one.
#pragma once

class IResponseTables
{
public:
    struct PositionTables
    {
        int fb;
        int lr;
        int cf;
    };

    virtual ~IResponseTables() = default;

    // Tables in the bank; valid table indices are 0 .. tableCount() - 1.
    virtual int tableCount() const = 0;
    // Source positions with tables of their own: 0 .. positionCount() - 1.
    virtual int positionCount() const = 0;
    // First sample of table k (a valid index).
    virtual const double* table(int k) const = 0;
    // Table indices of the three components of a position (0 .. positionCount() - 1).
    virtual PositionTables tablesOf(int position) const = 0;
};
