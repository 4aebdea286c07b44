// A small host for the start-up tests: it links the system's module as a host does and prints
// what the module's start-up found. With "retry SOURCE TARGET" it copies SOURCE to TARGET after
// the first attempt to load the language module and asks again. With "selection CATALOG" it opens
// the selection dialog through the exported selector; with "assist CATALOG" the input assistance,
// whose template is in the system's module itself, and cancels it.
#include "base/LanguageResources.h"
#include "facade/Pelorin.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {
struct Client : KPelorinClient {
    void OnSelectionText(const char*) override {}
    void OnHelp(int) override {}
};

// Without a driver nothing else would end the modal loop on Windows.
void CALLBACK CancelAssistance(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND dialog = GetActiveWindow()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
} // namespace

int main(int argc, char** argv) {
    std::string folder;
    bool found = GetSettingsFolder(folder);
    std::printf("settings=%s%s\n", found ? "" : "!", folder.c_str());
    std::printf("language=%u\n", GetLanguageNumber());
    std::printf("load=%d\n", LoadLanguageResources());
    char path[MAX_PATH] = "";
    if (GetLanguageModule()) GetModuleFileNameA(GetLanguageModule(), path, sizeof path);
    std::printf("module=%s\n", path);
    std::printf("text=%s\n", LoadResourceText(19203).c_str());
    if (argc == 4 && std::string(argv[1]) == "retry") {
        std::ifstream in(argv[2], std::ios::binary);
        std::ofstream(argv[3], std::ios::binary) << in.rdbuf();
        std::printf("load2=%d\n", LoadLanguageResources());
        std::printf("text2=%s\n", LoadResourceText(19203).c_str());
    }
    if (argc == 3 && std::string(argv[1]) == "selection") {
        Client client;
        KPelorin selector(nullptr);
        selector.AddFCat(argv[2]);
        selector.ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
        char title[256] = "", owner[MAX_PATH] = "";
        if (HWND dialog = GetActiveWindow()) {
            GetWindowTextA(dialog, title, sizeof title);
            // the module whose classes and windows these are: the system's, not the host's
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                char name[64] = "";
                GetClassNameA(child, name, sizeof name);
                if (std::string(name) == "SECTreeCtrl")
                    GetModuleFileNameA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(child, GWLP_HINSTANCE)),
                                       owner, sizeof owner);
            }
        }
        std::printf("dialog=%s\ntree=%s\n", title, owner);
        selector.Close();
    }
    if (argc == 3 && std::string(argv[1]) == "assist") {
        KPelorin selector(nullptr);
        selector.AddFCat(argv[2]);
        SetTimer(nullptr, 0, 100, CancelAssistance);
        const int result = selector.ShowEx(nullptr, "", 10, 10, 0, 0, 0);
        std::printf("assist=%d\n", result);
    }
    return 0;
}
