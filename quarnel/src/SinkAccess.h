#pragma once
// Lets the library clear a sink's registration when its manager goes away.

#include "KQRNFCatChangedSink.h"

struct QRNSinkAccess {
    static void detach(KQRNFCatChangedSink& sink) { sink.m_handle = 0; }
    static void attach(KQRNFCatChangedSink& sink, QRNHandle handle) { sink.m_handle = handle; }
};
