// Kernel services: modules (real dynamic loading), resources, profile files with Windows'
// semantics, file attributes, global memory, the clipboard, threads and arithmetic helpers.
#include "core.h"
#include <w32res.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <link.h>
#include <map>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace w32 {

// Backslashes in paths are taken as separators, so Windows-style paths work unchanged.
static std::string posixPath(const char* path) {
    std::string p = path ? path : "";
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

static bool fileExists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// ---- modules ----

struct LoadedObject {
    UINT_PTR base;
    std::string path;
};

static int collectObject(struct dl_phdr_info* info, size_t, void* data) {
    auto* out = static_cast<std::vector<LoadedObject>*>(data);
    UINT_PTR firstLoad = UINTPTR_MAX;
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            firstLoad = std::min<UINT_PTR>(firstLoad, info->dlpi_phdr[i].p_vaddr & ~static_cast<UINT_PTR>(0xFFF));
        }
    if (firstLoad == UINTPTR_MAX) return 0;
    std::string path = info->dlpi_name ? info->dlpi_name : "";
    if (path.empty() && out->empty()) {
        char buf[PATH_MAX];
        ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0) path.assign(buf, static_cast<size_t>(n));
    }
    if (path.empty()) return 0;
    out->push_back(LoadedObject{info->dlpi_addr + firstLoad, path});
    return 0;
}

static std::vector<LoadedObject> loadedObjects() {
    std::vector<LoadedObject> out;
    dl_iterate_phdr(collectObject, &out);
    return out;
}

static bool objectOf(HMODULE module, LoadedObject* found) {
    UINT_PTR base = reinterpret_cast<UINT_PTR>(module);
    auto objs = loadedObjects();
    if (!module) {
        if (objs.empty()) return false;
        *found = objs.front();
        return true;
    }
    for (auto& o : objs)
        if (o.base == base) {
            *found = o;
            return true;
        }
    return false;
}

static std::string absolutePath(const std::string& p) {
    char buf[PATH_MAX];
    if (::realpath(p.c_str(), buf)) return buf;
    return p;
}

