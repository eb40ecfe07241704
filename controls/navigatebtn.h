#pragma once

#include "core/enumset.h"

namespace contado {

// The buttons of a record navigator bar, in the order the bar creates and places them.
enum TNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh
};
constexpr int kNavigateBtnCount = nbRefresh + 1;

using TNavButtonSet = TEnumSet<TNavigateBtn>;

}  // namespace contado
