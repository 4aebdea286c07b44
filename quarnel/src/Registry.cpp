#include "Registry.h"

#include "Quarnel.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace quarnel {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<QRNHandle, std::unique_ptr<FCatManager>> managers;
    QRNHandle next = 1; // handles are never reused, so a stale one finds nothing
    QRNHandle defaultHandle = 0;
};

Registry& registry() {
    static Registry* r = new Registry; // never destroyed: sinks may unregister during exit
    return *r;
}

QRNHandle create(Registry& r, const std::string& clientName) {
    if (r.next == 0) return 0; // all handles used up
    const QRNHandle h = r.next;
    auto manager = std::unique_ptr<FCatManager>(new (std::nothrow) FCatManager(clientName));
    if (!manager) return 0;
    r.managers.emplace(h, std::move(manager));
    ++r.next;
    return h;
}

} // namespace

FCatManager* findManager(QRNHandle handle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.managers.find(handle);
    return it == r.managers.end() ? nullptr : it->second.get();
}

} // namespace quarnel

using namespace quarnel;

int gQRNIsCompatibleInterface(int major, int minor) {
    return major == QRN_INTERFACE_MAJOR && minor >= 0 && minor <= QRN_INTERFACE_MINOR ? 1 : 0;
}

int gQRNCreateFCatManager(QRNHandle* handle, const std::string& clientName) {
    if (!handle) return 1;
    try {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        *handle = create(r, clientName);
    } catch (...) {
        *handle = 0;
    }
    return *handle ? 0 : 2;
}

int gQRNDestroyFCatManager(QRNHandle handle) {
    std::unique_ptr<FCatManager> doomed;
    {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.managers.find(handle);
        if (it == r.managers.end()) return 1;
        doomed = std::move(it->second);
        r.managers.erase(it);
        if (r.defaultHandle == handle) r.defaultHandle = 0;
    }
    return 0; // doomed is destroyed outside the lock; it detaches its sinks
}

KQRNFCatManager* gQRNFCatManager(QRNHandle handle) {
    return findManager(handle);
}

QRNHandle gQRNFCatMngr() {
    try {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        if (r.defaultHandle == 0) r.defaultHandle = create(r, "default");
        return r.defaultHandle;
    } catch (...) {
        return 0;
    }
}
