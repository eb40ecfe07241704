#pragma once

#include <firebird/Interface.h>

#include <string>

namespace contado {

class TFbSession;

// Reads and writes blob contents within a transaction.
class TFbBlobIO {
  public:
    // At most maxBytes are read; a negative limit reads the whole blob.
    static void Read(TFbSession& session, Firebird::ITransaction* transaction, ISC_QUAD id, long maxBytes,
                     std::string& contents);
    static ISC_QUAD Write(TFbSession& session, Firebird::ITransaction* transaction,
                          const std::string& contents);
};

}  // namespace contado
