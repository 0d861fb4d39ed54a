// Encoding detection and conversion against RFC 3629 and the Windows-1250 chart
// (ReferenceFormat.h): which bytes are UTF-8, what Windows-1250 bytes read as, and which texts
// Windows-1250 can hold, as which bytes.
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "util/Encoding.h"
#include "util/Utf8Validation.h"

using namespace vyp;
using namespace vyp::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool valid = ReferenceIsUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(bytes) == valid);
    FUZZ_CHECK(IsValidUtf8Fast(bytes) == valid);
    FUZZ_CHECK(IsValidUtf8Plain(bytes) == valid);
    FUZZ_CHECK((DetectEncoding(bytes) == TextEncoding::Utf8) == valid);
    // ASCII reads the same in both encodings, and nothing else does.
    FUZZ_CHECK(IsAscii(bytes) == (ReferenceWindows1250ToUtf8(bytes) == bytes));

    FUZZ_CHECK(ToUtf8(bytes, TextEncoding::Windows1250) == ReferenceWindows1250ToUtf8(bytes));
    std::string utf8;
    AppendAsUtf8(bytes, TextEncoding::Utf8, utf8);
    FUZZ_CHECK(utf8 == bytes);
    FUZZ_CHECK(ToUtf8(bytes, TextEncoding::Utf8) == bytes);

    const std::optional<std::string> cp1250 = ReferenceUtf8ToWindows1250(bytes);
    std::string converted;
    FUZZ_CHECK(FromUtf8(bytes, TextEncoding::Windows1250, converted) == cp1250.has_value());
    if (cp1250)
        FUZZ_CHECK(converted == *cp1250);
    FUZZ_CHECK(FromUtf8(bytes, TextEncoding::Utf8, converted) == valid);
    if (valid)
        FUZZ_CHECK(converted == bytes);
    return 0;
}
