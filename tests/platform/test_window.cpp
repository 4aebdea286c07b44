// The window manager: creation order of messages, the window tree, geometry, visibility.
#include "fixture.h"

TEST_F(Win32Test, CreationSendsNcCreateCreateSizeMoveInOrder) {
    Log::clear();
    HWND w = topLevel(200, 100, WS_POPUP);
    ASSERT_TRUE(IsWindow(w));
    std::vector<UINT> seen = Log::of(w);
    std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
    ASSERT_GE(seen.size(), expected.size());
    EXPECT_EQ(std::vector<UINT>(seen.begin(), seen.begin() + 4), expected);
    const Received* size = Log::last(w, WM_SIZE);
    EXPECT_EQ(LOWORD(size->lParam), 200);
    EXPECT_EQ(HIWORD(size->lParam), 100);
    EXPECT_FALSE(IsWindowVisible(w));
}
