// Text reader: whatever it accepts must come back as text that converts to the same form again.

#include "CodePage.h"
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
    static const TCodePage gbk(QStringLiteral("GBK"));
    // Now and then raw 8-bit strings are decoded, as for a form moved to Unicode.
    const TCodePage* codePage = size % 3 == 0 ? &gbk : nullptr;
    QByteArray binary;
    TFormTextFormat found;
    try {
        binary = ObjectTextToBinary(input, &found, codePage);
    } catch (const Exception&) {
        return 0;
    }
    // From here on nothing may fail: the text reader accepted the form, so it can be written, in
    // either style and in the encoding it came in.
    for (const TFormTextStyle style : {TFormTextStyle::Current, TFormTextStyle::Legacy}) {
        const TFormTextFormat format{size % 2 ? TLineBreak::LF : TLineBreak::CRLF, style, found.Encoding};
        try {
            const QByteArray canonical = ObjectBinaryToText(binary, format);
            // Floats are written with fewer digits than they hold, so this binary may differ from
            // the first; from the canonical text on, nothing may change.
            if (ObjectBinaryToText(ObjectTextToBinary(canonical), format) != canonical)
                Fail("canonical text is not a fixed point", canonical.left(2000));
        } catch (const Exception& e) {
            Fail("accepted form does not convert back", e.Message.toUtf8());
        }
    }
    return 0;
}
