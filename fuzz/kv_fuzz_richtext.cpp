// Rich text reader: any input either reads or raises an error whose offset lies in the input;
// what it reads writes out as text that reads back to the same document and the same text.

#include "KvRichText.h"
#include "SysUtils.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

void Fail(const char* What)
{
    fprintf(stderr, "kv_fuzz_richtext: %s\n", What);
    __builtin_trap();
}

QString Visible(QString Text)
{
    return Text.remove(QChar::ObjectReplacementCharacter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "kv_fuzz_richtext";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    // A file's bytes, one character each, as the editor loads them.
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<QTextDocument> doc;
    try {
        doc.reset(KvReadRichText(text));
    } catch (const EReadError& e) {
        if (e.Offset < 0 || e.Offset > text.size())
            Fail("error offset outside the input");
        return 0;
    }
    const QString written = KvWriteRichText(*doc);
    std::unique_ptr<QTextDocument> back;
    try {
        back.reset(KvReadRichText(written));
    } catch (const EReadError& e) {
        fprintf(stderr, "%s\n", e.what());
        Fail("the written text does not read back");
    }
    if (Visible(back->toPlainText()) != Visible(doc->toPlainText()))
        Fail("the text read back differs");
    const QString again = KvWriteRichText(*back);
    if (again != written) {
        fprintf(stderr, "--- written:\n%s\n--- written again:\n%s\n", qPrintable(written), qPrintable(again));
        Fail("writing again gives another text");
    }
    return 0;
}
