// Encoding detection and conversion: whatever the bytes, detection agrees with validity, every
// conversion gives valid UTF-8, and Windows-1250 text survives the way there and back.
#include "FuzzSupport.h"

#include "util/Encoding.h"
#include "util/Utf8Validation.h"

using namespace vyp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool valid = IsValidUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8Plain(bytes) == valid); // the fast check and the plain one agree
    FUZZ_CHECK((DetectEncoding(bytes) == TextEncoding::Utf8) == valid);
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    FUZZ_CHECK(IsAscii(bytes) == ascii);
    if (ascii)
        FUZZ_CHECK(valid);

    const std::string fromCp1250 = ToUtf8(bytes, TextEncoding::Windows1250);
    FUZZ_CHECK(IsValidUtf8(fromCp1250));
    std::string back;
    if (FromUtf8(fromCp1250, TextEncoding::Windows1250, back))
        FUZZ_CHECK(back == bytes);
    if (valid) {
        FUZZ_CHECK(ToUtf8(bytes, TextEncoding::Utf8) == bytes);
        std::string same;
        FUZZ_CHECK(FromUtf8(bytes, TextEncoding::Utf8, same) && same == bytes);
        std::string cp1250;
        if (FromUtf8(bytes, TextEncoding::Windows1250, cp1250))
            FUZZ_CHECK(ToUtf8(cp1250, TextEncoding::Windows1250) == bytes);
    } else {
        std::string refused;
        FUZZ_CHECK(!FromUtf8(bytes, TextEncoding::Windows1250, refused));
    }
    return 0;
}
