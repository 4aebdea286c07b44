#pragma once
// Basic types, export macro and constants of the catalog library.

#include <cstdint>
#include <string>

#if defined(_WIN32)
#if defined(QUARNEL_BUILD)
#define QUARNEL_API __declspec(dllexport)
#else
#define QUARNEL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define QUARNEL_API __attribute__((visibility("default")))
#else
#define QUARNEL_API
#endif

// Names one catalog manager; 0 is never a valid handle.
typedef std::uint32_t QRNHandle;

// Opaque set of integer attributes of a node, read with gQRTGetAttrInt.
struct KQRTAttrSet;
typedef const KQRTAttrSet* QRTAttrHandle;

// One record of a manager list: a name as the catalog spells it and its identifier.
struct IdName {
    std::string name;
    std::int32_t id = 0;
};

// Interface version implemented by this build (checked by gQRNIsCompatibleInterface).
enum { QRN_INTERFACE_MAJOR = 1, QRN_INTERFACE_MINOR = 52 };

// Instance argument meaning "any instance" (also written -1).
const std::uint32_t QRN_ANY_INSTANCE = 0xFFFFFFFFu;
// GetMessageContainer without a function or an OpType: the container of the FBlock or function.
const std::int32_t QRN_NO_ID = -1;

// List/lookup flag: 1 also finds FBlocks, functions and OpTypes the catalog marks as hidden.
enum { QRN_FLAG_WITH_HIDDEN = 1 };

// LoadFCat modes (second argument).
enum {
    QRN_LOAD_KEEP_NAME = 0, // fail when another file already holds a catalog of that name
    QRN_LOAD_REPLACE = 1,   // replace the catalog of the same file or the same name
    QRN_LOAD_UNLOAD = 2     // unload the catalog loaded from that file; nothing is read
};

// LoadFCat log modes (fourth argument).
enum {
    QRN_LOG_NONE = 0,    // write no log file
    QRN_LOG_REWRITE = 1, // create or truncate the log file
    QRN_LOG_APPEND = 2   // append to the log file
};

// LoadFCat results.
enum {
    QRN_OK = 0,
    QRN_ERR_ARGUMENT = 1,   // empty file name or an unknown mode
    QRN_ERR_FILE = 2,       // missing, unreadable or not a regular file
    QRN_ERR_XML = 3,        // not well-formed XML (or empty)
    QRN_ERR_CONTENT = 4,    // wrongly structured, bad or duplicate ids, missing names
    QRN_ERR_LIMIT = 5,      // file, nesting or size limits exceeded
    QRN_ERR_NAME_TAKEN = 6, // QRN_LOAD_KEEP_NAME and the name is loaded from another file
    QRN_ERR_NOT_LOADED = 7  // QRN_LOAD_UNLOAD of a file that is not loaded
};

// Manager option bits (SetOption).
enum {
    QRN_OPT_LOAD_CACHE = 0x10 // serve unchanged files (path, size, mtime) from the process-wide cache
};

// Message flag bits (KQRNMessage::SetFlags).
enum {
    QRN_MSG_ALLOW_SURPLUS = 0x100,  // Decode ignores bytes after the last parameter
    QRN_MSG_VALUE_CHOICES = 0x20000 // enum, boolean and error-code nodes list their choices as value texts
};

// KQRNMessage::SetWord: no element limit of the message's own.
enum { QRN_NO_ELEMENT_LIMIT = 0xFFFF };

// SetParameterTexts status values.
enum {
    QRN_TEXT_OK = 0,
    QRN_TEXT_TOO_FEW = 1,     // fewer tokens than parameters: the rest are zero
    QRN_TEXT_NOT_NUMBER = 10, // token is not a number
    QRN_TEXT_RANGE = 11,      // number outside the type's or the catalog's range, or off the step
    QRN_TEXT_NOT_ENUM = 12,   // neither a value name nor a code of the enum (or error codes)
    QRN_TEXT_NOT_BOOL = 13,   // not a boolean, or unknown bits of a bool field
    QRN_TEXT_STRING = 14,     // string longer than its maximum length
    QRN_TEXT_STREAM = 15,     // bad hexadecimal bytes or stream too long
    QRN_TEXT_TOO_MANY = 16    // more tokens than the message takes
};
// The refusals of one token (status QRN_TEXT_NOT_NUMBER to QRN_TEXT_STREAM) name it by index.
inline bool QRNRefusesToken(int status) { return status >= QRN_TEXT_NOT_NUMBER && status <= QRN_TEXT_STREAM; }

