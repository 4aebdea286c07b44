// Text pictures: a window, its visible children and the visible pop-ups it owns, drawn on a grid
// of character cells (6 x 13 pixels, the character cell of the dialog font).
//
//   +-- Caption --+   window frame (the caption only with WS_CAPTION)
//   [text|     ]      edit: '|' is the caret of the focused edit, {..} its selection
//   [ OK ]  [[OK]]    push button, default push button; {OK} when disabled
//   [x] [ ] [-]       check box checked, unchecked, indeterminate; (o) ( ) radio buttons
//   >item             list box row of the selected item; ^ and v mark rows scrolled out of view
//   [text        v]   combo box
//   >*-Parent         a window that describes its rows (w32drv.h): '>' caret row, '*' selected,
//    ~  +Child        '~' disabled, two spaces a level, '+' closed, '-' open, ' ' no children
#include "inspect.h"
#include <w32drv.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace w32drv {
namespace {

constexpr int kCellW = 6;
constexpr int kCellH = 13;

struct Cells {
    int l, t, r, b; // r, b exclusive
    int mid = 0;    // the row of the vertical centre: where a one-line control is drawn
    int width() const { return r - l; }
    int height() const { return b - t; }
    bool empty() const { return r <= l || b <= t; }
};

Cells intersect(const Cells& a, const Cells& b) {
    return Cells{std::max(a.l, b.l), std::max(a.t, b.t), std::min(a.r, b.r), std::min(a.b, b.b), a.mid};
}

// A one-line control occupies only the row of its centre.
Cells lineOf(const Cells& a) { return Cells{a.l, a.mid, a.r, a.mid + 1, a.mid}; }

class Canvas {
public:
    void put(int row, int col, char ch, const Cells& clip) {
        if (row < clip.t || row >= clip.b || col < clip.l || col >= clip.r) return;
        cells_[row][col] = ch;
    }
    void text(int row, int col, const std::string& s, const Cells& clip) {
        for (size_t i = 0; i < s.size(); ++i) put(row, col + static_cast<int>(i), s[i], clip);
    }
    void fill(const Cells& area, const Cells& clip) {
        for (int r = area.t; r < area.b; ++r)
            for (int c = area.l; c < area.r; ++c) put(r, c, ' ', clip);
    }
    void box(const Cells& a, const std::string& title, const Cells& clip) {
        if (a.width() < 2 || a.height() < 2) return;
        for (int c = a.l; c < a.r; ++c) {
            put(a.t, c, '-', clip);
            put(a.b - 1, c, '-', clip);
        }
        for (int r = a.t; r < a.b; ++r) {
            put(r, a.l, '|', clip);
            put(r, a.r - 1, '|', clip);
        }
        put(a.t, a.l, '+', clip);
        put(a.t, a.r - 1, '+', clip);
        put(a.b - 1, a.l, '+', clip);
        put(a.b - 1, a.r - 1, '+', clip);
        if (!title.empty() && a.width() > 6)
            text(a.t, a.l + 2, " " + title.substr(0, static_cast<size_t>(a.width() - 6)) + " ",
                 Cells{clip.l, clip.t, std::min(clip.r, a.r - 1), clip.b});
    }
    std::string str() const {
        if (cells_.empty()) return "";
        int minCol = INT32_MAX, maxCol = INT32_MIN;
        for (auto& row : cells_)
            for (auto& c : row.second) {
                minCol = std::min(minCol, c.first);
                maxCol = std::max(maxCol, c.first);
            }
        std::ostringstream out;
        int first = cells_.begin()->first, last = cells_.rbegin()->first;
        for (int r = first; r <= last; ++r) {
            std::string line(static_cast<size_t>(maxCol - minCol + 1), ' ');
            auto it = cells_.find(r);
            if (it != cells_.end())
                for (auto& c : it->second) line[static_cast<size_t>(c.first - minCol)] = c.second;
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out << line << '\n';
        }
        return out.str();
    }

private:
    std::map<int, std::map<int, char>> cells_;
};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string withoutMnemonics(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            out.push_back(s[++i]);
            continue;
        }
        out.push_back(s[i]);
    }
    return out;
}

