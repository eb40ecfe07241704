#pragma once

// The scripting entry points of libfakedriver.so, looked up with dlsym by the tests.
//
// fakeDriverSet(key, value): "<call>.status" makes that call answer the status (decimal) and
// "<call>.text" gives the handle's error text then; calls: factory, connect, metadata, command,
// prepare, execute, begin, commit, rollback. "rows" is the affected-row count of every execute.
// fakeDriverReset(): forgets the script and the log.
// fakeDriverLog(): every call received so far, one line each ("connect DATABASE|USER|PASSWORD",
// "option NUMBER VALUE" with texts as text, "prepare SQL|COUNT", "parameter POSITION TYPE VALUE",
// "begin ISOLATION", "commit", "rollback", "disconnect").
extern "C" {
using TFakeDriverSet = void (*)(const char* key, const char* value);
using TFakeDriverReset = void (*)();
using TFakeDriverLog = const char* (*)();
}
