#include "LoadLog.h"

#include "QuarnelDefs.h"

#include <filesystem>
#include <fstream>

namespace quarnel {

void writeLoadLog(const std::string& logFile, int logMode, const std::string& text) {
    // The log file name is the bytes the file system takes, never converted.
    std::ofstream out(std::filesystem::path(logFile),
                      std::ios::binary | (logMode == QRN_LOG_APPEND ? std::ios::app : std::ios::trunc));
    if (out) out << text;
}

} // namespace quarnel
