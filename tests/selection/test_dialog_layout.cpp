// The selection dialog's layout: where every control lies after a resize in each mode, what shows,
// the minimum size each mode lays out for, and the window heights the details toggle leaves.
// Widths that come from the dialog template (labels, check boxes, the toggle, the small fields
// and boxes) are read from the controls: the layout keeps them and places the rest around them.
#include "DialogFixture.h"
#include "support/WindowSystem.h"

#include <ostream>
#include <set>

namespace {

struct Box {
    int x, y, w, h;
    bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};
void PrintTo(const Box& b, std::ostream* os) {
    *os << "(" << b.x << "," << b.y << " " << b.w << "x" << b.h << ")";
}

struct Place {
    const char* name;
    CWnd* control;
    Box box;
};
using Layout = std::vector<Place>;

class DialogLayoutTest : public DialogFixture {
protected:
    // The window's client area made cx x cy, as a user drags the frame.
    void resizeClient(KMXSDialog* d, int cx, int cy) {
        CRect window = windowRect(*d), client;
        d->GetClientRect(&client);
        d->SetWindowPos(nullptr, 0, 0, cx + window.Width() - client.Width(),
                        cy + window.Height() - client.Height(), SWP_NOMOVE | SWP_NOZORDER);
        w32drv::Pump();
    }
    static Box boxIn(KMXSDialog* d, const CWnd& w) {
        CRect r = windowRect(w);
        d->ScreenToClient(&r);
        return {r.left, r.top, r.Width(), r.Height()};
    }
    // The height of a combo box with its list dropped down.
    // From the box's top to the list's bottom, as Windows documents it; Wine answers the list's
    // height alone
    static int droppedHeight(const CComboBox& box) {
        CRect r, field;
        box.GetDroppedControlRect(&r);
        box.GetWindowRect(&field);
        return r.Height() + (underWine() ? field.Height() : 0);
    }
    // Every listed control where the table says, and no other control of the dialog visible.
    void expectLayout(KMXSDialog* d, const Layout& table) {
        std::set<HWND> listed;
        for (const Place& p : table) {
            listed.insert(p.control->m_hWnd);
            EXPECT_EQ(boxIn(d, *p.control), p.box) << p.name;
            EXPECT_TRUE(p.control->IsWindowVisible()) << p.name;
        }
        for (HWND w = ::GetWindow(d->m_hWnd, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
            if (!listed.count(w)) {
                EXPECT_FALSE(::IsWindowVisible(w)) << "control " << ::GetDlgCtrlID(w);
            }
    }
    // The bottom row, right to left Help, Apply, Cancel, OK, and the option row at y (the check
    // boxes from the left, the toggle at the right margin), for a client area W x H.
    Layout frame(KMXSDialog* d, int W, int H, int y, const Layout& rest) {
        const int ids = width(d->showIdsCheck), tips = width(d->showTooltipsCheck),
                  toggle = width(d->detailsToggle);
        Layout all = {{"help", &d->helpButton, {W - 84, H - 30, 76, 22}},
                      {"apply", &d->applyButton, {W - 170, H - 30, 76, 22}},
                      {"cancel", &d->cancelButton, {W - 256, H - 30, 76, 22}},
                      {"ok", &d->okButton, {W - 342, H - 30, 76, 22}},
                      {"showIds", &d->showIdsCheck, {8, y, ids, 22}},
                      {"showTooltips", &d->showTooltipsCheck, {16 + ids, y, tips, 22}},
                      {"detailsToggle", &d->detailsToggle, {W - 8 - toggle, y, toggle, 22}}};
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    }
};

} // namespace

TEST_F(DialogLayoutTest, SignalModesPlaceTheTreeTheDetailsAndTheInstanceRow) {
    // 500 x 420: with the instance row the details end 84 above the bottom, without it 30
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    resizeClient(d, 500, 420);
    const int L = width(d->nameLabel), arrow = width(d->arrayButton), I = width(d->instanceLabel),
              J = width(d->instanceEdit), K = width(d->channelLabel), box = width(d->channelCombo);
    const int field = 16 + L + 8;
    expectLayout(d, frame(d, 500, 420, 192,
                          {{"tree", &d->tree, {8, 8, 484, 176}},
                           {"filterCombo", &d->filterCombo, {8, 222, 484, 21}},
                           {"detailsFrame", &d->detailsFrame, {8, 252, 484, 76}},
                           {"nameLabel", &d->nameLabel, {16, 273, L, 17}},
                           {"nameEdit", &d->nameEdit, {field, 268, 484 - arrow - 8 - field, 22}},
                           {"arrayButton", &d->arrayButton, {484 - arrow, 268, arrow, 22}},
                           {"typeLabel", &d->typeLabel, {16, 303, L, 17}},
                           {"typeEdit", &d->typeEdit, {field, 298, 484 - field, 22}},
                           {"instanceFrame", &d->instanceFrame, {8, 336, 484, 46}},
                           {"instanceLabel", &d->instanceLabel, {16, 357, I, 17}},
                           {"instanceEdit", &d->instanceEdit, {I + 24, 352, J, 22}},
                           {"channelLabel", &d->channelLabel, {I + J + 40, 357, K, 17}},
                           {"channelCombo", &d->channelCombo, {I + J + K + 48, 352, box, 21}}}));
    EXPECT_EQ(droppedHeight(d->filterCombo), 52);
    EXPECT_EQ(droppedHeight(d->channelCombo), 110);
    // the predefined objects' box takes the channel box's place
    EXPECT_EQ(boxIn(d, d->predefChannelCombo), boxIn(d, d->channelCombo));
    EXPECT_EQ(droppedHeight(d->predefChannelCombo), 110);
    EXPECT_TRUE(d->channelCombo.IsWindowEnabled());
    click(d->cancelButton);

    // without the instance row its controls stay hidden and the channel box off
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow);
    EXPECT_FALSE(d->instanceEdit.IsWindowVisible() || d->channelLabel.IsWindowVisible());
    EXPECT_FALSE(d->channelCombo.IsWindowEnabled());
    // collapsed, only the tree, the option row and the buttons stay
    click(d->detailsToggle);
    resizeClient(d, 500, 420);
    expectLayout(d, frame(d, 500, 420, 360, {{"tree", &d->tree, {8, 8, 484, 344}}}));
}

TEST_F(DialogLayoutTest, AddressModeShowsTheNameAndInstanceOnlyWithTheDetails) {
    KMXSDialog* d = open(kSelectAddressMode | kSelectDetails);
    resizeClient(d, 500, 420);
    const int L = width(d->nameLabel), J = width(d->instanceEdit);
    expectLayout(d, frame(d, 500, 420, 276,
                          {{"tree", &d->tree, {8, 8, 484, 260}},
                           {"detailsFrame", &d->detailsFrame, {8, 306, 484, 76}},
                           {"nameLabel", &d->nameLabel, {16, 327, L, 17}},
                           {"nameEdit", &d->nameEdit, {L + 24, 322, 452 - L, 22}},
                           {"instanceCheck", &d->instanceCheck, {16, 352, L, 22}},
                           {"instanceEdit", &d->instanceEdit, {L + 24, 352, J, 22}}}));
    EXPECT_TRUE(readOnly(d->nameEdit));
    click(d->detailsToggle);
    resizeClient(d, 500, 420);
    expectLayout(d, frame(d, 500, 420, 352, {{"tree", &d->tree, {8, 8, 484, 336}}}));
    click(d->cancelButton);

    // without 0x40 there is no toggle either
    d = open(kSelectAddressMode);
    resizeClient(d, 500, 420);
    Layout table = frame(d, 500, 420, 352, {{"tree", &d->tree, {8, 8, 484, 336}}});
    table.erase(table.begin() + 6); // the toggle
    expectLayout(d, table);
}

TEST_F(DialogLayoutTest, EachModeLaysOutForItsMinimumSize) {
    // a client area of 200 x 100 is laid out as 350 wide and as high as the mode needs
    struct Case {
        unsigned flags;
        bool collapse;
        int height; // the client height laid out for
        int treeHeight;
    };
    const Case cases[] = {{kSelectSignalMode | kSelectDetails, false, 336, 92},
                          {kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, false, 282, 92},
                          {kSelectSignalMode | kSelectDetails, true, 176, 100},
                          // open details raise the minimum by their band, so the tree keeps its rows
                          {kSelectAddressMode | kSelectDetails, false, 196, 36},
                          {kSelectAddressMode | kSelectDetails, true, 120, 36},
                          {kSelectAddressMode, false, 120, 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "flags 0x" << std::hex << c.flags << (c.collapse ? " collapsed" : ""));
        selection->lastState = KMXSSessionState(); // not the size the last case left
        KMXSDialog* d = open(c.flags);
        if (c.collapse) click(d->detailsToggle);
        resizeClient(d, 200, 100);
        EXPECT_EQ(boxIn(d, d->okButton), (Box{8, c.height - 30, 76, 22}));
        EXPECT_EQ(boxIn(d, d->helpButton), (Box{266, c.height - 30, 76, 22}));
        EXPECT_EQ(boxIn(d, d->tree), (Box{8, 8, 334, c.treeHeight}));
        command(d, d->cancelButton, BN_CLICKED); // the button lies outside the small window
        w32drv::Pump();
    }
}

TEST_F(DialogLayoutTest, TheToggleResizesTheWindowByTheDetailsBandAndKeepsAMinimum) {
    // client heights of the window before the toggle and after it; a second toggle brings the
    // window back
    struct Case {
        unsigned flags;
        bool startCollapsed;
        int clientHeight;
        int heightAfter; // client part of the window height after the toggle
    };
    const Case cases[] = {
        {kSelectSignalMode | kSelectDetails, true, 369, 369 + 168},
        {kSelectSignalMode | kSelectDetails, false, 537, 537 - 168},
        {kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, true, 300, 414},
        {kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, false, 300, 186},
        {kSelectAddressMode | kSelectDetails, false, 369, 293},
        {kSelectAddressMode | kSelectDetails, true, 293, 369},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "flags 0x" << std::hex << c.flags << (c.startCollapsed ? " closed" : ""));
        selection->lastState = KMXSSessionState();
        selection->lastState.detailsExpanded = !c.startCollapsed;
        KMXSDialog* d = open(c.flags);
        if (c.startCollapsed && (c.flags & kSelectAddressMode)) click(d->detailsToggle);
        resizeClient(d, 400, c.clientHeight);
        d->SetWindowPos(nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        CRect window = windowRect(*d), client;
        d->GetClientRect(&client);
        click(d->detailsToggle);
        EXPECT_EQ(windowRect(*d),
                  CRect(30, 40, 30 + window.Width(), 40 + c.heightAfter + window.Height() - client.Height()));
        EXPECT_EQ(d->nameEdit.IsWindowVisible(), c.startCollapsed);
        EXPECT_EQ(text(d->detailsToggle), LoadResourceText(IDS_DETAILS) + (c.startCollapsed ? " <<" : " >>"));
        click(d->detailsToggle); // and back
        EXPECT_EQ(windowRect(*d), window);
        click(d->cancelButton);
    }
    // a closed window is at least 200 high (frame included); below that its client area is 200
    // high. Closing takes the details band away: a window 368 high (frame included) closes to
    // exactly 200 (the frame's height is the window system's)
    int frame = 0;
    {
        KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
        CRect client;
        d->GetClientRect(&client);
        frame = windowRect(*d).Height() - client.Height();
        click(d->cancelButton);
    }
    const std::pair<int, int> smallest[] = {{367 - frame, frame + 200}, {368 - frame, 200}, {369 - frame, 201}};
    for (const auto& [clientHeight, after] : smallest) {
        selection->lastState = KMXSSessionState();
        KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
        resizeClient(d, 400, clientHeight);
        ASSERT_EQ(windowRect(*d).Height() - clientHeight, frame);
        click(d->detailsToggle);
        EXPECT_EQ(windowRect(*d).Height(), after) << clientHeight;
        click(d->cancelButton);
    }
    // a window narrower than the layout's minimum is widened to it
    KMXSDialog* d = open(kSelectAddressMode | kSelectDetails);
    resizeClient(d, 300, 369);
    d->SetWindowPos(nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    click(d->detailsToggle);
    CRect client;
    d->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 350);
    EXPECT_EQ(client.Height(), 293);
    EXPECT_EQ(windowRect(*d).TopLeft(), CPoint(30, 40));
}
