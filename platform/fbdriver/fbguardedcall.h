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
// alone. A body may answer a status of its own (the end of a cursor). Once the watchdog cut the
// connection, every failure says so instead.
template <typename Body>
SQLResult TranslatedCall(TFbSession& session, std::string& errorText, Body&& body) {
    SQLResult status = sqlstatus::kSuccess;
    try {
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
    if (session.Stalled()) {
        errorText = session.StallText();
        status = sqlstatus::kServerError;
    }
    return status;
}

// A call that may wait on the server: as above, and watched for the session's answer limit. The
// watch ends before the failure is read, so a cut it made is already known then.
template <typename Body>
SQLResult GuardedCall(TFbSession& session, std::string& errorText, Body&& body) {
    return TranslatedCall(session, errorText, [&] {
        TFbAnswerWatch watch(session);
        watch.Begin();
        return body();
    });
}

}  // namespace contado
