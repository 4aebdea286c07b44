#include "KQRNFCatChangedSink.h"

#include "Registry.h"
#include "SinkAccess.h"

using quarnel::FCatManager;
using quarnel::findManager;

KQRNFCatChangedSink::~KQRNFCatChangedSink() {
    Unregister();
}

bool KQRNFCatChangedSink::Register(QRNHandle handle) {
    FCatManager* m = findManager(handle);
    if (!m) return false;
    Unregister();
    m->addSink(this);
    QRNSinkAccess::attach(*this, handle);
    return true;
}

void KQRNFCatChangedSink::Unregister() {
    if (!m_handle) return;
    if (FCatManager* m = findManager(m_handle)) m->removeSink(this);
    m_handle = 0;
}
