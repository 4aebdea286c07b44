// Synthetic catalogs for the benchmarks: deterministic, loadable, of the asked-for size, and using
// every node type.
#include "CatalogGenerator.h"
#include "QuarnelTestSupport.h"

#include <set>

using namespace qtest;

using QuarnelGenerator = ManagerTest;

TEST_F(QuarnelGenerator, GeneratedCatalogsLoadWithTheAskedForCounts) {
    quarnel_gen::GenOptions o;
    o.fblocks = 3;
    o.functionsPerFBlock = 40;
    o.seed = 7;
    o.catalogName = "Gen";
    const std::string text = quarnel_gen::generateCatalog(o);
    EXPECT_EQ(text, quarnel_gen::generateCatalog(o)) << "deterministic";
    o.seed = 8;
    EXPECT_NE(text, quarnel_gen::generateCatalog(o));

    const auto file = tmp.path("gen.xml");
    ASSERT_TRUE(quarnel_gen::writeCatalogFile(file.string(), text));
    std::string name;
    ASSERT_EQ(QRN_OK, load(file.string(), &name)) << readFile(logPath());
    EXPECT_EQ("Gen", name);
    std::vector<IdName> fbs, fns, ops;
    mgr->ListFBlocks(fbs, 0, "Gen");
    ASSERT_EQ(3u, fbs.size());
    std::set<int> types;
    for (const IdName& fb : fbs) {
        mgr->ListFunctions(fns, 0, "Gen", fb.id, QRN_ANY_INSTANCE);
        EXPECT_EQ(40u, fns.size());
        for (const IdName& fn : fns) {
            mgr->ListOpTypes(ops, 0, "Gen", fb.id, QRN_ANY_INSTANCE, fn.id);
            for (const IdName& op : ops) {
                std::unique_ptr<KQRNMessageContainer> c(
                    mgr->GetMessageContainer(0, "Gen", fb.id, QRN_ANY_INSTANCE, fn.id, op.id, 1));
                std::vector<KQRNNode*> ns;
                c->GetNodes(ns);
                std::vector<KQRNNode*> stack = ns;
                while (!stack.empty()) {
                    KQRNNode* n = stack.back();
                    stack.pop_back();
                    types.insert(n->GetType());
                    for (KQRNNode* ch : children(n))
                        stack.push_back(ch);
                }
            }
        }
    }
    EXPECT_EQ(15u, types.size()) << "every type code 0 to 14";
}
