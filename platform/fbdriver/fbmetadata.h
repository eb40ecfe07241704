#pragma once

#include <memory>
#include <string>

#include "platform/sqldriver.h"

namespace contado {

class TFbSession;

// What the connection tells about identifiers and transactions. One explicit transaction at a time:
// statements outside it run in transactions of their own, so a second one is never needed.
class TFbMetaData : public ISQLMetaData {
  public:
    explicit TFbMetaData(std::shared_ptr<TFbSession> session) : session_(std::move(session)) {}

    SQLResult setOption(int option, std::intptr_t value) override;
    SQLResult getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) override;
    SQLResult getErrorMessage(std::string& message) override;

  private:
    std::shared_ptr<TFbSession> session_;
    std::string schemaName_;
};

}  // namespace contado
