// Package file readers: the first byte picks the kind, the rest is the file. What a reader
// accepts must save and read back to the same bytes; what it refuses must leave the package as
// it was. KV_FUZZ_PACKAGE_KIND (strings, images, display, language, setup, variables or
// privileges) holds every input to one kind, so that a run spends its time on that reader.

#include "KvPkgDisplay.h"
#include "KvPkgImages.h"
#include "KvPkgLanguage.h"
#include "KvPkgPrivileges.h"
#include "KvPkgSetup.h"
#include "KvPkgStrings.h"
#include "KvPkgVars.h"

#include <QGuiApplication>
#include <QtEndian>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The kind every input is read as, or -1 when the first byte picks it.
int PinnedKind = -1;

[[noreturn]] void Fail(const char* what, const QString& detail = {})
{
    fprintf(stderr, "kv_fuzz_packages: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", qPrintable(detail));
    __builtin_trap();
}

std::unique_ptr<TKvPkgInfo> Make(uint8_t kind)
{
    switch (PinnedKind >= 0 ? PinnedKind : kind % 7) {
    case 0: return std::make_unique<TKvPkgStrings>(nullptr);
    case 1: return std::make_unique<TKvPkgImages>(nullptr);
    case 2: return std::make_unique<TKvPkgDisplay>(nullptr);
    case 3: return std::make_unique<TKvPkgLanguage>(nullptr);
    case 4: return std::make_unique<TKvPkgSetup>(nullptr);
    case 5: return std::make_unique<TKvPkgVars>(nullptr);
    default: return std::make_unique<TKvPkgPrivileges>(nullptr);
    }
}

// With the kind byte's high bit set the file's checksum is made right first, so that mutations
// reach the content readers instead of stopping at the checksum.
void FixChecksum(QByteArray& Data)
{
    if (Data.size() < 4)
        return;
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < Data.size() - 4; ++i) {
        crc ^= quint8(Data.at(i));
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    qToLittleEndian(crc ^ 0xFFFFFFFFu, Data.data() + Data.size() - 4);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Display packages hold fonts and colours, which need the GUI side of Qt.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    if (const char* pinned = getenv("KV_FUZZ_PACKAGE_KIND")) {
        static const char* const Kinds[] = {"strings", "images", "display", "language", "setup", "variables",
                                            "privileges"};
        for (int k = 0; k < 7; ++k)
            if (strcmp(pinned, Kinds[k]) == 0)
                PinnedKind = k;
        if (PinnedKind < 0)
            Fail("KV_FUZZ_PACKAGE_KIND names no package kind", QString::fromLocal8Bit(pinned));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] & 0x80) {
        input.detach();
        FixChecksum(input);
    }
    std::unique_ptr<TKvPkgInfo> pkg = Make(data[0]);
    const QByteArray empty = pkg->SaveToBytes();
    try {
        pkg->LoadFromBytes(input, QStringLiteral("fuzz"));
    } catch (const Exception&) {
        if (pkg->SaveToBytes() != empty)
            Fail("a refused file changed the package");
        return 0;
    }
    try {
        const QByteArray saved = pkg->SaveToBytes();
        std::unique_ptr<TKvPkgInfo> copy = Make(data[0]);
        copy->LoadFromBytes(saved, QStringLiteral("saved"));
        if (copy->SaveToBytes() != saved)
            Fail("a saved package reads back differently");
    } catch (const Exception& e) {
        Fail("an accepted package does not save and read back", e.Message);
    }
    return 0;
}
