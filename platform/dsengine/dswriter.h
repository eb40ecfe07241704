#pragma once

#include "platform/dsengine/idswriter.h"

namespace contado {

class TDSBase;

// Writes the change, data and error packets of an engine table.
class TDSWriter : public IDSWriter {
  public:
    explicit TDSWriter(const TDSBase& base) : base_(base) {}

    int GetDelta(TDataPacket& delta) override;
    int CreateErrorPacket(const TDataPacket& delta, TDataPacket& errors) override;

  private:
    void WriteHeader(TDataPacket& packet) const;
    void WriteChange(int row, TDataPacket& delta) const;
    TPacketRow Row(TUpdateStatus status, std::vector<TVariant> values) const;

    const TDSBase& base_;
};

}  // namespace contado
