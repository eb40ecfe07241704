#include "app/run/errortranslator.h"

namespace contado {

namespace {

// Characters first..first+length-1 of the message, counted from 1; fewer when it is shorter.
std::string Piece(const std::string& message, size_t first, size_t length) {
    return first - 1 < message.size() ? message.substr(first - 1, length) : std::string();
}

// Characters 19 to 38 skip the "SQL Server Error: " prefix of every server message.
std::string ServerTextStart(const std::string& message) {
    return Piece(message, 19, 20);
}

std::string Joined(const std::vector<std::string>& names, const std::string& separator) {
    std::string text;
    for (const std::string& name : names) {
        text += name + separator;
    }
    return text;
}

}  // namespace

std::string TErrorTranslator::ForRejectedChange(const std::string& message, const std::string& tableName) {
    const std::string serverText = ServerTextStart(message);
    if (serverText == "violation of PRIMARY") {
        return "Ya existe el registro en la tabla " + tableName;
    }
    if (serverText == "violation of FOREIGN") {
        return "Está borrando o insertando un registro en la tabla " + tableName +
               " que tiene una relación con otra tabla.";
    }
    return message;
}

std::string TErrorTranslator::ForClientError(const std::string& message,
                                             const std::vector<std::string>& requiredEmptyFields,
                                             const std::vector<std::string>& indexFields) {
    std::string text = message;
    if (Piece(message, 1, 30) == "Cannot delete master record wi") {
        text = "Error. Borre antes los detalles dependientes del registro.";
    }
    const std::string start = Piece(message, 1, 3);
    if (start == "Fie") {
        text = "Los campos " + Joined(requiredEmptyFields, ", ") + " son obligatorios.";
    } else if (start == "key") {
        text = "Ya existe un registro con el mismo " + Joined(indexFields, " ");
    }
    return text;
}

}  // namespace contado
