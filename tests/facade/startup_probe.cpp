// A small host for the start-up tests: it links the system's module as a host does and prints
// what the module's start-up found. With "retry SOURCE TARGET" it copies SOURCE to TARGET after
// the first attempt to load the language module and asks again.
#include "base/LanguageResources.h"

#include <cstdio>
#include <fstream>
#include <string>

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
    return 0;
}
