// A resource-only module, as a language module is: the same dialog template number as the test
// module, with other texts.
#include <w32res.h>

#include "../templates.h"

namespace {

DialogTemplate& LanguageTemplate() {
    static DialogTemplate t = InputDialogTemplate("Sprachdialog", "aus dem Sprachmodul");
    return t;
}

W32Resource g_entries[1];

struct ResourceTableInit {
    ResourceTableInit() {
        g_entries[0] = W32Resource{RT_DIALOG, MAKEINTRESOURCEA(100), 1031, LanguageTemplate().Get(),
                                   LanguageTemplate().Size()};
    }
} g_resourceTableInit;

} // namespace

extern "C" __attribute__((visibility("default"))) const W32ResourceTable w32ResourceTable = {g_entries, 1};
