// Database errors met while the adjustment tables are edited or stored: each one is logged in the
// application directory, translated for the clerk and shown, and the operation is abandoned.

#include "app/run/companydata.h"
#include "app/run/errorlog.h"
#include "app/run/errortranslator.h"
#include "core/exceptions.h"
#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "data/provider/datasetprovider.h"
#include "platform/services/beep.h"
#include "platform/services/messageboxservice.h"

namespace contado {

namespace {

// The text the connection's reader closes with; nothing went wrong that the clerk needs to know.
constexpr const char* kGracefulClose = "Connection Closed Gracefully.";

std::vector<std::string> RequiredFieldsWithoutValue(const TDataSet& dataSet) {
    std::vector<std::string> names;
    for (int index = 0; index < dataSet.FieldCount(); ++index) {
        const TField* field = dataSet.Fields(index);
        if (field->Required() && field->IsNull()) {
            names.push_back(field->FieldName());
        }
    }
    return names;
}

// The table a provider writes to, as the clerk knows it: its source's name without the prefix letter.
std::string TableNameOf(const TDataSetProvider& provider) {
    const std::string name = provider.DataSet() != nullptr ? provider.DataSet()->Name() : std::string();
    return name.empty() ? name : name.substr(1);
}

// The directory for the log line. A failure to find it never takes the place of the error being
// handled: the line then goes to standard error.
std::string DirectoryForLog(TCompanyData& data) {
    try {
        return data.diraplicacion();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

void TCompanyData::ManejarError(TDataSetProvider* Sender, TDataSet* DataSet, EDatabaseError& E, TUpdateKind,
                             TResolverResponse& Response) {
    const std::string& message = E.Message();
    if (message == kGracefulClose) {
        return;
    }
    TErrorLog::Append(DirectoryForLog(*this), UsuarioDelRegistro(), message);
    Response = rrAbort;
    std::string text = message;
    if (Sender != nullptr) {
        text = TErrorTranslator::ForRejectedChange(message, TableNameOf(*Sender));
    } else if (DataSet != nullptr) {
        mostrar_advertencia(DataSet->Name() + ": " + message);
        // The client tables keep no index, so no field belongs to a current one.
        text = TErrorTranslator::ForClientError(message, RequiredFieldsWithoutValue(*DataSet), {});
    }
    Beep();
    MessageDlg(text, mtError, {mbOK});
}

void TCompanyData::ManejarClientError(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action) {
    Action = daAbort;
    TResolverResponse ignored = rrSkip;
    ManejarError(nullptr, DataSet, E, ukInsert, ignored);
}

void TCompanyData::mostrar_advertencia(const std::string&) {
    Beep();
}

std::string TCompanyData::UsuarioDelRegistro() const {
    return user_;
}

}  // namespace contado
