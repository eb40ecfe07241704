#pragma once

#include <string>
#include <vector>

namespace contado {

// Turns the database's English messages into the Spanish texts the clerk reads.
class TErrorTranslator {
  public:
    // A change the database rejected while applying; tableName is the provider's source
    // without its first character (TAjuste gives Ajuste).
    static std::string ForRejectedChange(const std::string& message, const std::string& tableName);
    // An edit, post or delete error of a client table. requiredEmptyFields: the names of the
    // required fields holding no value; indexFields: the fields of the table's current index.
    static std::string ForClientError(const std::string& message,
                                      const std::vector<std::string>& requiredEmptyFields,
                                      const std::vector<std::string>& indexFields);
};

}  // namespace contado
