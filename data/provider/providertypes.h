#pragma once

#include "core/enumset.h"

namespace contado {

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
