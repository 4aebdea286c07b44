#pragma once
// Process-wide table of catalog managers by handle.

#include "FCatManager.h"

namespace quarnel {

FCatManager* findManager(QRNHandle handle);

} // namespace quarnel
