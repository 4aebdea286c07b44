// JSON on standard output. Every text the host puts into it is UTF-8 already; file names are the
// bytes the system gave and may not be, so malformed bytes show as U+FFFD instead of throwing.
#pragma once
#include <nlohmann/json.hpp>

#include <iostream>

// False when standard output did not take it all.
inline bool PrintJson(const nlohmann::json& j) {
    std::cout << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    std::cout.flush();
    return static_cast<bool>(std::cout);
}
