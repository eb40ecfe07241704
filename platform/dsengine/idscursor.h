#pragma once

#include "platform/dsengine/dsexpression.h"
#include "platform/dsengine/dstypes.h"

namespace contado {

// A position among the visible rows of an engine table: the rows that exist (not deleted) and pass
// every filter of this cursor. Every call answers a status (dsstatus), 0 for success.
class IDSCursor {
  public:
    virtual ~IDSCursor() = default;

    // Before the first and after the last visible row.
    virtual int MoveToBOF() = 0;
    virtual int MoveToEOF() = 0;
    // Moves by rows; kBeginningOfRows / kEndOfRows when that passes the first or the last row,
    // leaving the cursor before the first or after the last.
    virtual int MoveRelative(int distance) = 0;
    virtual int GetCurrentRecord(TDSRecord& record) = 0;

    virtual int GetRecordCount(int& count) = 0;
    // The current row's position among the visible rows, from 1.
    virtual int GetSequenceNumber(int& sequence) = 0;
    virtual int MoveToSeqNo(int sequence) = 0;

    virtual int GetCurrentBookmark(TDSBookmark& bookmark) = 0;
    virtual int MoveToBookmark(TDSBookmark bookmark) = 0;
    // Negative, zero or positive by the rows' order; a missing (0) or vanished bookmark sorts last.
    virtual int CompareBookmarks(TDSBookmark a, TDSBookmark b, int& order) = 0;

    // A record buffer for a new row, every value unassigned.
    virtual int InitRecord(TDSRecord& record) = 0;
    virtual int GetField(const TDSRecord& record, int column, TVariant& value) = 0;
    virtual int PutField(TDSRecord& record, int column, const TVariant& value) = 0;

    // Inserts before the current row, or after the last row when the cursor is past it;
    // the new row becomes current when it passes the filters.
    virtual int InsertRecord(const TDSRecord& record) = 0;
    // Writes the record's assigned values into the current row.
    virtual int ModifyRecord(const TDSRecord& record) = 0;
    // Deletes the current row; the cursor stays at its place, on the row that followed.
    virtual int DeleteRecord() = 0;
    // Undoes the pending change of the current row.
    virtual int RevertRecord() = 0;

    virtual int AddFilter(const TDSExpression& expression, TDSFilterHandle& handle) = 0;
    virtual int DropFilter(TDSFilterHandle handle) = 0;
    // Makes the first visible row for which the expression holds current; kRecordNotFound and the
    // position kept when there is none.
    virtual int LocateWithFilter(const TDSExpression& expression) = 0;
};

}  // namespace contado
