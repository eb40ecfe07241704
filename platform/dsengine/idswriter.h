#pragma once

#include "platform/dsengine/datapacket.h"

namespace contado {

// Writes packets out of an engine table. Every call answers a status (dsstatus), 0 for success.
class IDSWriter {
  public:
    virtual ~IDSWriter() = default;

    // The change packet: the table's columns and attributes, then one record per change in the order
    // the changes were first made: a modification as its before-image (Unmodified) directly followed
    // by its modified image (unassigned where unchanged); an insertion with its values; a deletion
    // with the values before any change.
    virtual int GetDelta(TDataPacket& delta) = 0;
    // An empty error packet for a change packet: the six error columns, then the change packet's own.
    virtual int CreateErrorPacket(const TDataPacket& delta, TDataPacket& errors) = 0;
};

}  // namespace contado
