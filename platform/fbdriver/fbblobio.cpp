#include "platform/fbdriver/fbblobio.h"

#include <algorithm>

#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

namespace {

constexpr unsigned kSegmentSize = 32768;

}  // namespace

void TFbBlobIO::Read(TFbSession& session, Firebird::ITransaction* transaction, ISC_QUAD id, long maxBytes,
                     std::string& contents) {
    Firebird::ThrowStatusWrapper* status = session.Status();
    TFbRef blob(session.Attachment()->openBlob(status, transaction, &id, 0, nullptr));
    contents.clear();
    char segment[kSegmentSize];
    while (maxBytes < 0 || static_cast<long>(contents.size()) < maxBytes) {
        unsigned length = 0;
        const int result = blob->getSegment(status, sizeof(segment), segment, &length);
        if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT) {
            break;
        }
        contents.append(segment, length);
    }
    if (maxBytes >= 0 && static_cast<long>(contents.size()) > maxBytes) {
        contents.resize(static_cast<std::size_t>(maxBytes));
    }
    blob.End([status](Firebird::IBlob* ending) { ending->close(status); });
}

ISC_QUAD TFbBlobIO::Write(TFbSession& session, Firebird::ITransaction* transaction,
                          const std::string& contents) {
    Firebird::ThrowStatusWrapper* status = session.Status();
    ISC_QUAD id{};
    TFbRef blob(session.Attachment()->createBlob(status, transaction, &id, 0, nullptr));
    for (std::size_t offset = 0; offset < contents.size(); offset += kSegmentSize) {
        const std::size_t length = std::min<std::size_t>(kSegmentSize, contents.size() - offset);
        blob->putSegment(status, static_cast<unsigned>(length), contents.data() + offset);
    }
    blob.End([status](Firebird::IBlob* ending) { ending->close(status); });
    return id;
}

}  // namespace contado