static HMODULE baseOfAddress(const void* address) {
    Dl_info info;
    if (!dladdr(address, &info) || !info.dli_fbase) return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

// Open dlopen handles per module base, one per LoadLibrary call.
static std::multimap<UINT_PTR, void*>& openHandles() {
    static auto* m = new std::multimap<UINT_PTR, void*>;
    return *m;
}

static std::string baseName(const std::string& p) {
    size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

static bool endsWithDll(const std::string& p) {
    return p.size() >= 4 && strcasecmp(p.c_str() + p.size() - 4, ".dll") == 0;
}

// A module named *.dll is the shared object *.so on this platform.
static std::string platformModuleName(const std::string& p) {
    if (endsWithDll(p) && !fileExists(p)) return p.substr(0, p.size() - 4) + ".so";
    return p;
}

// ---- resources ----

static const W32ResourceTable* resourceTable(HMODULE module) {
    LoadedObject obj;
    if (!objectOf(module, &obj)) return nullptr;
    void* handle = module && obj.path != loadedObjects().front().path ? dlopen(obj.path.c_str(), RTLD_LAZY | RTLD_NOLOAD)
                                                                      : dlopen(nullptr, RTLD_LAZY);
    if (!handle) return nullptr;
    auto* table = static_cast<const W32ResourceTable*>(dlsym(handle, W32_RESOURCE_TABLE_SYMBOL));
    dlclose(handle); // the module stays loaded: its own reference keeps it
    // dlsym also searches the module's dependencies: only the module's own table counts
    if (table && reinterpret_cast<UINT_PTR>(baseOfAddress(table)) != obj.base) return nullptr;
    return table;
}

static bool sameResourceName(LPCSTR a, LPCSTR b) {
    bool ia = IS_INTRESOURCE(a), ib = IS_INTRESOURCE(b);
    if (!ia && a[0] == '#') return sameResourceName(MAKEINTRESOURCEA(std::atoi(a + 1)), b);
    if (!ib && b[0] == '#') return sameResourceName(a, MAKEINTRESOURCEA(std::atoi(b + 1)));
    if (ia || ib) return ia && ib && a == b;
    return strcasecmp(a, b) == 0;
}

static const W32Resource* findResource(HMODULE module, LPCSTR type, LPCSTR name, int language) {
    const W32ResourceTable* table = resourceTable(module);
    if (!table) {
        setLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const W32Resource* best = nullptr;
    int bestRank = INT_MAX;
    bool typeSeen = false;
    for (size_t i = 0; i < table->count; ++i) {
        const W32Resource& r = table->entries[i];
        if (!sameResourceName(r.type, type)) continue;
        typeSeen = true;
        if (!sameResourceName(r.name, name)) continue;
        int rank;
        if (language >= 0)
            rank = r.language == language ? 0 : INT_MAX;
        else
            rank = r.language == 0 ? 0 : r.language == 1033 ? 1 : 2;
        if (rank < bestRank) {
            best = &r;
            bestRank = rank;
        }
    }
    if (!best) setLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return best;
}

// ---- profile files ----

struct ProfileSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};

static std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

static std::vector<ProfileSection> readProfile(const std::string& path) {
    std::vector<ProfileSection> sections;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::string t = trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            size_t close = t.find(']');
            sections.push_back(ProfileSection{trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            continue;
        }
        if (sections.empty()) continue;
        size_t eq = t.find('=');
        std::string key = trim(t.substr(0, eq));
        std::string value = eq == std::string::npos ? "" : trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        sections.back().entries.emplace_back(key, value);
    }
    return sections;
}

static ProfileSection* findSection(std::vector<ProfileSection>& sections, const char* name) {
    for (auto& s : sections)
        if (strcasecmp(s.name.c_str(), name) == 0) return &s;
    return nullptr;
}

static DWORD copyOut(const std::string& value, LPSTR out, DWORD size) {
    if (!out || size == 0) return 0;
    DWORD n = std::min<DWORD>(static_cast<DWORD>(value.size()), size - 1);
    std::memcpy(out, value.data(), n);
    out[n] = 0;
    return n;
}

// A list of NUL-terminated names ending with an extra NUL, cut as Windows cuts it.
static DWORD copyList(const std::vector<std::string>& names, LPSTR out, DWORD size) {
    if (!out || size == 0) return 0;
    if (size == 1) {
        out[0] = 0;
        return 0;
    }
    std::string all;
    for (auto& n : names) {
        all += n;
        all.push_back('\0');
    }
    if (all.size() + 1 <= size) {
        std::memcpy(out, all.data(), all.size());
        out[all.size()] = 0;
        return static_cast<DWORD>(all.size() == 0 ? 0 : all.size());
    }
    std::memcpy(out, all.data(), size - 2);
    out[size - 2] = 0;
    out[size - 1] = 0;
    return size - 2;
}

static void writeProfile(const std::string& path, const std::vector<ProfileSection>& sections) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (auto& s : sections) {
        out << '[' << s.name << "]\r\n";
        for (auto& e : s.entries) out << e.first << '=' << e.second << "\r\n";
    }
}

// ---- global memory and clipboard ----

struct GlobalBlock {
    std::vector<char> data;
    int locks = 0;
};

static std::map<UINT_PTR, GlobalBlock>& globals() {
    static auto* m = new std::map<UINT_PTR, GlobalBlock>;
    return *m;
}

} // namespace w32

using namespace w32;

extern "C" {

DWORD WINAPI GetCurrentThreadId(void) {
    static DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
    return id;
}

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(::getpid()); }

int WINAPI MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    long long p = static_cast<long long>(number) * numerator;
    long long half = (denominator < 0 ? -static_cast<long long>(denominator) : denominator) / 2;
    long long r = ((p < 0) != (denominator < 0)) ? (p - ((p < 0) ? half : -half)) / denominator
                                                  : (p + ((p < 0) ? -half : half)) / denominator;
    if (r > INT_MAX || r < INT_MIN) return -1;
    return static_cast<int>(r);
}

