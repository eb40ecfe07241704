#pragma once

#include <vector>

#include "data/fields/fielddefs.h"
#include "platform/sqldriver.h"

namespace contado {

// Field definitions of a result from the driver's column descriptions: the field type of each
// driver type, sizes and precisions, the required, read-only and fixed attributes, and unique names.
class TSQLFieldDefs {
  public:
    static void Build(const std::vector<TColumnDescription>& columns, TFieldDefs& defs);
    static TFieldDef FromColumn(const TColumnDescription& column);

  private:
    static TFieldType FieldType(const TColumnDescription& column);
    static void SetDecimalSize(const TColumnDescription& column, TFieldDef& def);
    static std::string UniqueName(const std::string& name, const TFieldDefs& defs);
};

}  // namespace contado
