// The headless driver: queued input, pumping, message box answers and records (inspection and
// pictures are in driver/, through the API alone).
#include "core.h"
#include "../driver/inspect.h"
#include <w32drv.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace w32 {
void resetSystem();
bool getMessage(MSG* msg, HWND filter, UINT min, UINT max);
void recordDrawing(bool on);
std::vector<w32drv::Drawing> drawings();
w32drv::GdiObjects liveGdiObjects();
} // namespace w32

// Registered messages: one number per name (case-insensitive) for the life of the process, as the
// window station keeps them on Windows; resetting the window system keeps them too.
UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static auto* table = new std::map<std::string, UINT>;
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto it = table->find(key);
    if (it != table->end()) return it->second;
    if (table->size() >= 0x4000) return 0;
    UINT id = static_cast<UINT>(0xC000 + table->size());
    table->emplace(key, id);
    return id;
}

using namespace w32;

namespace w32drv {

static void queue(InputEvent ev) { sys().pendingInput.push_back(std::move(ev)); }

void KeyDown(UINT vk) { queue(InputEvent{InputEvent::KeyDown, vk}); }
void KeyUp(UINT vk) { queue(InputEvent{InputEvent::KeyUp, vk}); }

void QueueChar(char ch) {
    InputEvent ev{InputEvent::Char};
    ev.ch = ch;
    queue(ev);
}

void Wait(DWORD ms) {
    InputEvent ev{InputEvent::Wait};
    ev.ms = ms;
    queue(ev);
}

static void mouse(InputEvent::Kind kind, POINT pt) {
    InputEvent ev{kind};
    ev.pt = pt;
    queue(ev);
}

void MouseMove(POINT screen) { mouse(InputEvent::MouseMove, screen); }
void MouseDown(POINT screen) { mouse(InputEvent::MouseDown, screen); }
void MouseUp(POINT screen) { mouse(InputEvent::MouseUp, screen); }

void Wheel(POINT screen, int delta) {
    InputEvent ev{InputEvent::Wheel};
    ev.pt = screen;
    ev.delta = delta;
    queue(ev);
}

void SwitchAway() { queue(InputEvent{InputEvent::SwitchAway}); }

void SwitchBack(HWND hwnd) {
    InputEvent ev{InputEvent::SwitchBack};
    ev.hwnd = hwnd;
    queue(ev);
}

void Call(std::function<void()> action) {
    InputEvent ev{InputEvent::Call};
    ev.action = std::move(action);
    queue(std::move(ev));
}

static void CALLBACK runTimedCall(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto& calls = sys().timedCalls;
    auto it = calls.find(id);
    if (it == calls.end()) return;
    auto action = std::move(it->second);
    calls.erase(it);
    action();
}

void CallAt(DWORD ms, std::function<void()> action) {
    sys().timedCalls[SetTimer(nullptr, 0, ms, runTimedCall)] = std::move(action);
}

void SetInputSource(std::function<bool()> source) { sys().inputSource = std::move(source); }

size_t PendingInput() { return sys().pendingInput.size(); }
void ClearInput() { dropInput(); }

static void dispatch(MSG& m) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

void PumpReady() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        dispatch(m);
    }
}

void Pump() {
    for (;;) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                return;
            }
            dispatch(m);
            continue;
        }
        if (!feedInput()) return;
    }
}

DWORD Now() { return static_cast<DWORD>(sys().clock); }

void AnswerMessageBox(int answer) { sys().answers.push_back(answer); }

void SetMessageBoxAnswerer(std::function<int(const MessageBoxRecord& box)> answerer) {
    if (!answerer) {
        sys().answerer = nullptr;
        return;
    }
    sys().answerer = [answerer = std::move(answerer)](const System::MessageBoxRecord& r) {
        return answerer(MessageBoxRecord{r.owner, r.text, r.caption, r.style, r.answer});
    };
}

std::vector<MessageBoxRecord> MessageBoxes() {
    std::vector<MessageBoxRecord> out;
    for (auto& r : sys().messageBoxes) out.push_back(MessageBoxRecord{r.owner, r.text, r.caption, r.style, r.answer});
    return out;
}

std::vector<UINT> Beeps() { return sys().beeps; }
std::vector<HCURSOR> CursorChanges() { return sys().cursorChanges; }
std::vector<HWND> InputExhaustedDialogs() { return sys().inputExhausted; }

void ClearRecords() {
    auto& s = sys();
    s.messageBoxes.clear();
    s.beeps.clear();
    s.cursorChanges.clear();
    s.inputExhausted.clear();
}

size_t InstalledHooks() { return sys().hooks.size(); }

void RecordDrawing(bool on) { recordDrawing(on); }
std::vector<Drawing> Drawings() { return drawings(); }
GdiObjects LiveGdiObjects() { return liveGdiObjects(); }

void Reset() {
    resetSystem();
    recordDrawing(false);
}

} // namespace w32drv
