#pragma once
// Receives a notification whenever the set of catalogs loaded in a manager changes.

#include "QuarnelDefs.h"

class QUARNEL_API KQRNFCatChangedSink {
public:
    KQRNFCatChangedSink() = default;
    KQRNFCatChangedSink(const KQRNFCatChangedSink&) = delete;
    KQRNFCatChangedSink& operator=(const KQRNFCatChangedSink&) = delete;
    // Unregisters the sink.
    virtual ~KQRNFCatChangedSink();

    // Called after a load, reload or unload changed the manager's catalogs. The sink may
    // register or unregister sinks (itself too) from here.
    virtual void OnFCatChanged() = 0;

    // Registers with one manager (leaving any earlier one); false for an unknown handle.
    bool Register(QRNHandle handle);
    // Leaves the manager, if any; harmless when that manager is gone.
    void Unregister();
    // Handle of the manager the sink is registered with, 0 if none.
    QRNHandle GetRegisteredHandle() const { return m_handle; }

private:
    friend struct QRNSinkAccess;
    QRNHandle m_handle = 0;
};
