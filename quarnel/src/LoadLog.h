#pragma once
// The per-catalog log file that LoadFCat writes.

#include <string>

namespace quarnel {

// Writes text to the log file in the given QRN_LOG_... mode. A log that cannot be written
// is skipped: it must never make a load fail.
void writeLoadLog(const std::string& logFile, int logMode, const std::string& text);

} // namespace quarnel