int WINAPI lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string name = posixPath(fileName);
    std::vector<std::string> candidates;
    if (name.find('/') == std::string::npos) {
        auto objs = loadedObjects();
        if (!objs.empty()) {
            std::string dir = objs.front().path.substr(0, objs.front().path.find_last_of('/') + 1);
            candidates.push_back(dir + name);
        }
        candidates.push_back("./" + name);
    } else {
        candidates.push_back(name);
    }
    for (auto& c : candidates) {
        std::string p = platformModuleName(c);
        if (!fileExists(p)) continue;
        void* handle = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) continue;
        struct link_map* lm = nullptr;
        if (dlinfo(handle, RTLD_DI_LINKMAP, &lm) != 0 || !lm) {
            dlclose(handle);
            continue;
        }
        HMODULE base = baseOfAddress(lm->l_ld);
        if (!base) {
            dlclose(handle);
            continue;
        }
        openHandles().emplace(reinterpret_cast<UINT_PTR>(base), handle);
        return base;
    }
    setLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    auto& handles = openHandles();
    auto it = handles.find(reinterpret_cast<UINT_PTR>(module));
    if (it == handles.end()) {
        setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    void* h = it->second;
    handles.erase(it);
    dlclose(h);
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    LoadedObject obj;
    if (!procName || IS_INTRESOURCE(procName) || !objectOf(module, &obj)) {
        setLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* handle = module ? dlopen(obj.path.c_str(), RTLD_LAZY | RTLD_NOLOAD) : dlopen(nullptr, RTLD_LAZY);
    if (!handle) {
        setLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* sym = dlsym(handle, procName);
    dlclose(handle);
    if (!sym) setLastError(ERROR_PROC_NOT_FOUND);
    return reinterpret_cast<FARPROC>(sym);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    auto objs = loadedObjects();
    if (!moduleName) return objs.empty() ? nullptr : reinterpret_cast<HMODULE>(objs.front().base);
    std::string want = baseName(posixPath(moduleName));
    std::string wantSo = endsWithDll(want) ? want.substr(0, want.size() - 4) + ".so" : want;
    for (auto& o : objs) {
        std::string have = baseName(o.path);
        if (strcasecmp(have.c_str(), want.c_str()) == 0 || strcasecmp(have.c_str(), wantSo.c_str()) == 0)
            return reinterpret_cast<HMODULE>(o.base);
    }
    setLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module) {
    if (!module) {
        setLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) ? baseOfAddress(moduleName) : GetModuleHandleA(moduleName);
    return *module != nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    LoadedObject obj;
    if (!objectOf(module, &obj)) {
        setLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!fileName || size == 0) {
        setLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path = absolutePath(obj.path);
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = 0;
        setLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    setLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    return reinterpret_cast<HRSRC>(const_cast<W32Resource*>(findResource(module, type, name, -1)));
}

HRSRC WINAPI FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    const W32Resource* r = findResource(module, type, name, language);
    if (!r && language != 0) r = findResource(module, type, name, -1);
    return reinterpret_cast<HRSRC>(const_cast<W32Resource*>(r));
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource) {
    if (!resource) return nullptr;
    return const_cast<void*>(reinterpret_cast<const W32Resource*>(resource)->data);
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const W32Resource*>(resource)->size : 0;
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    buffer[0] = 0;
    const W32Resource* block = findResource(instance, RT_STRING, MAKEINTRESOURCEA((id >> 4) + 1), -1);
    if (!block) return 0;
    const auto* p = static_cast<const WCHAR*>(block->data);
    const WCHAR* end = p + block->size / sizeof(WCHAR);
    for (UINT i = 0; i < (id & 15) && p < end; ++i) p += 1 + *p;
    if (p >= end || *p == 0) return 0;
    size_t len = std::min<size_t>(*p, static_cast<size_t>(end - p - 1));
    std::string text = narrow(p + 1, len);
    size_t n = std::min<size_t>(text.size(), static_cast<size_t>(bufferMax - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}


HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!instance) {
        UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
        if (IS_INTRESOURCE(name) && id >= 32512 && id <= 32518) return predefinedIcon(id);
        setLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const W32Resource* r = findResource(instance, RT_GROUP_ICON, name, -1);
    return r ? reinterpret_cast<HICON>(const_cast<W32Resource*>(r)) : nullptr;
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT) {
    if (type == IMAGE_ICON) return LoadIconA(instance, name);
    if (type == IMAGE_CURSOR) return LoadCursorA(instance, name);
    setLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                                      LPCSTR fileName) {
    if (!returned || size == 0) return 0;
    std::string path = posixPath(fileName);
    auto sections = readProfile(path);
    if (!section) {
        std::vector<std::string> names;
        for (auto& s : sections) names.push_back(s.name);
        return copyList(names, returned, size);
    }
    ProfileSection* s = findSection(sections, section);
    if (!key) {
        std::vector<std::string> names;
        if (s)
            for (auto& e : s->entries) names.push_back(e.first);
        return copyList(names, returned, size);
    }
    if (s)
        for (auto& e : s->entries)
            if (strcasecmp(e.first.c_str(), key) == 0) return copyOut(e.second, returned, size);
    std::string def = defaultValue ? defaultValue : "";
    while (!def.empty() && def.back() == ' ') def.pop_back();
    return copyOut(def, returned, size);
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    char buf[64];
    if (!section || !key) return static_cast<UINT>(defaultValue);
    if (GetPrivateProfileStringA(section, key, "", buf, sizeof buf, fileName) == 0) return static_cast<UINT>(defaultValue);
    const char* p = buf;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (p[0] == '0' && (p[1] == 'o' || p[1] == 'O')) {
        base = 8;
        p += 2;
    } else if (p[0] == '0' && (p[1] == 'b' || p[1] == 'B')) {
        base = 2;
        p += 2;
    }
    unsigned long long v = 0;
    for (; *p; ++p) {
        int d = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0'
                : std::isxdigit(static_cast<unsigned char>(*p)) ? std::tolower(static_cast<unsigned char>(*p)) - 'a' + 10
                                                                : 99;
        if (d >= base) break;
        v = (v * static_cast<unsigned>(base) + static_cast<unsigned>(d)) & 0xFFFFFFFFull;
    }
    UINT r = static_cast<UINT>(v);
    return negative ? 0u - r : r;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (!section || !fileName) {
        setLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string path = posixPath(fileName);
    auto sections = readProfile(path);
    ProfileSection* s = findSection(sections, section);
    if (!key) {
        if (s) sections.erase(sections.begin() + (s - sections.data()));
    } else {
        if (!s) {
            if (!value) return TRUE;
            sections.push_back(ProfileSection{section, {}});
            s = &sections.back();
        }
        auto it = std::find_if(s->entries.begin(), s->entries.end(),
                               [&](const auto& e) { return strcasecmp(e.first.c_str(), key) == 0; });
        if (!value) {
            if (it != s->entries.end()) s->entries.erase(it);
        } else if (it != s->entries.end()) {
            it->second = value;
        } else {
            s->entries.emplace_back(key, value);
        }
    }
    writeProfile(path, sections);
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    std::string p = posixPath(fileName);
    struct stat st;
    if (p.empty() || ::stat(p.c_str(), &st) != 0) {
        setLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD a = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (::access(p.c_str(), W_OK) != 0) a |= FILE_ATTRIBUTE_READONLY;
    return a;
}

HGLOBAL WINAPI GlobalAlloc(UINT, SIZE_T bytes) {
    static UINT_PTR next = 0x50000008;
    UINT_PTR h = next;
    next += 8;
    globals()[h].data.assign(bytes, 0);
    return reinterpret_cast<HGLOBAL>(h);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
    if (!mem) return nullptr;
    if (!globals().erase(reinterpret_cast<UINT_PTR>(mem))) {
        setLastError(ERROR_INVALID_HANDLE);
        return mem;
    }
    return nullptr;
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
    auto& g = globals();
    auto it = g.find(reinterpret_cast<UINT_PTR>(mem));
    if (it == g.end()) {
        setLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (it->second.data.empty()) return nullptr; // a zero-sized block has no memory to lock
    ++it->second.locks;
    return it->second.data.data();
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
    auto& g = globals();
    auto it = g.find(reinterpret_cast<UINT_PTR>(mem));
    if (it == g.end() || it->second.locks == 0) return FALSE;
    return --it->second.locks > 0;
}

SIZE_T WINAPI GlobalSize(HGLOBAL mem) {
    auto& g = globals();
    auto it = g.find(reinterpret_cast<UINT_PTR>(mem));
    return it == g.end() ? 0 : it->second.data.size();
}

BOOL WINAPI OpenClipboard(HWND owner) {
    auto& s = sys();
    if (s.clipboardOpen && s.clipboardOpener != owner) return FALSE;
    s.clipboardOpen = true;
    s.clipboardOpener = owner;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void) {
    auto& s = sys();
    if (!s.clipboardOpen) {
        setLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    s.clipboardOpen = false;
    s.clipboardOpener = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void) {
    auto& s = sys();
    if (!s.clipboardOpen) {
        setLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    for (auto& c : s.clipboard) GlobalFree(c.second);
    s.clipboard.clear();
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE mem) {
    auto& s = sys();
    if (!s.clipboardOpen) {
        setLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = s.clipboard.find(format);
    if (it != s.clipboard.end() && it->second != mem) GlobalFree(it->second);
    s.clipboard[format] = mem;
    return mem;
}

HANDLE WINAPI GetClipboardData(UINT format) {
    auto& s = sys();
    if (!s.clipboardOpen) {
        setLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = s.clipboard.find(format);
    return it == s.clipboard.end() ? nullptr : it->second;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) { return sys().clipboard.count(format) ? TRUE : FALSE; }

} // extern "C"
