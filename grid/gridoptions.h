#pragma once

#include <cstdint>

#include "core/enumset.h"

namespace contado {

// The grid's option sets; the order of the members is their bit order.
enum TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect
};
using TDBGridOptions = TEnumSet<TDBGridOption>;

enum TDBGridExOption {
    dghFixed3D,
    dghFrozen3D,
    dghFooter3D,
    dghData3D,
    dghResizeWholeRightPart,
    dghHighlightFocus,
    dghClearSelection,
    dghFitRowHeightToText,
    dghAutoSortMarking,
    dghMultiSortMarking,
    dghEnterAsTab,
    dghTraceColSizing,
    dghIncSearch,
    dghPreferIncSearch,
    dghRowHighlight,
    dghDblClickOptimizeColWidth,
    dghDialogFind,
    dghRecordMoving,
    dghShowRecNo,
    dghColumnResize,
    dghColumnMove,
    dghAutoFitRowHeight,
    dghHotTrack,
    dghExtendVertLines
};
using TDBGridExOptions = TEnumSet<TDBGridExOption>;

enum TDBGridExIndicatorOption { gioShowRowIndicatorEx, gioShowRecNoEx, gioShowRowselCheckboxesEx };
using TDBGridExIndicatorOptions = TEnumSet<TDBGridExIndicatorOption>;

enum TDBGridExAllowedOperation { alopInsertEx, alopUpdateEx, alopDeleteEx, alopAppendEx };
using TDBGridExAllowedOperations = TEnumSet<TDBGridExAllowedOperation>;

enum TDBGridExEditAction { geaCutEx, geaCopyEx, geaPasteEx, geaDeleteEx, geaSelectAllEx };
using TDBGridExEditActions = TEnumSet<TDBGridExEditAction>;

enum TColumnButtonStyleEx {
    cbsAuto,
    cbsEllipsis,
    cbsNone,
    cbsUpDown,
    cbsDropDown,
    cbsAltUpDown,
    cbsAltDropDown
};

inline const TDBGridOptions kDefaultGridOptions{dgEditing,      dgTitles,        dgIndicator,
                                                dgColumnResize, dgColLines,      dgRowLines,
                                                dgTabs,         dgConfirmDelete, dgCancelOnExit};
inline const TDBGridExOptions kDefaultGridOptionsEx{dghFixed3D,        dghHighlightFocus, dghClearSelection,
                                                    dghDialogFind,     dghColumnResize,   dghColumnMove,
                                                    dghExtendVertLines};
inline const TDBGridExIndicatorOptions kDefaultIndicatorOptions{gioShowRowIndicatorEx};
inline const TDBGridExAllowedOperations kAllOperations{alopInsertEx, alopUpdateEx, alopDeleteEx,
                                                       alopAppendEx};

}  // namespace contado
