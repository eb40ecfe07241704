#pragma once

namespace contado {

// Something that holds Firebird handles of a session (a statement, a result, a transaction) and must
// let them go before the session detaches from its database.
class TFbSessionResource {
  public:
    virtual void ReleaseForDetach() = 0;

  protected:
    ~TFbSessionResource() = default;
};

}  // namespace contado
