#pragma once
// The per-catalog log file that LoadFCat writes.

#include <string>

namespace quarnel {

// Writes text to the log file: appended in mode QRN_LOG_APPEND, else replacing the file (the
// caller does not call for QRN_LOG_NONE). A log that cannot be written, or has no name, is
// skipped: it must never make a load fail.
void writeLoadLog(const std::string& logFile, int logMode, const std::string& text);

} // namespace quarnel
