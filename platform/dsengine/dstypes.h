#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/variant.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

// A record buffer: one value per packet column. Unassigned (std::monostate) is "unchanged" when
// writing and "never set" when reading an inserted row; TNull is the null value.
using TDSRecord = std::vector<TVariant>;

// An opaque row mark; 0 marks no row.
using TDSBookmark = std::int64_t;

using TDSFilterHandle = int;

// Reconcile actions as the engine takes them: the table's action plus one.
namespace dsreconcile {
constexpr int kSkip = 1;     // keep the change in the log and go on
constexpr int kAbort = 2;    // keep it, and every change not yet reconciled, and stop
constexpr int kMerge = 3;    // keep the change with the server's current values as its original values
constexpr int kCorrect = 4;  // keep the change with the new values the callback wrote into the info
constexpr int kCancel = 5;   // undo the change
constexpr int kRefresh = 6;  // undo the change and take the server's current values
}  // namespace dsreconcile

// One failed change as the reconcile callback sees it.
struct TDSReconcileInfo {
    TUpdateStatus UpdateKind = TUpdateStatus::Modified;  // Modified, Inserted or Deleted
    int ErrorRecordNo = 0;
    int Response = 0;  // the provider's response plus one
    std::string Message;
    std::string Context;
    int Category = 0;
    int ErrorCode = 0;
    TDSRecord OldValues;      // before the change (unassigned for an insertion)
    TDSRecord NewValues;      // the change; unassigned where a modification left a field alone
    TDSRecord CurrentValues;  // the server's values where the provider read them, else unassigned
};

// Called once per failed change; answers one of the dsreconcile actions.
using TDSReconcileCallback = std::function<int(TDSReconcileInfo& info)>;

}  // namespace contado
