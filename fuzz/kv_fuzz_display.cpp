// Display package files, with the checksum made right so that mutations reach the content:
// what the reader accepts must save and read back to the same bytes, and what it refuses must
// leave a package that already holds sets, metrics and images exactly as it was.

#include "KvPkgDisplay.h"

#include <QGuiApplication>
#include <QtEndian>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

[[noreturn]] void Fail(const char* what, const QString& detail = {})
{
    fprintf(stderr, "kv_fuzz_display: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", qPrintable(detail));
    __builtin_trap();
}

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

std::unique_ptr<TKvPkgDisplay> Filled()
{
    auto pkg = std::make_unique<TKvPkgDisplay>(nullptr);
    pkg->SetDescription(QStringLiteral("before"));
    pkg->SetsColor()->Add(QStringLiteral("Kept"))->SetColor(TColor{0x123456});
    pkg->SetsBackGround()->Add(QStringLiteral("Back"))->SetStyle(bgsRadial);
    pkg->SetCWTitleHeight(31);
    pkg->SetHiWinRgn(true);
    pkg->SetUserColors({0xFF102030});
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    pkg->PkgUser()->Images()->Add(5)->SetGraphic(image);
    return pkg;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    FixChecksum(input);
    static const std::unique_ptr<TKvPkgDisplay> pkg = Filled();
    static const QByteArray before = pkg->SaveToBytes();
    try {
        pkg->LoadFromBytes(input, QStringLiteral("fuzz"));
    } catch (const Exception&) {
        if (pkg->SaveToBytes() != before)
            Fail("a refused file changed the package");
        return 0;
    }
    try {
        const QByteArray saved = pkg->SaveToBytes();
        TKvPkgDisplay copy(nullptr);
        copy.LoadFromBytes(saved, QStringLiteral("saved"));
        if (copy.SaveToBytes() != saved)
            Fail("a saved package reads back differently");
        // Back to the filled package for the next input.
        pkg->LoadFromBytes(before, QStringLiteral("before"));
    } catch (const Exception& e) {
        Fail("an accepted package does not save and read back", e.Message);
    }
    return 0;
}
