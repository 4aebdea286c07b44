#include "LoadLog.h"

#include "FileName.h"
#include "QuarnelDefs.h"

#include <filesystem>
#include <fstream>

namespace quarnel {

void writeLoadLog(const std::string& logFile, int logMode, const std::string& text) {
    std::ofstream out(filePath(logFile),
                      std::ios::binary | (logMode == QRN_LOG_APPEND ? std::ios::app : std::ios::trunc));
    if (out) out << text;
}

} // namespace quarnel
