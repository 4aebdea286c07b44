// Two small catalogs for the selection tests: every level, a node of each kind, an array of
// records, an FBlock without functions; and a second catalog.
#pragma once

inline const char* const kCar = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Car">
  <FBlock ID="0x10" Name="Empty"/>
  <FBlock ID="0x52" Name="Navigation">
    <Function ID="0x002" Name="Route" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Target"><TNumber Type="UByte"/></Parameter></OPType>
      <OPType ID="0x1"/>
      <OPType ID="0xC">
        <Parameter Name="Count"><TNumber Type="UByte"/></Parameter>
        <Parameter Name="Mode"><TEnum><TEnumValue Code="0" Name="Fast"/><TEnumValue Code="1" Name="Short"/></TEnum></Parameter>
        <Parameter Name="Size" Role="length"><TNumber Type="UByte"/></Parameter>
        <Parameter Name="Spare" Role="reserved"><TNumber Type="UByte"/></Parameter>
        <Parameter Name="Name"><TString MaxLength="20"/></Parameter>
        <Parameter Name="Items">
          <TArray MaxIndex="9">
            <Parameter>
              <TRecord>
                <Parameter Name="Title"><TString MaxLength="8"/></Parameter>
                <Parameter Name="Level"><TNumber Type="UByte"/></Parameter>
              </TRecord>
            </Parameter>
          </TArray>
        </Parameter>
      </OPType>
    </Function>
    <Function ID="0x003" Name="Guide" Kind="Property">
      <OPType ID="0xF"><Parameter Name="ErrorCode"><TErrorCode/></Parameter></OPType>
    </Function>
    <Function ID="0x004" Name="Service" Kind="Property" Hidden="true">
      <OPType ID="0xC"><Parameter Name="Code"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
  </FBlock>
</FunctionCatalog>
)";

inline const char* const kRadio = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Radio">
  <FBlock ID="0x40" Name="Tuner">
    <Function ID="0x100" Name="Band" Kind="Property"><OPType ID="0xC"/></Function>
    <Function ID="0x101" Name="Seek" Kind="Method"/>
  </FBlock>
</FunctionCatalog>
)";

// A catalog without FBlocks.
inline const char* const kBlank = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Blank"/>
)";