std::string padTo(std::string s, int width) {
    if (width <= 0) return "";
    if (static_cast<int>(s.size()) > width) s.resize(static_cast<size_t>(width));
    s.append(static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

class Painter {
public:
    explicit Painter(HWND main) {
        RECT c = clientOnScreen(main);
        origin_ = POINT{c.left, c.top};
    }

    Cells cellsOf(const RECT& screen) const {
        int l = (screen.left - origin_.x + kCellW / 2) / kCellW - (screen.left < origin_.x ? 1 : 0);
        int r = (screen.right - origin_.x + kCellW / 2) / kCellW - (screen.right < origin_.x ? 1 : 0);
        int t = (screen.top - origin_.y + kCellH / 2) / kCellH - (screen.top < origin_.y ? 1 : 0);
        int b = (screen.bottom - origin_.y + kCellH / 2) / kCellH - (screen.bottom < origin_.y ? 1 : 0);
        if (r <= l) r = l + 1;
        if (b <= t) b = t + 1;
        int centre = (screen.top + screen.bottom) / 2 - origin_.y;
        int mid = centre >= 0 ? centre / kCellH : -((-centre + kCellH - 1) / kCellH);
        return Cells{l, t, r, b, std::min(std::max(mid, t), b - 1)};
    }

    void topLevel(HWND hwnd, const Cells& clip) {
        if (!IsWindow(hwnd)) return;
        RECT clientRect = clientOnScreen(hwnd), frame{};
        GetWindowRect(hwnd, &frame);
        DWORD style = styleOf(hwnd);
        Cells client = cellsOf(clientRect);
        bool framed = clientRect.left > frame.left || clientRect.top > frame.top || (style & (WS_BORDER | WS_DLGFRAME));
        Cells outer = framed ? Cells{client.l - 1, client.t - 1, client.r + 1, client.b + 1} : client;
        canvas_.fill(outer, clip);
        if (framed) canvas_.box(outer, (style & WS_CAPTION) == WS_CAPTION ? windowText(hwnd) : "", clip);
        content(hwnd, client, intersect(client, clip));
        children(hwnd, intersect(client, clip));
    }

    void children(HWND parent, const Cells& clip) {
        std::vector<HWND> list = Children(parent);
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (!IsWindow(*it) || !(styleOf(*it) & WS_VISIBLE)) continue;
            Cells cell = cellsOf(windowOnScreen(*it));
            Cells inner = intersect(cell, clip);
            if (inner.empty()) continue;
            content(*it, cell, inner);
            children(*it, intersect(cellsOf(clientOnScreen(*it)), clip));
        }
    }

    void childWindow(HWND hwnd, const Cells& clip) {
        if (!IsWindow(hwnd)) return;
        content(hwnd, cellsOf(windowOnScreen(hwnd)), clip);
        children(hwnd, intersect(cellsOf(clientOnScreen(hwnd)), clip));
    }

    std::string str() const { return canvas_.str(); }

private:
    void content(HWND hwnd, const Cells& a, const Cells& clip) {
        std::string cls = lower(classOf(hwnd));
        bool hasChildren = GetWindow(hwnd, GW_CHILD) != nullptr;
        if (!parentOf(hwnd) && cls != "tooltips_class32" && cls != "combolbox" && cls != "listbox") return;
        if (cls == "edit") edit(hwnd, a, clip);
        else if (cls == "button") button(hwnd, a, clip);
        else if (cls == "static") staticText(hwnd, a, clip);
        else if (cls == "listbox" || cls == "combolbox") listBox(hwnd, a, clip);
        else if (cls == "combobox") comboBox(hwnd, a, clip);
        else if (cls == "tooltips_class32") tooltip(hwnd, a, clip);
        else if (!hasChildren && rows(hwnd, a, clip)) return;
        else if (!hasChildren) {
            bool bordered = (styleOf(hwnd) & WS_BORDER) || (exStyleOf(hwnd) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
            canvas_.fill(a, clip);
            if (bordered && a.height() >= 2) canvas_.box(a, "", clip);
            std::string t = windowText(hwnd);
            int row = a.height() >= 3 ? a.t + 1 : a.t;
            canvas_.text(row, a.l + (bordered ? 1 : 0), t.substr(0, static_cast<size_t>(std::max(0, a.width() - 2))), clip);
        }
    }

    void edit(HWND hwnd, const Cells& a, const Cells& clip) {
        std::string t = windowText(hwnd);
        DWORD s = 0, e = 0;
        SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        size_t first = static_cast<size_t>(std::max<LRESULT>(0, SendMessageA(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0)));
        if (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE) first = 0;
        if (GetWindowLongA(hwnd, GWL_STYLE) & ES_PASSWORD) t.assign(t.size(), '*');
        if (GetFocus() == hwnd) {
            size_t ss = std::min<size_t>(s, t.size()), ee = std::min<size_t>(e, t.size());
            if (ss == ee) {
                t.insert(ss, "|");
            } else {
                t.insert(ee, "}");
                t.insert(ss, "{");
            }
            if (first > ss) first = ss;
        }
        t = first < t.size() ? t.substr(first) : "";
        canvas_.fill(lineOf(a), clip);
        canvas_.text(a.mid, a.l, "[" + padTo(t, a.width() - 2) + "]", clip);
    }

    void button(HWND hwnd, const Cells& a, const Cells& clip) {
        DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
        DWORD kind = style & BS_TYPEMASK;
        std::string t = withoutMnemonics(windowText(hwnd));
        bool enabled = IsWindowEnabled(hwnd);
        if (kind == BS_GROUPBOX) {
            if (a.height() >= 2)
                canvas_.box(a, t, clip);
            else
                canvas_.text(a.t, a.l, t, clip);
            return;
        }
        canvas_.fill(lineOf(a), clip);
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE) {
            LRESULT c = SendMessageA(hwnd, BM_GETCHECK, 0, 0);
            std::string mark = c == BST_CHECKED ? "[x] " : c == BST_INDETERMINATE ? "[-] " : "[ ] ";
            canvas_.text(a.mid, a.l, padTo(mark + t, a.width()), clip);
            return;
        }
        if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) {
            std::string mark = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? "(o) " : "( ) ";
            canvas_.text(a.mid, a.l, padTo(mark + t, a.width()), clip);
            return;
        }
        std::string label = !enabled ? "{" + t + "}" : kind == BS_DEFPUSHBUTTON ? "[[" + t + "]]" : "[ " + t + " ]";
        int col = a.l + std::max(0, (a.width() - static_cast<int>(label.size())) / 2);
        canvas_.text(a.mid, col, label.substr(0, static_cast<size_t>(std::max(0, a.r - col))), clip);
    }

    void staticText(HWND hwnd, const Cells& a, const Cells& clip) {
        DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
        DWORD type = style & SS_TYPEMASK;
        if (type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME || type == SS_ETCHEDFRAME) {
            if (a.height() >= 2) canvas_.box(a, "", clip);
            return;
        }
        if (type == SS_ETCHEDHORZ) {
            canvas_.text(a.t, a.l, std::string(static_cast<size_t>(a.width()), '-'), clip);
            return;
        }
        if (type == SS_ICON || type == SS_BITMAP || type == SS_OWNERDRAW) return;
        std::string t = windowText(hwnd);
        if (!(style & SS_NOPREFIX)) t = withoutMnemonics(t);
        bool wrap = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        std::vector<std::string> lines;
        std::istringstream in(t);
        std::string para;
        size_t width = static_cast<size_t>(std::max(1, a.width()));
        while (std::getline(in, para)) {
            if (!wrap) {
                lines.push_back(para);
                continue;
            }
            while (para.size() > width) {
                size_t cut = para.rfind(' ', width);
                if (cut == std::string::npos || cut == 0) cut = width;
                lines.push_back(para.substr(0, cut));
                para.erase(0, para[cut] == ' ' ? cut + 1 : cut);
            }
            lines.push_back(para);
        }
        Cells area = a.height() <= 2 && lines.size() <= 1 ? lineOf(a) : a;
        canvas_.fill(area, clip);
        for (int i = 0; i < area.height() && i < static_cast<int>(lines.size()); ++i) {
            std::string line = lines[static_cast<size_t>(i)].substr(0, width);
            int col = a.l;
            if (type == SS_CENTER) col += (a.width() - static_cast<int>(line.size())) / 2;
            if (type == SS_RIGHT) col += a.width() - static_cast<int>(line.size());
            canvas_.text(area.t + i, col, line, clip);
        }
    }

    void listBox(HWND hwnd, const Cells& a, const Cells& clip) {
        // a pop-up list gets its frame from the top-level drawing
        bool framed = parentOf(hwnd) && ((styleOf(hwnd) & (WS_BORDER | WS_DLGFRAME)) || (exStyleOf(hwnd) & WS_EX_CLIENTEDGE));
        Cells inner = a;
        canvas_.fill(a, clip);
        if (framed && a.height() >= 3 && a.width() >= 3) {
            canvas_.box(a, "", clip);
            inner = Cells{a.l + 1, a.t + 1, a.r - 1, a.b - 1};
        }
        LRESULT count = SendMessageA(hwnd, LB_GETCOUNT, 0, 0);
        LRESULT top = std::max<LRESULT>(0, SendMessageA(hwnd, LB_GETTOPINDEX, 0, 0));
        LRESULT sel = SendMessageA(hwnd, LB_GETCURSEL, 0, 0);
        int rows = inner.height();
        for (int i = 0; i < rows && top + i < count; ++i) {
            LRESULT idx = top + i;
            LRESULT len = SendMessageA(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(idx), 0);
            std::string item(static_cast<size_t>(std::max<LRESULT>(0, len)) + 1, '\0');
            SendMessageA(hwnd, LB_GETTEXT, static_cast<WPARAM>(idx), reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(std::max<LRESULT>(0, len)));
            bool selected = idx == sel || SendMessageA(hwnd, LB_GETSEL, static_cast<WPARAM>(idx), 0) > 0;
            canvas_.text(inner.t + i, inner.l, padTo((selected ? ">" : " ") + item, inner.width()), clip);
        }
        if (top > 0 && rows > 0) canvas_.put(inner.t, inner.r - 1, '^', clip);
        if (count - top > rows && rows > 0) canvas_.put(inner.b - 1, inner.r - 1, 'v', clip);
    }

    // A window that describes its rows: the rows in view, as many as the cells hold.
    bool rows(HWND hwnd, const Cells& a, const Cells& clip) {
        std::vector<w32drv::TreeRow> rows;
        int top = 0, page = -1;
        if (!describeWindow(hwnd, rows, top, page)) return false;
        if (!IsWindow(hwnd)) return true;
        bool framed = (styleOf(hwnd) & WS_BORDER) || (exStyleOf(hwnd) & WS_EX_CLIENTEDGE);
        Cells inner = a;
        canvas_.fill(a, clip);
        if (framed && a.height() >= 3 && a.width() >= 3) {
            canvas_.box(a, "", clip);
            inner = Cells{a.l + 1, a.t + 1, a.r - 1, a.b - 1};
        }
        int count = static_cast<int>(rows.size());
        top = std::max(0, std::min(top, count));
        int shown = page >= 0 ? std::min(inner.height(), page) : inner.height();
        for (int i = 0; i < shown && top + i < count; ++i) {
            const w32drv::TreeRow& r = rows[static_cast<size_t>(top + i)];
            std::string line;
            line += r.caret ? '>' : ' ';
            line += r.disabled ? '~' : r.selected ? '*' : ' ';
            line.append(static_cast<size_t>(std::max(0, r.depth) * 2), ' ');
            line += r.expanded ? '-' : r.hasChildren ? '+' : ' ';
            line += r.text;
            canvas_.text(inner.t + i, inner.l, padTo(line, inner.width()), clip);
        }
        if (top > 0 && shown > 0) canvas_.put(inner.t, inner.r - 1, '^', clip);
        if (count - top > shown && shown > 0) canvas_.put(inner.t + shown - 1, inner.r - 1, 'v', clip);
        return true;
    }

    void comboBox(HWND hwnd, const Cells& a, const Cells& clip) {
        std::string t = windowText(hwnd);
        LRESULT sel = SendMessageA(hwnd, CB_GETCURSEL, 0, 0);
        if (sel >= 0 && (GetWindowLongA(hwnd, GWL_STYLE) & 3) == CBS_DROPDOWNLIST) {
            LRESULT len = SendMessageA(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
            t.assign(static_cast<size_t>(std::max<LRESULT>(0, len)) + 1, '\0');
            SendMessageA(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(t.data()));
            t.resize(static_cast<size_t>(std::max<LRESULT>(0, len)));
        }
        canvas_.fill(lineOf(a), clip);
        canvas_.text(a.mid, a.l, "[" + padTo(t, a.width() - 3) + "v]", clip);
    }

    void tooltip(HWND hwnd, const Cells& a, const Cells& clip) {
        std::string t = windowText(hwnd);
        std::vector<std::string> lines;
        std::istringstream in(t);
        std::string line;
        size_t longest = 0;
        while (std::getline(in, line)) {
            lines.push_back(line);
            longest = std::max(longest, line.size());
        }
        Cells box{a.l, a.t, std::max(a.r, a.l + static_cast<int>(longest) + 2), std::max(a.b, a.t + static_cast<int>(lines.size()) + 2)};
        Cells wide{clip.l, clip.t, std::max(clip.r, box.r), std::max(clip.b, box.b)};
        canvas_.fill(box, wide);
        canvas_.box(box, "", wide);
        for (size_t i = 0; i < lines.size(); ++i) canvas_.text(box.t + 1 + static_cast<int>(i), box.l + 1, lines[i], wide);
    }

    POINT origin_;
    Canvas canvas_;
};

// Bottom first, each owner before what it owns.
void ownedPopups(HWND owner, const std::vector<HWND>& tops, std::vector<HWND>& out) {
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        if (GetWindow(*it, GW_OWNER) != owner || !(styleOf(*it) & WS_VISIBLE)) continue;
        out.push_back(*it);
        ownedPopups(*it, tops, out);
    }
}

} // namespace

std::string Picture(HWND hwnd) {
    if (!IsWindow(hwnd)) return "";
    Painter painter(hwnd);
    Cells everything{-100000, -100000, 100000, 100000};
    if (parentOf(hwnd)) {
        painter.childWindow(hwnd, everything);
    } else {
        painter.topLevel(hwnd, everything);
        std::vector<HWND> popups;
        ownedPopups(hwnd, topLevelWindowsOfThisProcess(), popups);
        for (HWND p : popups) painter.topLevel(p, everything);
    }
    return painter.str();
}

} // namespace w32drv