// Parameter type codes (KQRNNode::GetType).
enum {
    QRN_TYPE_UNDEFINED = 0,
    QRN_TYPE_ERROR = 1,
    QRN_TYPE_STREAM = 2,
    QRN_TYPE_STREAMCASE = 3,
    QRN_TYPE_ARRAY = 4,
    QRN_TYPE_RECORD = 5,
    QRN_TYPE_BOOLEAN = 6,
    QRN_TYPE_BOOLFIELD = 7,
    QRN_TYPE_NUMBER = 8,
    QRN_TYPE_ENUM = 9,
    QRN_TYPE_STRING = 10,
    QRN_TYPE_BITFIELD = 11,
    QRN_TYPE_VOID = 12,
    QRN_TYPE_FUNCTIONID = 13,
    QRN_TYPE_RAWSTREAM = 14
};

// Node kinds (KQRNNode::GetKind); codes not listed are not used.
enum {
    QRN_KIND_PARAMETER = 0, // parameter of the message
    QRN_KIND_FIELD = 1,     // field of a record
    QRN_KIND_ELEMENT = 2,   // element of an array
    QRN_KIND_CASE = 3,      // case of a stream
    QRN_KIND_POSITION = 5,  // position parameter of an array property (catalog role "position")
    QRN_KIND_LENGTH = 7,    // length or count derived from other data (role "length")
    QRN_KIND_RESERVED = 11, // reserved bits or bytes (role "reserved")
    QRN_KIND_PADDING = 12   // filler without meaning (role "padding")
};

// Computed integer attributes of nodes (gQRTGetAttrInt).
enum {
    QRN_ATTR_OFFSET = 1005, // byte offset in the message data, when it is fixed
    QRN_ATTR_SIZE = 1006,   // size in bytes, when it is fixed
    QRN_ATTR_ARRAY_MAX_INDEX = 1100,
    QRN_ATTR_CASE_INDEXED = 1300, // 1 when the stream case repeats
    QRN_ATTR_CASE_MAX_INDEX = 1301
};

// Function types (KQRNMessageContainer::GetFunctionType).
enum { QRN_FUNCTION_UNKNOWN = 0, QRN_FUNCTION_PROPERTY = 1, QRN_FUNCTION_METHOD = 2 };

// GetInfoTexts content bits.
enum {
    QRN_INFO_CODE = 0x01,       // the value's code or bit position
    QRN_INFO_NAME = 0x02,       // the value's name
    QRN_INFO_HEX = 0x10,        // codes in hexadecimal
    QRN_INFO_DESCRIPTION = 0x20 // the value's description, after " - "
};

// Size codes (KQRNDataNode::GetSizeCode, KQRNEnumNode::GetEnumSizeCode).
enum { QRN_SIZE_1_BYTE = 0, QRN_SIZE_2_BYTES = 1, QRN_SIZE_4_BYTES = 2 };

// Number types (KQRNNumberNode::GetNumberType): the unsigned ones first.
enum {
    QRN_NUMBER_UBYTE = 0,
    QRN_NUMBER_UWORD = 1,
    QRN_NUMBER_ULONG = 2,
    QRN_NUMBER_SBYTE = 3,
    QRN_NUMBER_SWORD = 4,
    QRN_NUMBER_SLONG = 5
};

// Function classes (KQRNMessageContainer::GetFunctionClass) run from 0 to this one.
enum { QRN_LAST_FUNCTION_CLASS = 29 };
