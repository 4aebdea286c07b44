// Catalog files are UTF-8; every text the library hands out is in code page 1252, the
// system's narrow strings. Characters the code page lacks read as '?' and the log says so.
// Expected texts are written as 1252 bytes in octal escapes ("R\344der" is Räder).

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {

const char kCatalog[] = u8R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Fahrzeug"><Description>Straße, Café, 5 €, Œ™Ÿ</Description>
  <FBlock ID="0x10" Name="Räder"><Device Name="Vorderachse"><Description>Größe</Description></Device>
    <Function ID="0x100" Name="Drück" Kind="Property"><Description>Übersicht</Description>
      <OPType ID="0x0" Name="Einstellen">
        <Parameter Name="Richtung"><TEnum><TEnumValue Code="0" Name="Vorwärts"/><TEnumValue Code="1" Name="Zurück"/></TEnum></Parameter>
        <Parameter Name="Türen"><TBoolField><TBit Pos="0" Name="Tür vorn"/><TBit Pos="1" Name="Tür hinten"/></TBoolField></Parameter>
        <Parameter Name="Temperatur"><TNumber Type="SByte" Unit="°C"/></Parameter>
        <Parameter Name="Straße"><TString MaxLength="20"/></Parameter>
      </OPType>
    </Function>
  </FBlock>
</FunctionCatalog>
)";

} // namespace

using QuarnelCodePage = ManagerTest;

// Names in parameter texts are 1252 like the catalog's; string data stays the bytes given.
TEST_F(QuarnelCodePage, TextsComeOutIn1252AndNamesAreTakenIn1252) {
    ASSERT_EQ(QRN_OK, loadText(kCatalog)) << log();
    EXPECT_FALSE(logged("warning"));
    EXPECT_EQ("Stra\337e, Caf\351, 5 \200, \214\231\237", mgr->GetFCatDescription("Fahrzeug"));
    std::string catalog;
    std::int32_t fb = -1, fn = -1, op = -1;
    EXPECT_EQ(3, mgr->LookupIds(0, "", "R\344der", QRN_ANY_INSTANCE, "Dr\374ck", "Einstellen", catalog, fb,
                                fn, op, 0));
    EXPECT_EQ(0, mgr->LookupIds(0, "", u8"Räder", QRN_ANY_INSTANCE, "", "", catalog, fb, fn, op, 0))
        << "UTF-8 spellings are not the system's names";

    auto c = container("Fahrzeug", 0x10, 0x100, 0x0);
    EXPECT_EQ("Vorderachse", c->GetDeviceName());
    EXPECT_EQ("Gr\366\337e", c->GetDeviceDescription());
    EXPECT_EQ("\334bersicht", c->GetFunctionDescription());
    const auto ns = nodes(*c);
    ASSERT_EQ(4u, ns.size());
    EXPECT_EQ("\260C", ns[2]->GetExtraText());
    EXPECT_EQ("Vorw\344rts; Zur\374ck", texts(ns[0]));
    EXPECT_EQ("Stra\337e", ns[3]->GetPath());

    auto m = message(0x10, 0x100, 0x0);
    int status = -1, index = -1;
    m->SetParameterTexts({"Zur\374ck", "T\374r vorn|T\374r hinten", "-5", "\"Stra\337e\""}, status, index);
    ASSERT_EQ(QRN_TEXT_OK, status);
    EXPECT_EQ("01 03 FB 00 53 74 72 61 DF 65 00", data(*m));
    ASSERT_TRUE(m->Decode());
    const auto ps = parameters(*m);
    EXPECT_EQ("T\374r vorn|T\374r hinten", texts(ps[1]));
    EXPECT_EQ("Stra\337e", texts(ps[3]));
    m->SetParameterTexts({u8"Zurück"}, status, index);
    EXPECT_EQ(QRN_TEXT_NOT_ENUM, status);
    m->SetParameterTexts({"0", "0", "0", u8"Straße"}, status, index);
    ASSERT_EQ(QRN_TEXT_OK, status);
    EXPECT_EQ("00 00 00 00 53 74 72 61 C3 9F 65 00", data(*m)) << "string bytes are not converted";
}

TEST_F(QuarnelCodePage, CharactersOutside1252ReadAsQuestionMarksWithAWarning) {
    const std::string text = u8R"(<FunctionCatalog Name="Griechisch">
  <FBlock ID="1" Name="Ω-Block"><Description>Lächeln 😀 &#x3A9;</Description></FBlock>
</FunctionCatalog>
)";
    const char* warning = "warning at line 2, column 24: character U+03A9 is not in code page 1252 and reads "
                          "as '?'; 3 characters replaced in all";
    ASSERT_EQ(QRN_OK, loadText(text)) << log();
    EXPECT_TRUE(logged(warning)) << log();
    EXPECT_EQ("?-Block", fblockNames("Griechisch"));
    EXPECT_EQ("L\344cheln ? ?", container("Griechisch", 1, -1, -1, 0)->GetFBlockDescription());

    // A catalog served from the cache still says so.
    mgr->SetOption(QRN_OPT_LOAD_CACHE);
    ASSERT_EQ(QRN_OK, load(tmp.path("catalog.xml").string()));
    ASSERT_EQ(QRN_OK, load(tmp.path("catalog.xml").string()));
    EXPECT_TRUE(logged("from the cache")) << log();
    EXPECT_TRUE(logged(warning)) << log();
    // A single character, from beyond the 16-bit range.
    ASSERT_EQ(
        QRN_OK,
        loadText(u8"<FunctionCatalog Name=\"E\"><Description>\U0010FFFD</Description></FunctionCatalog>"));
    EXPECT_TRUE(logged(
        "column 40: character U+10FFFD is not in code page 1252 and reads as '?'; 1 character replaced"))
        << log();
}

// File names are the bytes the file system takes: never converted either way (on Windows the
// bytes of the ANSI code page, where \200 is the euro sign and no C1 control).
TEST_F(QuarnelCodePage, FileNamesStayTheirBytes) {
    const std::string dir = nativeName(tmp.path(""));
    const std::string file = dir + "Katalog-\344\200.xml", copy = dir + "Kopie-\200.xml";
    const std::string log = dir + "Protokoll-\344.log";
    ASSERT_TRUE(writeNamedFile(file, kCatalog));
    ASSERT_TRUE(writeNamedFile(copy, kCatalog));
    std::string name;
    EXPECT_EQ(QRN_OK, mgr->LoadFCat(file, QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, log));
    EXPECT_NE(std::string::npos, readNamedFile(log).find("file: " + file + "\n")) << readNamedFile(log);

    // the loaded file's name as the library keeps it, in the message that names it
    EXPECT_EQ(QRN_ERR_NAME_TAKEN, mgr->LoadFCat(copy, QRN_LOAD_KEEP_NAME, name, QRN_LOG_REWRITE, log));
    EXPECT_NE(std::string::npos, readNamedFile(log).find("is already loaded from " + file + "\n"))
        << readNamedFile(log);
    EXPECT_EQ(QRN_OK, mgr->LoadFCat(file, QRN_LOAD_UNLOAD, name, QRN_LOG_NONE, ""));
}
