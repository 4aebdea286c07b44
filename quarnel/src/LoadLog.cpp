#include "LoadLog.h"

#include "QuarnelDefs.h"

#include <filesystem>
#include <fstream>

namespace quarnel {

void writeLoadLog(const std::string& logFile, int logMode, const std::string& text) {
    if (logMode == QRN_LOG_NONE || logFile.empty()) return;
    std::ofstream out(std::filesystem::u8path(logFile),
                      std::ios::binary | (logMode == QRN_LOG_APPEND ? std::ios::app : std::ios::trunc));
    if (out) out << text;
}

} // namespace quarnel
