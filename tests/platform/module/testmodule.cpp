// A small module for the kernel tests: an exported function and a resource table with two
// string blocks, laid out as the resource compiler lays out string tables.
#include <w32res.h>

extern "C" __attribute__((visibility("default"))) int testModuleAnswer() { return 42; }

namespace {
// block 1 holds strings 0..15: 1 = "One"; block 2 holds 16..31: 18 = "Eighteen"
const WCHAR block1[] = {0, 3, 'O', 'n', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const WCHAR block2[] = {0, 0, 8, 'E', 'i', 'g', 'h', 't', 'e', 'e', 'n', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const unsigned char data[] = {1, 2, 3, 4, 5};
const W32Resource entries[] = {
    {RT_STRING, MAKEINTRESOURCEA(1), 1033, block1, sizeof block1},
    {RT_STRING, MAKEINTRESOURCEA(2), 1033, block2, sizeof block2},
    {RT_RCDATA, "SAMPLE", 0, data, sizeof data},
    {RT_RCDATA, MAKEINTRESOURCEA(7), 1031, data, 3},
    {RT_RCDATA, MAKEINTRESOURCEA(7), 1033, data, 4},
};
} // namespace

extern "C" __attribute__((visibility("default"))) const W32ResourceTable w32ResourceTable = {entries, 5};
