#include "KvStringsExchange.h"

#include "KvFiles.h"
#include "KvPkgStrings.h"

#include <algorithm>

namespace {

template <class TList>
void Collect(const TList* List, std::vector<TKvStringsRecord>& Records)
{
    const int Count = List->Count();
    Records.reserve(size_t(Count));
    for (int I = 0; I < Count; ++I) {
        const auto* Item = List->GetItems(I);
        TKvStringsRecord R;
        R.Id = Item->Id();
        R.Text = Item->Text();
        if constexpr (std::is_same_v<TList, TKvPkgStringsLabels>)
            R.Hint = Item->Hint();
        R.Protected = Item->Protected();
        Records.push_back(std::move(R));
    }
}

// Builds the new list apart and swaps it in, so that a refused record leaves the package whole.
template <class TList>
void Replace(TList* Target, const std::vector<TKvStringsRecord>& Records)
{
    TList Fresh(nullptr);
    Fresh.Reserve(int(Records.size()));
    for (const TKvStringsRecord& R : Records) {
        if constexpr (std::is_same_v<TList, TKvPkgStringsLabels>)
            Fresh.Add(R.Id, R.Text, R.Hint)->SetProtected(R.Protected);
        else
            Fresh.Add(R.Id, R.Text)->SetProtected(R.Protected);
    }
    Target->Swap(Fresh);
}

} // namespace

std::vector<TKvStringsRecord> KvStringsRecords(TKvStringsKind Kind, const TKvPkgStrings* Pkg)
{
    std::vector<TKvStringsRecord> Records;
    if (!Pkg)
        return Records;
    switch (Kind) {
    case TKvStringsKind::Labels: Collect(Pkg->Labels(), Records); break;
    case TKvStringsKind::Messages: Collect(Pkg->Messages(), Records); break;
    case TKvStringsKind::Texts: Collect(Pkg->Texts(), Records); break;
    }
    std::sort(Records.begin(), Records.end(), [](const auto& A, const auto& B) { return A.Id < B.Id; });
    return Records;
}

QByteArray KvStringsExportData(TKvStringsKind Kind, const TKvPkgStrings* Pkg)
{
    return KvStringsFormatExchange(KvStringsRecords(Kind, Pkg), Kind == TKvStringsKind::Labels);
}

void KvStringsExport(TKvStringsKind Kind, const TKvPkgStrings* Pkg, const QString& FileName)
{
    KvWriteFile(FileName, KvStringsExportData(Kind, Pkg));
}

void KvStringsReplace(TKvStringsKind Kind, TKvPkgStrings* Pkg, const std::vector<TKvStringsRecord>& Records)
{
    switch (Kind) {
    case TKvStringsKind::Labels: Replace(Pkg->Labels(), Records); break;
    case TKvStringsKind::Messages: Replace(Pkg->Messages(), Records); break;
    case TKvStringsKind::Texts: Replace(Pkg->Texts(), Records); break;
    }
    Pkg->SetModified(true);
}

void KvStringsImport(TKvStringsKind Kind, TKvPkgStrings* Pkg, const QString& FileName)
{
    if (!Pkg)
        return;
    KvStringsReplace(Kind, Pkg, KvStringsParseExchange(KvReadFile(FileName), Kind == TKvStringsKind::Labels, FileName));
}
