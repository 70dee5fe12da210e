// Strings exchange files (comma-separated). The first input byte picks what is checked: bit 0
// whether the list has hints (labels); bit 1 clear reads the rest as a file, which, when
// accepted, must write back and read again to the same records and the same bytes; bit 1 set
// splits the rest at byte 0x01 into fields, which must come back from one written record.

#include "KvStringsCsv.h"

#include <cstdint>
#include <cstdio>

namespace {

[[noreturn]] void Fail(const char* what)
{
    fprintf(stderr, "kv_fuzz_exchange: %s\n", what);
    __builtin_trap();
}

void CheckFile(const QByteArray& Data, bool HasHint)
{
    std::vector<TKvStringsRecord> Records;
    try {
        Records = KvStringsParseExchange(Data, HasHint, QStringLiteral("fuzz.txt"));
    } catch (const EKvExchangeError& E) {
        if (!E.Message.startsWith(QStringLiteral("fuzz.txt:")))
            Fail("an error does not name the file");
        return;
    }
    const QByteArray Written = KvStringsFormatExchange(Records, HasHint);
    std::vector<TKvStringsRecord> Again;
    try {
        Again = KvStringsParseExchange(Written, HasHint, QStringLiteral("again.txt"));
    } catch (const EKvExchangeError&) {
        Fail("a written file is refused");
    }
    if (Again != Records)
        Fail("records change on a second reading");
    if (KvStringsFormatExchange(Again, HasHint) != Written)
        Fail("bytes change on a second writing");
}

void CheckFields(const QByteArray& Data)
{
    const QStringList Fields = QString::fromUtf8(Data).split(QChar(1));
    QString Line;
    KvCsvAppendRecord(Line, Fields);
    TKvCsvReader Reader(Line);
    QStringList Read;
    try {
        if (!Reader.Next(Read) || Read != Fields)
            Fail("fields change through one record");
        if (Reader.Next(Read))
            Fail("one record reads as more");
    } catch (const EKvExchangeError&) {
        Fail("a written record is refused");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray Rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] & 2)
        CheckFields(Rest);
    else
        CheckFile(Rest, data[0] & 1);
    return 0;
}
