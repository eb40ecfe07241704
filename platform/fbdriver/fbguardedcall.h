#pragma once

#include <firebird/Interface.h>

#include <new>
#include <string>
#include <type_traits>

#include "platform/fbdriver/fbclient.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/sqldriver.h"

namespace contado {

// Runs one driver call and turns what it throws into the call's status: a Firebird error gives the
// server status with Firebird's formatted text, a driver error its own status and text. The text
// goes to errorText, the handle's error message; a call that succeeds leaves it alone. A body may
// answer a status of its own (the end of a cursor).
template <typename Body>
SQLResult GuardedCall(const TFbClient& client, std::string& errorText, Body&& body) {
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            return sqlstatus::kSuccess;
        } else {
            return body();
        }
    } catch (const Firebird::FbException& error) {
        errorText = client.FormatStatus(error.getStatus());
        return sqlstatus::kServerError;
    } catch (const EFbDriverError& error) {
        errorText = error.what();
        return error.Status();
    } catch (const std::bad_alloc&) {
        errorText.clear();
        return sqlstatus::kInsufficientMemory;
    } catch (const std::exception& error) {
        errorText = error.what();
        return sqlstatus::kServerError;
    }
}

}  // namespace contado
