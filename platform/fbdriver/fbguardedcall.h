#pragma once

#include <firebird/Interface.h>

#include <new>
#include <string>
#include <type_traits>

#include "platform/fbdriver/fbanswerwatch.h"
#include "platform/fbdriver/fbclient.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbsession.h"
#include "platform/sqldriver.h"

namespace contado {

// Runs one driver call of a session and turns what it throws into the call's status: a Firebird
// error gives the server status with Firebird's formatted text, a driver error its own status and
// text. The text goes to errorText, the handle's error message; a call that succeeds leaves it
// alone. A body may answer a status of its own (the end of a cursor). With an answer limit the call
// is watched; once the watchdog cut the connection, every failure says so instead.
template <typename Body>
SQLResult GuardedCall(TFbSession& session, std::string& errorText, Body&& body) {
    TFbAnswerWatch watch(session);
    SQLResult status = sqlstatus::kSuccess;
    try {
        watch.Begin();
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
        } else {
            status = body();
        }
        return status;
    } catch (const Firebird::FbException& error) {
        errorText = session.Client().FormatStatus(error.getStatus());
        status = sqlstatus::kServerError;
    } catch (const EFbDriverError& error) {
        errorText = error.what();
        status = error.Status();
    } catch (const std::bad_alloc&) {
        errorText.clear();
        status = sqlstatus::kInsufficientMemory;
    } catch (const std::exception& error) {
        errorText = error.what();
        status = sqlstatus::kServerError;
    }
    watch.End();
    if (session.Stalled()) {
        errorText = session.StallText();
        status = sqlstatus::kServerError;
    }
    return status;
}

}  // namespace contado
