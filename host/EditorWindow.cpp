#include "host/Host.h"
#include "host/Text.h"

#include <windows.h>

namespace {
LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // the editor writes in the dialog font; the assistance measures the typed text with it
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
} // namespace

void* CreateEditorWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = editorProc;
    wc.lpszClassName = "PelorinHostEditor";
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    return CreateWindowExA(0, "PelorinHostEditor", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 900, 300, nullptr,
                           nullptr, nullptr, nullptr);
}

bool ParseEditorArguments(const std::vector<std::string>& args, std::string& line, bool& help, UsageError& error) {
    std::string utf8 = "output(msg = \"AudioAmplifier.Volume.Set(10)\");";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            help = true;
            return false;
        }
        if (args[i] == "--line") {
            if (i + 1 >= args.size()) {
                error.message = "--line needs a value";
                return false;
            }
            utf8 = args[++i];
        } else {
            error.message = "tui: unknown option " + Excerpt(args[i]) + " (see tui --help)";
            return false;
        }
    }
    error.message = Cp1252Argument("--line", utf8, line);
    return error.message.empty();
}
