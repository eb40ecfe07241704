#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/variant.h"

namespace contado {

// Dataset states in their numeric order.
enum TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening
};

// Data events in their numeric order; each carries one integer of information.
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,
    deParentScroll,
    deConnectChange,
    deReconcileError,
    deDisabledStateChange
};

// What a dataset does when an edit, post or delete fails.
enum TDataAction { daFail, daAbort, daRetry };

// How the rows are re-read around the cursor: keeping the active row's place in the window, or
// putting it in the middle.
enum TResyncMode { rmKeepPosition, rmCenter };

// Where a record buffer stands: on a row, before the first, after the last, or a new record.
enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

// Directions in which a concrete dataset reads a record into a buffer.
enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };

// A dataset's opaque mark of a row; empty when there is none.
using TBookmark = std::vector<std::uint8_t>;

// One row as a dataset keeps it in its window: a value per column of the field definitions,
// followed by the values of the calculated fields.
struct TRecordBuffer {
    std::vector<TVariant> Values;
    TBookmark Bookmark;
    TBookmarkFlag BookmarkFlag = bfCurrent;
};

inline bool IsEditingState(TDataSetState state) {
    return state == dsEdit || state == dsInsert || state == dsSetKey;
}

inline bool IsActiveState(TDataSetState state) {
    return state != dsInactive && state != dsOpening;
}

}  // namespace contado
