#pragma once

#include <memory>
#include <string>

#include "platform/sqldriver.h"

namespace contado {

class TFbClient;
class TFbSession;

// A connection to one Firebird database through the OO API.
class TFbConnection : public ISQLConnection {
  public:
    explicit TFbConnection(TFbClient& client);
    ~TFbConnection() override;

    SQLResult setOption(int option, std::intptr_t value) override;
    SQLResult getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) override;
    SQLResult connect(const std::string& database, const std::string& user,
                      const std::string& password) override;
    SQLResult disconnect() override;
    SQLResult getSQLMetaData(std::unique_ptr<ISQLMetaData>& metaData) override;
    SQLResult getSQLCommand(std::unique_ptr<ISQLCommand>& command) override;
    SQLResult beginTransaction(const TTransactionDesc& desc) override;
    SQLResult commit(const TTransactionDesc& desc) override;
    SQLResult rollback(const TTransactionDesc& desc) override;
    SQLResult getErrorMessage(std::string& message) override;

  private:
    std::string QuotedObjectName() const;
    static bool IsEmbedded(const std::string& database);

    std::shared_ptr<TFbSession> session_;
    std::string errorText_;
};

}  // namespace contado
