// Live components, read as `kvtool form resave` reads them: placeholders and kept properties, data
// access components, an ancestor form, frames placed inline, raw 8-bit strings in a code page.
// Whatever loads must be written back to the very same binary stream when nothing was edited, and
// that stream must write in the shape the form came in.
//
// The input is a form file (text, binary or resource), optionally followed by its ancestor's form
// (may be empty) and then by the form every inline frame opens on, the parts separated by lines
// "----".

#include "CodePage.h"
#include "Controls.h"
#include "DB.h"
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

QList<QByteArray> Parts(const QByteArray& input)
{
    static const QByteArray separator("\n----\n");
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype at; parts.size() < 2 && (at = input.indexOf(separator, from)) >= 0; from = at + separator.size())
        parts << input.sliced(from, at - from);
    parts << input.sliced(from);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (RegisterControlClasses(), RegisterDBClasses(), true);
    Q_UNUSED(registered);
    // Made once: making a code page asks ICU. The default one (Windows-1252) is the reader's own.
    static const std::shared_ptr<const TCodePage> codePages[] = {
        nullptr, std::make_shared<const TCodePage>(QStringLiteral("GBK")),
        std::make_shared<const TCodePage>(QStringLiteral("Shift_JIS"))};
    const QList<QByteArray> parts = Parts(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    TFormFileShape shape;
    QByteArray binary;
    TFormReadOptions options;
    try {
        binary = FormFileToBinary(parts[0], &shape);
        if (parts.size() > 1 && !parts[1].isEmpty())
            options.Ancestors << FormFileToBinary(parts[1]);
    } catch (const Exception&) {
        return 0;
    }
    options.RootClass = &TForm::staticMetaObject;
    options.CodePage = codePages[size % 3];
    options.AnsiStrings = shape.Text.Style == TFormTextStyle::Legacy;
    if (parts.size() > 2)
        options.FindFrame = [&](const QString&) { return parts[2]; };
    std::unique_ptr<TComponent> root;
    try {
        root.reset(ReadFormAsWritten(binary, options));
    } catch (const Exception&) {
        return 0; // duplicate names and the like: refused whole
    }
    try {
        const QByteArray written = WriteComponentStream(root.get());
        // An inherited component is of its ancestor's class, whatever class the descendant names
        // in its header (files saved apart): that name is written as the ancestor has it, and from
        // then on nothing changes.
        const QByteArray expected = options.Ancestors.isEmpty() ? binary : [&] {
            const std::unique_ptr<TComponent> again(ReadFormAsWritten(written, options));
            return WriteComponentStream(again.get());
        }();
        if (written != expected)
            Fail("unedited form not written back as read", expected.toHex().left(2000) + "\n" + written.toHex().left(2000));
        BinaryToFormFile(written, shape);
    } catch (const Exception& e) {
        Fail("loaded form does not write or read again", e.Message.toUtf8());
    }
    return 0;
}
