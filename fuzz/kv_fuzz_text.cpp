// Text reader: whatever it accepts must come back as text that converts to the same form again.

#include "FormStreams.h"
#include "SysUtils.h"

#include <cstdint>
#include <cstdio>

namespace {

[[noreturn]] void Fail(const char* what, const QByteArray& detail = {})
{
    fprintf(stderr, "kv_fuzz_text: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", detail.constData());
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Not copied: the reader must not look past the end of the input.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray binary;
    try {
        binary = ObjectTextToBinary(input);
    } catch (const Exception&) {
        return 0;
    }
    // From here on nothing may fail: the text reader accepted the form, so it can be written.
    try {
        const TLineBreak lineBreak = size % 2 ? TLineBreak::LF : TLineBreak::CRLF;
        const QByteArray canonical = ObjectBinaryToText(binary, lineBreak);
        // Extended and date values are written with fewer digits than they hold, so this binary may
        // differ from the first; from the canonical text on, nothing may change.
        if (ObjectBinaryToText(ObjectTextToBinary(canonical), lineBreak) != canonical)
            Fail("canonical text is not a fixed point", canonical.left(2000));
    } catch (const Exception& e) {
        Fail("accepted form does not convert back", e.Message.toUtf8());
    }
    return 0;
}
