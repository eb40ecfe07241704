#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dsengine/datapacket.h"
#include "platform/dsengine/dstypes.h"
#include "platform/dsengine/idscursor.h"
#include "platform/dsengine/idswriter.h"

namespace contado {

// An engine table: rows built from data packets, and the log of their changes.
// Every call answers a status (dsstatus), 0 for success.
class IDSBase {
  public:
    virtual ~IDSBase() = default;

    // The first packet, with its columns, creates the table; later ones append rows.
    // allRowsArrived tells that the provider has sent its last row.
    virtual int AppendData(const TDataPacket& packet, bool allRowsArrived) = 0;
    virtual bool AllRowsArrived() const = 0;
    virtual const std::vector<TPacketColumn>& Columns() const = 0;
    // A dataset-level attribute of the first packet; unassigned when it has none of that name.
    virtual TVariant Attribute(const std::string& name) const = 0;

    virtual int CreateCursor(std::unique_ptr<IDSCursor>& cursor) = 0;
    virtual int CreateWriter(std::unique_ptr<IDSWriter>& writer) = 0;

    virtual int GetChangeCount(int& count) = 0;
    // Merges every pending change into the rows; the log becomes empty.
    virtual int AcceptChanges() = 0;
    // Undoes every pending change.
    virtual int CancelChanges() = 0;
    // Reconciles the log with the provider's error packet for the last change packet: the callback is
    // called once per failed change and its action is carried out. Changes without an error record
    // are merged when changesStored tells that the provider kept its work, except those after a
    // change the provider aborted on, which it never sent; otherwise they stay in the log.
    // An abort answered by the callback keeps every failed change not yet reconciled.
    virtual int Reconcile(const TDataPacket& errorPacket, bool changesStored,
                          const TDSReconcileCallback& callback) = 0;

    virtual std::string ErrorText(int status) const = 0;
};

// A new, empty engine table.
std::unique_ptr<IDSBase> CreateDSBase();

}  // namespace contado
