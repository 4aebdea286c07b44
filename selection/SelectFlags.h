// The flag word a host gives KMXSSelection::SelectObject: what the selection dialog offers and
// how it reports.
#pragma once

enum KMXSSelectFlag : unsigned {
    kSelectModal = 0x01,                  // modal dialog; modeless without it
    kSelectTreeVariant = 0x04,            // the tree's style variant
    kSelectReportOpTypes = 0x08,          // report at OpType level
    kSelectAddressMode = 0x10,            // choose catalog objects (FBlocks to OpTypes)
    kSelectDetails = 0x40,                // the details area
    kSelectSignalMode = 0x80,             // choose a signal (a parameter)
    kSelectFixedSignal = 0x100,           // show one given signal, locked
    kSelectStringsAndStreams = 0x200,     // strings and raw streams are selectable
    kSelectPredefined = 0x400,            // the predefined objects
    kSelectNoInstanceRow = 0x800          // no instance and channel row
};
