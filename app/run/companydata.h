#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/currency.h"
#include "core/datetime.h"
#include "data/dataset/datasettypes.h"
#include "data/provider/providertypes.h"

namespace contado {

class EDatabaseError;
class TClientDataSet;
class TComponent;
class TDataSet;
class TDataSetProvider;
class TDataSource;
class TDateField;
class TField;
class TFMTBCDField;
class TIntegerField;
class TRunDisplay;
class TSQLConnection;
class TSQLQuery;
class TSQLTable;
class TStringField;

// Server folder (or "host:folder"), user, password and company code of a company database.
struct TCompanyLogin {
    std::string Server;
    std::string User;
    std::string Password;
    std::string Company;
};

// The company database's data module: the connection and the data components over it, created
// into an owner (the window, or a plain component when no window is shown), where they find each
// other by name; and the work on them that the window and the unattended run share: connecting,
// rebuilding and storing a day's closing adjustments, posting a range, and the handling of the
// errors the database gives.
class TCompanyData {
  public:
    explicit TCompanyData(TComponent& owner);
    virtual ~TCompanyData() = default;

    TSQLConnection* Tandrel = nullptr;
    TSQLQuery* SQLQuery1 = nullptr;
    TSQLQuery* QTarifas = nullptr;
    TSQLTable* TAjuste = nullptr;
    TSQLTable* TAjusteAu = nullptr;
    TDataSetProvider* PRepArticulos = nullptr;
    TDataSetProvider* PBorrar = nullptr;
    TDataSetProvider* Ptarifiva = nullptr;
    TDataSetProvider* PAjuste = nullptr;
    TDataSetProvider* PAjusteAu = nullptr;
    TClientDataSet* CRepArticulos = nullptr;
    TClientDataSet* Cborrar = nullptr;
    TClientDataSet* CTarifas = nullptr;
    TClientDataSet* CAjuste = nullptr;
    TClientDataSet* CAjusteAu = nullptr;
    TIntegerField* CAjusteAJCI_ID = nullptr;
    TDateField* CAjusteAJCI_FECINI = nullptr;
    TDateField* CAjusteAJCI_FECFIN = nullptr;
    TFMTBCDField* CAjusteAJCI_PORC = nullptr;
    TFMTBCDField* CAjusteAJCI_FACTOR = nullptr;
    TStringField* CAjusteAJCI_PREFNO = nullptr;
    TIntegerField* CAjusteAuAJCI_ID = nullptr;
    TDateField* CAjusteAuAJCI_FECINI = nullptr;
    TDateField* CAjusteAuAJCI_FECFIN = nullptr;
    TFMTBCDField* CAjusteAuAJCI_PORC = nullptr;
    TFMTBCDField* CAjusteAuAJCI_FACTOR = nullptr;
    TStringField* CAjusteAuAJCI_PREFNO = nullptr;
    TDataSource* DSconsecut = nullptr;
    TDataSource* DAjuste = nullptr;
    TDataSource* DAjusteau = nullptr;

    // The application directory from the machine settings; empty, after the plain box saying so,
    // when the key cannot be opened.
    std::string diraplicacion();
    // Wires the error handlers into every provider and client table under the component, and sets
    // every client table to fetch 1000 rows per packet.
    void ConfigurarProviders(TComponent* Component);
    // The server entries of the application directory's list.
    std::vector<std::string> LeerServidores();

    // A change the database rejected while applying (with the provider as sender), or, without a
    // sender, an edit, post or delete error of the client table DataSet: logged, translated, shown.
    void ManejarError(TDataSetProvider* Sender, TDataSet* DataSet, EDatabaseError& E, TUpdateKind UpdateKind,
                      TResolverResponse& Response);
    void ManejarClientError(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action);
    // Beeps; the window also puts the text on its working panel.
    virtual void mostrar_advertencia(const std::string& Text);

    // Reconnects with the login, saying so on the display. A company code that would lead the
    // database path out of its folder is refused before anything is shown.
    void Conectar(const TCompanyLogin& login, TRunDisplay& display);
    // The rows of the range's first day deleted from CAjuste; the changes wait in its change log.
    void BorrarAjustesDelDia(TDateTime first);
    // The rate list open at its first row.
    void AbrirTarifas();
    // Rebuilds the first day's rows from the planned adjustments and stores them all or nothing.
    void ReconstruirAjustesDelDia(TDateTime first, TDateTime last);
    // The posting procedure over the range, the NIIF one when asked. The result is handed to
    // readResult, if any, before it is closed; true when it held any row (something was posted).
    bool Contabilizar(TDateTime first, TDateTime last, bool niif,
                      const std::function<void(TClientDataSet&)>& readResult = {});
    // The plain box of a run that posted nothing.
    static void AvisarNadaContabilizado();

  protected:
    // The user named in the error log: the one the run connected with.
    virtual std::string UsuarioDelRegistro() const;

  private:
    void CreateConnection(TComponent& owner);
    void CreateDataComponents(TComponent& owner);
    TSQLQuery* NewQuery(TComponent& owner, const std::string& name);
    TSQLTable* NewTable(TComponent& owner, const std::string& name, const std::string& tableName);
    TDataSetProvider* NewProvider(TComponent& owner, const std::string& name, TDataSet* source,
                                  TProviderOptions options);
    TClientDataSet* NewClientTable(TComponent& owner, const std::string& name, const std::string& providerName);
    TDataSource* NewDataSource(TComponent& owner, const std::string& name, TDataSet* dataSet);
    template <typename Field>
    Field* NewField(TComponent& owner, TClientDataSet* table, const std::string& fieldName,
                    const std::string& label);

    void GuardarAjustesDelDia();
    // What the day's row copies of the planned row that covers the first day with the rate.
    struct TAjustePrevisto {
        TCurrency Porcentaje;
        TCurrency Factor;
        std::optional<std::string> Prefijo;
    };
    void CopiarAjustePrevisto(const TField& rate, TDateTime first, TDateTime last);
    std::optional<TAjustePrevisto> BuscarAjustePrevisto(const TField& rate, TDateTime first);
    static std::string ConsultaAjustePrevisto(const TField& rate, TDateTime first);
    static std::string SentenciaContabilizacion(TDateTime first, TDateTime last, bool niif);

    std::string user_;
};

}  // namespace contado
