#include "host/Host.h"

#include "facade/Pelorin.h"

#include <climits>
#include <cstring>
#include <vector>

bool SelectedLine(KPelorin& selector, std::string& line, int& displacement) {
    // GetSelection copies at most size characters and writes the terminator only when it fits:
    // ask again with twice the room until the terminator is inside.
    for (size_t size = 4096;; size = size <= INT_MAX / 2 ? size * 2 : INT_MAX) {
        std::vector<char> buffer(size, 'x');
        displacement = selector.GetSelection(buffer.data(), static_cast<int>(size));
        if (const void* end = std::memchr(buffer.data(), 0, size)) {
            line.assign(buffer.data(), static_cast<size_t>(static_cast<const char*>(end) - buffer.data()));
            return true;
        }
        if (size == INT_MAX) return false;
    }
}
