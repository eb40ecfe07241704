#pragma once

#include "data/provider/providertypes.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

class IProviderSupport;
class TDataSet;
class TField;

// Writes the fields and rows of a dataset into a data packet.
class TDataPacketWriter {
  public:
    TDataPacketWriter(TDataSet& dataSet, TDataPacket& packet) : dataSet_(dataSet), packet_(packet) {}

    // Column descriptions with their attributes, and the dataset-level attributes.
    void WriteMetadata(TProviderOptions options, IProviderSupport& source);
    // The values of the dataset's current row into the packet's row at index, reusing the storage of
    // a row already there, else as a new last row.
    void WriteRowAt(std::size_t index);

  private:
    static TPacketColumn ColumnOf(const TField& field);
    static void AddWidthAttributes(const TField& field, TPacketColumn& column);
    static const char* SubtypeOf(const TField& field);
    void WriteDataSetAttributes(TProviderOptions options, IProviderSupport& source);

    TDataSet& dataSet_;
    TDataPacket& packet_;
};

}  // namespace contado
