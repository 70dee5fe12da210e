// Live components: whatever form text loads into live components (placeholders, kept properties)
// must be written back to the very same binary stream when nothing was edited.

#include "Controls.h"
#include "Filer.h"
#include "FormStreams.h"
#include "SysUtils.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

[[noreturn]] void Fail(const char* what, const QByteArray& detail = {})
{
    fprintf(stderr, "kv_fuzz_resave: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", detail.constData());
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (RegisterControlClasses(), true);
    Q_UNUSED(registered);
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray binary;
    try {
        binary = FormFileToBinary(input);
    } catch (const Exception&) {
        return 0;
    }
    std::unique_ptr<TComponent> root;
    TFormReadOptions options;
    options.RootClass = &TForm::staticMetaObject;
    options.AnsiStrings = size % 2 == 0;
    try {
        root.reset(ReadFormAsWritten(binary, options));
    } catch (const Exception&) {
        return 0; // duplicate names and the like: refused whole
    }
    try {
        if (WriteComponentStream(root.get()) != binary)
            Fail("unedited form not written back as read", binary.toHex().left(2000));
    } catch (const Exception& e) {
        Fail("loaded form does not write", e.Message.toUtf8());
    }
    return 0;
}
