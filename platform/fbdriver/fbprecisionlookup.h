#pragma once

#include <firebird/Interface.h>

#include <map>
#include <string>
#include <vector>

#include "platform/fbdriver/fbparametermessage.h"
#include "platform/sqldriver.h"

namespace contado {

class TFbSession;

// The declared precision of decimal columns of tables, views and procedures, which Firebird's
// message descriptions do not carry. Each column is asked for once per attachment.
class TFbPrecisionLookup {
  public:
    explicit TFbPrecisionLookup(TFbSession& session) : session_(session), input_(session) {}
    ~TFbPrecisionLookup() { Release(); }
    TFbPrecisionLookup(const TFbPrecisionLookup&) = delete;
    TFbPrecisionLookup& operator=(const TFbPrecisionLookup&) = delete;

    // The fallback for computed columns and columns the catalogue does not know.
    int Precision(const std::string& relation, const std::string& field, int fallback);
    // Before detaching: lets the statement go and forgets the answers.
    void Release();

  private:
    int Query(const std::string& relation, const std::string& field, int fallback);
    Firebird::IStatement* Statement();

    TFbSession& session_;
    TFbParameterMessage input_;
    Firebird::IStatement* statement_ = nullptr;
    std::vector<TDriverValue> values_;
    std::map<std::string, int> cache_;
};

}  // namespace contado
