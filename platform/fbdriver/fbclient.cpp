#include "platform/fbdriver/fbclient.h"

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/fbdriver/fbembeddedroot.h"
#include "platform/fbdriver/fbshutdown.h"

namespace contado {

namespace {

using TGetMasterFunc = Firebird::IMaster* (*)();

std::mutex& ClientsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, std::unique_ptr<TFbClient>>& Clients() {
    static std::map<std::string, std::unique_ptr<TFbClient>> clients;
    return clients;
}

}  // namespace

TFbClient::TFbClient(Firebird::IMaster* master)
    : master_(master), provider_(master->getDispatcher()), util_(master->getUtilInterface()) {}

TFbClient* TFbClient::Load(const std::string& libraryName, std::string& error) {
    std::lock_guard lock(ClientsMutex());
    auto found = Clients().find(libraryName);
    if (found != Clients().end()) {
        return found->second.get();
    }
    TFbEmbeddedRoot::Prepare();
    void* library = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = dlerror();
        return nullptr;
    }
    auto getMaster = reinterpret_cast<TGetMasterFunc>(dlsym(library, "fb_get_master_interface"));
    if (getMaster == nullptr) {
        error = libraryName + " is not a Firebird 3 client library";
        return nullptr;
    }
    TFbShutdown::KeepSignalsFromEngine(library);
    auto client = std::unique_ptr<TFbClient>(new TFbClient(getMaster()));
    return Clients().emplace(libraryName, std::move(client)).first->second.get();
}

std::string TFbClient::FormatStatus(Firebird::IStatus* status) const {
    std::vector<char> buffer(2048);
    while (true) {
        const unsigned length =
            util_->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
        if (length < buffer.size() - 1 || buffer.size() >= 65536) {
            return std::string(buffer.data(), std::min<std::size_t>(length, buffer.size() - 1));
        }
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace contado
