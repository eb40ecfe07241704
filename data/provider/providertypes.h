#pragma once

#include <functional>

#include "core/enumset.h"

namespace contado {

struct TDataPacket;

// Takes the rows of a packet while it is being written, a part at a time: each part is the packet
// with its columns and the rows written since the previous part, which are dropped once it returns.
using TPacketPartSink = std::function<void(const TDataPacket& part)>;

enum TProviderOption {
    poFetchBlobsOnDemand,
    poFetchDetailsOnDemand,
    poIncFieldProps,
    poCascadeDeletes,
    poCascadeUpdates,
    poReadOnly,
    poAllowMultiRecordUpdates,
    poDisableInserts,
    poDisableEdits,
    poDisableDeletes,
    poNoReset,
    poAutoRefresh,
    poPropogateChanges,
    poAllowCommandText,
    poRetainServerOrder
};
using TProviderOptions = TEnumSet<TProviderOption>;

// Which fields identify the database row of a change.
enum TUpdateMode { upWhereAll, upWhereChanged, upWhereKeyOnly };

// A provider's answer to a change that failed.
enum TResolverResponse { rrSkip, rrAbort, rrMerge, rrApply, rrIgnore };

enum TUpdateKind { ukModify, ukInsert, ukDelete };

// What a client asks for with a packet request: the column descriptions, a reset of the source.
enum TGetRecordOption { grMetaData, grReset };
using TGetRecordOptions = TEnumSet<TGetRecordOption>;

}  // namespace contado
