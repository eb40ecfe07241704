#pragma once

#include <string>

namespace contado {

// Status codes answered by every engine call; 0 is success.
namespace dsstatus {
constexpr int kOk = 0;
constexpr int kBeginningOfRows = 0x2201;  // moved before the first visible row
constexpr int kEndOfRows = 0x2202;        // moved past the last visible row
constexpr int kNoCurrentRecord = 0x2203;  // the cursor is not on a row
constexpr int kRecordNotFound = 0x2204;   // locate or bookmark found no visible row
constexpr int kInvalidBookmark = 0x2205;
constexpr int kNoTable = 0x2206;  // no packet with column descriptions was loaded yet
constexpr int kColumnOutOfRange = 0x2207;
constexpr int kRowShapeMismatch = 0x2208;   // a packet row with the wrong number of values
constexpr int kInvalidExpression = 0x2209;  // a filter expression the engine cannot evaluate
constexpr int kInvalidFilterHandle = 0x220A;
constexpr int kReadOnly = 0x220B;
constexpr int kKeyViolation = 0x220C;      // a unique key would hold a value twice
constexpr int kMasterHasDetails = 0x220D;  // a deletion refused because dependent rows exist
constexpr int kInvalidErrorPacket = 0x220E;
constexpr int kInvalidAction = 0x220F;  // a reconcile callback answered no known action
}  // namespace dsstatus

// The engine's text for a status ("" for success).
std::string DSErrorText(int status);

}  // namespace contado
