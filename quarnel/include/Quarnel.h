#pragma once
// The catalog library: reads MOST function catalogs (XML, see FORMAT.md) and answers
// questions about them through catalog managers.

#include "KQRNFCatChangedSink.h"
#include "KQRNFCatManager.h"
#include "KQRNMessage.h"
#include "KQRNMessageContainer.h"
#include "KQRNNode.h"
#include "QuarnelDefs.h"

#include <string>

// 1 when this library serves interface (major, minor): the same major, minor up to ours.
QUARNEL_API int gQRNIsCompatibleInterface(int major, int minor);
// Creates a manager and writes its handle (0 when none can be made); 0 on success, 1 for a null
// handle pointer, 2 when no manager can be made.
QUARNEL_API int gQRNCreateFCatManager(QRNHandle* handle, const std::string& clientName);
// Destroys a manager; its sinks are unregistered. 0 on success, 1 for an unknown handle.
// Never call it from inside a change notification of the same manager.
QUARNEL_API int gQRNDestroyFCatManager(QRNHandle handle);
// The manager of a handle; null for 0, unknown or destroyed handles. Handles are never reused.
QUARNEL_API KQRNFCatManager* gQRNFCatManager(QRNHandle handle);
// Handle of the process's default manager, created on first use (and again after it was
// destroyed); 0 only if it cannot be created.
QUARNEL_API QRNHandle gQRNFCatMngr();
// Reads integer attribute `number`; 0 and *value set when present, else non-zero and *value
// untouched (so a preset value tells absence).
QUARNEL_API int gQRTGetAttrInt(QRTAttrHandle attributes, int number, int* value);
