#pragma once

#include "data/sql/customsqldataset.h"

namespace contado {

// A select statement given as text, with named parameters written ":NAME".
class TSQLQuery : public TCustomSQLDataSet {
  public:
    explicit TSQLQuery(TComponent* owner = nullptr) : TCustomSQLDataSet(owner) {}
};

}  // namespace contado
