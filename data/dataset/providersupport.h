#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/exceptions.h"
#include "data/dataset/params.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

// What a provider asks of its source dataset: the statement's table, identifiers' quoting,
// transactions, running generated statements, and resetting the source for the next request.
class IProviderSupport {
  public:
    virtual ~IProviderSupport() = default;

    // The table the rows come from; empty when unknown.
    virtual std::string PSGetTableName() = 0;
    // The quote character of identifiers; empty when they are not quoted.
    virtual std::string PSGetQuoteChar() = 0;
    virtual bool PSInTransaction() = 0;
    virtual void PSStartTransaction() = 0;
    virtual void PSEndTransaction(bool commit) = 0;
    // Runs a statement with positional parameters; answers the number of rows it changed.
    virtual std::int64_t PSExecuteStatement(const std::string& sql, const TParams& params) = 0;
    // Key field names separated by semicolons; empty when none are known.
    virtual std::string PSGetKeyFields() = 0;
    // Adds the source's own dataset attributes to a data packet.
    virtual void PSGetAttributes(TPacketAttributes& attributes) = 0;
    // Turns an error raised while a change was written into the error handed to the update handler.
    virtual EUpdateError PSGetUpdateException(const Exception* error, const EUpdateError* previous) = 0;
    // Back to the first row when open.
    virtual void PSReset() = 0;
    // Runs the source's own statement without reading its rows.
    virtual void PSExecute() = 0;
    virtual void PSSetCommandText(const std::string& commandText) = 0;
    virtual TParams PSGetParams() = 0;
    virtual void PSSetParams(const TParams& params) = 0;
};

}  // namespace contado
