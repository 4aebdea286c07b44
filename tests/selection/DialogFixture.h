// A modeless selection dialog of a selection model over small catalogs, driven as a user would,
// with a listener that records every report and help request.
#pragma once
#include "selection/MXSDialog.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"
#include "TestCatalogs.h"

#include <Quarnel.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

// Records each report as a line: "final " for a closing one, then every member of each object
// (catalog|FBlock|function|OpType|name|path|extra text|signal text|type|channel|instance, with
// "#id " before a predefined one and "|-" after an unchecked one), "; " between the objects.
class RecordingListener : public KMXSListener {
public:
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) override {
        std::string line = final ? "final " : "";
        for (const KMXSObject& o : objects) {
            if (&o != &objects.front()) line += "; ";
            if (o.predefined) line += "#" + std::to_string(o.predefinedId) + " ";
            for (const std::string* t : {&o.fcat, &o.fblock, &o.function, &o.opType, &o.parameterName,
                                         &o.parameterPath, &o.extraText, &o.signalText})
                line += *t + "|";
            line += std::to_string(o.typeCode) + "|" + std::to_string(o.channel) + "|" +
                    std::to_string(o.instance) + (o.instanceChecked ? "" : "|-");
        }
        reports.push_back(line);
    }
    void OnHelp(int code) override { help.push_back(code); }
    Texts reports;
    std::vector<int> help;
};

class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0);
        ASSERT_EQ(gQRNCreateFCatManager(&handle, "tests"), 0);
        dir = std::filesystem::temp_directory_path() / ("pelorin-dialog-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        load("car.xml", kCar);
        selection = std::make_unique<KMXSSelection>(handle);
    }
    void TearDown() override {
        if (selection) selection->CloseModelessDialog();
        selection.reset();
        gQRNDestroyFCatManager(handle);
        std::filesystem::remove_all(dir);
        ResetProcessStateForTests();
        w32drv::Reset();
    }
    void load(const char* name, const char* text) {
        std::filesystem::path file = dir / name;
        std::ofstream(file) << text;
        std::string catalog;
        ASSERT_EQ(
            gQRNFCatManager(handle)->LoadFCat(file.string(), QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, ""), 0);
    }
    // A modeless dialog of the selection, as SelectObject opens it (d, when given, is the
    // dialog object to use).
    KMXSDialog* open(unsigned flags, unsigned channels = 2, KMXSDialog* d = nullptr) {
        if (!d) d = new KMXSDialog(handle, &listener, &selection->lastState, flags, selection.get(), nullptr);
        d->channelCount = channels;
        d->predefinedObjects = predefined;
        selection->modelessOpen = true;
        selection->modelessDialog = d;
        EXPECT_TRUE(d->Create(IDD_SELECTION, nullptr));
        d->ShowWindow(SW_SHOW);
        w32drv::Pump();
        return d;
    }
    // The row of a path, opening the levels on the way as the user would.
    HTREEITEM row(KMXSDialog* d, const std::string& path) {
        HTREEITEM at = TVI_ROOT;
        for (size_t from = 0;;) {
            size_t dot = path.find('.', from);
            HTREEITEM next = d->catalogTree->FindItemByPath(path.substr(0, dot), at);
            if (!next) return nullptr;
            at = next;
            if (dot == std::string::npos) return at;
            d->tree.Expand(at, TVE_EXPAND);
            from = dot + 1;
        }
    }
    void select(KMXSDialog* d, const std::string& path) {
        HTREEITEM r = row(d, path);
        ASSERT_NE(r, nullptr) << path;
        d->tree.SelectItem(r);
    }
    void click(CWnd& w) {
        w32drv::ClickWindow(w.m_hWnd);
        w32drv::Pump();
    }
    // What the tree tells its parent on a click or a double click.
    void notify(KMXSDialog* d, UINT code) {
        NMHDR nm{d->tree.m_hWnd, IDC_TREE, code};
        d->SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&nm));
    }
    void command(KMXSDialog* d, CWnd& control, WORD code) {
        d->SendMessage(WM_COMMAND, MAKEWPARAM(control.GetDlgCtrlID(), code),
                       reinterpret_cast<LPARAM>(control.m_hWnd));
    }
    // The user picks the entry of the filter box.
    void chooseFilter(KMXSDialog* d, int index) {
        d->filterCombo.SetCurSel(index);
        command(d, d->filterCombo, CBN_SELCHANGE);
    }
    static std::string text(const CWnd& w) {
        std::string t;
        w.GetWindowText(t);
        return t;
    }
    static bool readOnly(const CWnd& edit) {
        return (::GetWindowLongA(edit.m_hWnd, GWL_STYLE) & ES_READONLY) != 0;
    }
    static CRect windowRect(const CWnd& w) {
        CRect r;
        w.GetWindowRect(&r);
        return r;
    }
    static int width(const CWnd& w) { return windowRect(w).Width(); }

    QRNHandle handle = 0;
    std::filesystem::path dir;
    std::unique_ptr<KMXSSelection> selection;
    std::list<KMXSPredefObjectCfg> predefined;
    RecordingListener listener;
};
