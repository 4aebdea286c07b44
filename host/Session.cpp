#include "host/Host.h"
#include "host/Text.h"

#include "facade/Pelorin.h"

#include <Quarnel.h>
#include <windows.h>

HostSession::HostSession(std::vector<std::string> given) : given_(std::move(given)) {}

HostSession::~HostSession() {
    if (selector_) selector_->Close();
    selector_.reset();
    if (manager_) gQRNDestroyFCatManager(static_cast<QRNHandle>(manager_));
    if (editor_) DestroyWindow(static_cast<HWND>(editor_));
}

bool HostSession::Files(std::vector<std::string>& files, UsageError& error) {
    files = CatalogFiles(given_, error);
    return error.message.empty();
}

unsigned long HostSession::Manager(UsageError& error) {
    if (manager_) return manager_;
    std::vector<std::string> files;
    if (!Files(files, error)) return 0;
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "pelorin-host") != 0) {
        error.message = "the catalog library cannot create a manager";
        return 0;
    }
    KQRNFCatManager* m = gQRNFCatManager(handle);
    for (const auto& f : files) {
        std::string name;
        if (m->LoadFCat(f, QRN_LOAD_REPLACE, name, QRN_LOG_NONE, "") != 0) {
            gQRNDestroyFCatManager(handle);
            error.message = "cannot load catalog " + Excerpt(f);
            return 0;
        }
    }
    manager_ = handle;
    return manager_;
}

void* HostSession::Editor() {
    if (!editor_) editor_ = CreateEditorWindow("Pelorin host");
    return editor_;
}

KPelorin* HostSession::Selector(UsageError& error) {
    if (selector_) return selector_.get();
    std::vector<std::string> files;
    if (!Files(files, error)) return nullptr;
    selector_ = std::make_unique<KPelorin>(static_cast<HWND>(Editor()));
    for (const auto& f : files) selector_->AddFCat(f.c_str());
    return selector_.get();
}
