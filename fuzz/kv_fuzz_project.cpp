// Project file reader: any text either loads or raises a parser error naming a line of it.

#include "KvProject.h"
#include "SysUtils.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    TKvProject project;
    try {
        project.Load(QStringLiteral("/nonexistent/fuzz/P.dpr"), text);
    } catch (const EParserError& e) {
        if (e.Line < 1 || e.Line > text.count(u'\n') + text.count(u'\r') + 1) {
            fprintf(stderr, "kv_fuzz_project: error on line %d of a %lld-line text\n", e.Line,
                    static_cast<long long>(text.count(u'\n') + 1));
            __builtin_trap();
        }
        return 0;
    } catch (const Exception&) {
        return 0;
    }
    for (int i = 0; i < project.GetModuleCount(); ++i)
        if (project.GetModule(i)->FileName().isEmpty())
            __builtin_trap();
    return 0;
}
