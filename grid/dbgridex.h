#pragma once

#include "grid/customdbgridex.h"

namespace contado {

// The data grid as windows place it: everything is the custom grid's.
class TDBGridEx : public TCustomDBGridEx {
  public:
    using TCustomDBGridEx::TCustomDBGridEx;
};

}  // namespace contado
