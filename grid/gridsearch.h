#pragma once

#include "core/enumset.h"

namespace contado {

// How the grid's cell-text search compares and walks the cells.
enum TGridSearchOption {
    gsoCaseInsensitive,  // both sides folded before comparing
    gsoAllColumns,       // walk every visible column, not only the start column
    gsoDisplayText,      // compare the text the grid shows, not the field's value as text
    gsoStopOnEscape,     // an Esc press waiting for the grid's window ends the search
};
using TGridSearchOptions = TEnumSet<TGridSearchOption>;

enum TGridSearchDirection { gsdUp, gsdDown, gsdAll };

enum TGridSearchMatching { gsmAnyPart, gsmWholeField, gsmFromBeginning };

}  // namespace contado
