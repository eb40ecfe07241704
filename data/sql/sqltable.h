#pragma once

#include <string>

#include "data/sql/customsqldataset.h"

namespace contado {

// Every row of one table, selected by its name as the driver quotes it.
class TSQLTable : public TCustomSQLDataSet {
  public:
    explicit TSQLTable(TComponent* owner = nullptr);

    const std::string& TableName() const { return CommandText(); }
    // Also makes the command a table command with the name as its text.
    void SetTableName(const std::string& name);
    // Field names separated by ";": the order of the rows.
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string& names);

  protected:
    std::string StatementText() override;

  private:
    std::string indexFieldNames_;
};

}  // namespace contado
