// Binary reader (plain and resource-wrapped): whatever it turns into text must load again as
// text and give the same text back.

#include "FormStreams.h"
#include "SysUtils.h"

#include <cstdint>
#include <cstdio>

namespace {

[[noreturn]] void Fail(const char* what, const QByteArray& detail = {})
{
    fprintf(stderr, "kv_fuzz_binary: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", detail.constData());
    __builtin_trap();
}

void Check(const QByteArray& text, TLineBreak lineBreak, TFormTextStyle style)
{
    try {
        if (ObjectBinaryToText(ObjectTextToBinary(text), lineBreak, style) != text)
            Fail("text written from binary does not come back", text.left(2000));
    } catch (const Exception& e) {
        Fail("text written from binary does not load", e.Message.toUtf8() + "\n" + text.left(2000));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Not copied: the reader must not look past the end of the input.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Legacy floats have 15 digits, which come back the same; so do all strings.
    const TFormTextStyle style = size % 2 ? TFormTextStyle::Legacy : TFormTextStyle::Current;
    try {
        Check(ObjectBinaryToText(input, TLineBreak::CRLF, style), TLineBreak::CRLF, style);
    } catch (const Exception&) {
    }
    if (input.startsWith("TPF0"))
        return 0; // the resource reader would pass it on unchanged
    try {
        Check(ObjectResourceToText(input, TLineBreak::LF, style), TLineBreak::LF, style);
    } catch (const Exception&) {
    }
    return 0;
}
